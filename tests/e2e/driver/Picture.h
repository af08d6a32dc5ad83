// What the X server shows of a window: its pixels as the user sees them, read with xwd through the
// window's own colormap (each Wine process has one on the 8-bit display).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct Rgb
{
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

struct Picture
{
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels; // row by row from the top

    const Rgb& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The whole window as the X server shows it: without a window manager the X window holds the whole
// window, frame and menu included. False, with the reason in error, when no picture could be taken.
bool CaptureWindow(HWND window, Picture& picture, std::string& error);

// The window's client area, cut out of the picture of the whole window.
bool CaptureClientArea(HWND window, Picture& picture, std::string& error);

// Writes the picture as a binary PPM file (for a look at a failure).
void SavePicture(const Picture& picture, const std::string& path);
