// Each formula below takes and gives components from 0 to 1 unless it says otherwise; the last step
// of each is ToByte: clamp to 0..1, times 255, rounded to the nearest integer.
#include "formats/ColourSpaces.h"

#include <cmath>

namespace
{
std::uint8_t ToByte(double value)
{
    if (!(value > 0)) // also a NaN
        return 0;
    if (value >= 1)
        return 255;
    return static_cast<std::uint8_t>(std::lround(value * 255));
}

// The sRGB transfer function: v' = 12.92 v for v <= 0.0031308, else 1.055 v^(1/2.4) - 0.055.
double SrgbGamma(double linear)
{
    return linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
}
} // namespace

// R = (1 - C)(1 - K), G = (1 - M)(1 - K), B = (1 - Y)(1 - K).
Srgb8 CmykToSrgb(double cyan, double magenta, double yellow, double black)
{
    return {ToByte((1 - cyan) * (1 - black)), ToByte((1 - magenta) * (1 - black)), ToByte((1 - yellow) * (1 - black))};
}

// Lab (D50) to XYZ (D50):  fy = (L* + 16) / 116,  fx = fy + a* / 500,  fz = fy - b* / 200,
//   X = 0.96422 f⁻¹(fx),  Y = 1.00000 f⁻¹(fy),  Z = 0.82521 f⁻¹(fz),
//   where f⁻¹(t) = t³ for t > 6/29, else 3 (6/29)² (t - 4/29).
// XYZ (D50) to XYZ (D65), the Bradford adaptation:
//   [X65]   [ 0.9555766 -0.0230393  0.0631636] [X50]
//   [Y65] = [-0.0282895  1.0099416  0.0210077] [Y50]
//   [Z65]   [ 0.0122982 -0.0204830  1.3299098] [Z50]
// XYZ (D65) to linear sRGB:
//   [R]   [ 3.2404542 -1.5371385 -0.4985314] [X65]
//   [G] = [-0.9692660  1.8760108  0.0415560] [Y65]
//   [B]   [ 0.0556434 -0.2040259  1.0572252] [Z65]
// then the sRGB transfer function on each of R, G and B (clamped to 0..1 first).
Srgb8 LabToSrgb(double lightness, double a, double b)
{
    const auto inverse = [](double t) {
        constexpr double delta = 6.0 / 29.0;
        return t > delta ? t * t * t : 3 * delta * delta * (t - 4.0 / 29.0);
    };
    const double fy = (lightness + 16) / 116;
    const double x50 = 0.96422 * inverse(fy + a / 500);
    const double y50 = 1.00000 * inverse(fy);
    const double z50 = 0.82521 * inverse(fy - b / 200);

    const double x = 0.9555766 * x50 - 0.0230393 * y50 + 0.0631636 * z50;
    const double y = -0.0282895 * x50 + 1.0099416 * y50 + 0.0210077 * z50;
    const double z = 0.0122982 * x50 - 0.0204830 * y50 + 1.3299098 * z50;

    const auto encode = [](double linear) { return ToByte(SrgbGamma(linear < 0 ? 0 : linear > 1 ? 1 : linear)); };
    return {encode(3.2404542 * x - 1.5371385 * y - 0.4985314 * z),
            encode(-0.9692660 * x + 1.8760108 * y + 0.0415560 * z),
            encode(0.0556434 * x - 0.2040259 * y + 1.0572252 * z)};
}

// C = V S,  H' = (H mod 360) / 60,  X = C (1 - |H' mod 2 - 1|),  m = V - C;
// (R, G, B) = (C, X, 0) for 0 <= H' < 1, (X, C, 0) for H' < 2, (0, C, X) for H' < 3,
//             (0, X, C) for H' < 4, (X, 0, C) for H' < 5, (C, 0, X) for H' < 6; each plus m.
Srgb8 HsbToSrgb(double hue, double saturation, double brightness)
{
    double h = std::fmod(hue, 360.0);
    if (!(h >= 0)) // negative, or a NaN
        h = std::isnan(h) ? 0 : h + 360;
    const double sector = h / 60;
    const double c = brightness * saturation;
    const double x = c * (1 - std::fabs(std::fmod(sector, 2.0) - 1));
    const double m = brightness - c;
    double r = c, g = 0, b = x; // 5 <= H' < 6
    if (sector < 1)
        r = c, g = x, b = 0;
    else if (sector < 2)
        r = x, g = c, b = 0;
    else if (sector < 3)
        r = 0, g = c, b = x;
    else if (sector < 4)
        r = 0, g = x, b = c;
    else if (sector < 5)
        r = x, g = 0, b = c;
    return {ToByte(r + m), ToByte(g + m), ToByte(b + m)};
}

// R = G = B = the level.
Srgb8 GrayToSrgb(double level)
{
    const std::uint8_t value = ToByte(level);
    return {value, value, value};
}
