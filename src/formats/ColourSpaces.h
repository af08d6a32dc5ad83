// The colour spaces that swatch files give colours in, turned into the sRGB that every palette holds.
// Without a colour profile these are approximations: the formulas are the common textbook ones.
#pragma once

#include <cstdint>

struct Srgb8
{
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

// Ink amounts from 0 (none) to 1 (full), by the naive formula without a profile.
Srgb8 CmykToSrgb(double cyan, double magenta, double yellow, double black);
// CIE L*a*b* relative to the D50 white: L* from 0 to 100, a* and b* about -128 to 127.
Srgb8 LabToSrgb(double lightness, double a, double b);
// Hue in degrees (any, taken modulo 360), saturation and brightness from 0 to 1.
Srgb8 HsbToSrgb(double hue, double saturation, double brightness);
// A grey level from 0 (black) to 1 (white).
Srgb8 GrayToSrgb(double level);
