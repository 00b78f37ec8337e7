#pragma once

class QLabel;
class StatusModel;

// From now on `label` shows `status`: its word, in its colour. The model must outlive the label's
// use of it.
void showStatusOn(QLabel& label, StatusModel& status);
