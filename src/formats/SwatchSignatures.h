// The signatures of the swatch formats and of an Aseprite sprite, for detection by content: true when
// the bytes start as a file of that format does.
#pragma once

#include <cstddef>
#include <cstdint>

// "ASEF" and version 1.
bool LooksLikeAse(const std::uint8_t* data, std::size_t size);
// Version 1 (or a file of version 2 alone) with a colour count whose colours fit the file, and a
// first colour space that Photoshop writes.
bool LooksLikeAco(const std::uint8_t* data, std::size_t size);
// A ZIP whose first entry is a stored "mimetype" holding "krita/x-colorset".
bool LooksLikeKpl(const std::uint8_t* data, std::size_t size);
// The magic number 0xA5E0 at byte 4 and the frame magic 0xF1FA at byte 134.
bool LooksLikeAseprite(const std::uint8_t* data, std::size_t size);
