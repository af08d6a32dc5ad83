// Whole numbers as text in the few layouts the program shows (the readout's title, the dump's lines
// and time stamp), free of Win32 and of the C runtime's printf, whose floating-point machinery none of
// those texts needs.
#pragma once

#include <cstdint>
#include <string>

// printf's "%*d" with fill ' ' or "%0*d" with fill '0': the value in decimal, at least width
// characters, filled on the left; zeros go after a minus sign, spaces before it.
void AppendDecimal(std::string& text, int value, int width = 0, char fill = ' ');

// printf's "%0*X": the value in upper-case hexadecimal, at least width digits, filled with zeros.
void AppendHex(std::string& text, std::uint32_t value, int width = 0);
