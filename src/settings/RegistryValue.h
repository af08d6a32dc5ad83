// What a registry value's type and bytes mean to the settings, free of Win32, so that every type and
// length another program may have stored can be tried without a registry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The registry's own type codes (REG_SZ, REG_DWORD): fixed by the registry format on every version.
inline constexpr std::uint32_t kRegistryText = 1;
inline constexpr std::uint32_t kRegistryNumber = 4;

// Texts longer than this are refused (read as absent): more than any value Windows 95 keeps.
inline constexpr std::uint32_t kMaxRegistryTextBytes = 64 * 1024;

// A number only from a REG_DWORD of exactly four bytes (little-endian); nothing from any other type or
// length. Reads no more than size bytes.
std::optional<std::int32_t> NumberFromRegistryValue(std::uint32_t type, const void* data, std::size_t size);

// Whether a value of this type and byte count can be a text; the reader asks before it gets the bytes.
bool IsRegistryTextValue(std::uint32_t type, std::size_t size);

// The text of a REG_SZ value: its bytes up to the first NUL, or all of them, since a value need not end
// in a NUL. Nothing when IsRegistryTextValue refuses the value. Reads no more than size bytes.
std::optional<std::string> TextFromRegistryValue(std::uint32_t type, const void* data, std::size_t size);
