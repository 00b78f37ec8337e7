#pragma once

#include <string>

// The program's folder: its data folder, share/sorvinta beside the folder that holds the
// executable. The build tree keeps the same layout (build/<dir>/app/sorvinta and
// build/<dir>/share/sorvinta), so one rule finds the help file before and after install.
// No trailing "/".
std::string programFolder();
