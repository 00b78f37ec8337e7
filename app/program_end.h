#pragma once

class Form1;

// The program ends when its main window has closed, even while other windows of its own (help
// or a message the help engine left) are still open: they go with it.
void endProgramWith(Form1& form);
