#pragma once

class XP_ProgressBar;

// What assistive tools see of the progress bar: a progress bar with its value between Min and
// Max, named by its accessible name.

// Makes the description known to Qt's accessibility; once per program is enough.
void installProgressBarAccessibility();

// Tell assistive tools that the value changed.
void notifyProgressBarValue(XP_ProgressBar* bar);
