// The ZIP container of the formats kept as several files in one (a Krita palette): its central
// directory read and checked, stored and deflated entries taken out, and new ZIPs written. Encrypted
// entries, ZIP64 and archives over several disks are refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ZipFault
{
    std::size_t offset; // in the ZIP's bytes
    std::string expected;
};

struct ZipEntry
{
    std::string name;
    std::uint16_t method = 0; // 0 stored, 8 deflated
    std::uint32_t crc = 0;
    std::size_t packedSize = 0;
    std::size_t size = 0;
    std::size_t headerOffset = 0; // of its local header
    std::size_t dataOffset = 0;   // of its bytes after the local header
};

struct ZipDirectory
{
    std::vector<ZipEntry> entries; // in the central directory's order
    std::optional<ZipFault> fault;
};

// The entries the central directory lists, each checked against its local header and the file.
ZipDirectory ReadZipDirectory(const std::uint8_t* data, std::size_t size);
// The entry's bytes, inflated where deflated, checked against its size and CRC; none on a fault.
std::optional<std::vector<std::uint8_t>> ReadZipEntry(const std::uint8_t* data, const ZipEntry& entry, ZipFault& fault);

struct ZipFile
{
    std::string name;
    std::vector<std::uint8_t> bytes;
    bool deflate;
};

// A ZIP of the files in order, each stored or deflated.
std::vector<std::uint8_t> WriteZip(const std::vector<ZipFile>& files);
