#pragma once

#include <cstdint>
#include <string>

class MessageBox;

// Checks and normalises an offset text "(x,y)" in place. Missing parentheses, a missing part
// and blanks are repaired first; then both parts must be decimal numbers (an optional sign and
// fraction; fractions round halves to even) in -32768..32767. On success the text becomes
// "(x,y)" in plain decimal and x and y take the values. On a fault the user is told in a
// message box and false is returned; the text stays as far as it was repaired, and x keeps a
// value already stored when only y is out of range.
bool ParseCartesian(std::string& text, std::int16_t& x, std::int16_t& y, MessageBox& messages);

inline constexpr const char* kCartesianTitle = "Cartesian Co-ordinates Validation";
