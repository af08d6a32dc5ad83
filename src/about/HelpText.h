// The text that a text resource's bytes stand for, free of Win32.
#pragma once

#include <cstddef>
#include <string>

// The bytes up to the resource's size or an earlier NUL. A trailing 0x02 is a resource editor's end
// mark, not text: it is dropped, unless the resource starts with NUL (then the text is empty anyway).
std::string TextFromResourceBytes(const char* data, std::size_t size);
