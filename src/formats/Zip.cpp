// The layout: per entry a local header (30 bytes, the name, an extra field) and its bytes; then the
// central directory, one 46-byte header with name, extra field and comment per entry; then the end
// record (22 bytes and a comment). All little-endian.
#include "formats/Zip.h"

#include "palette/LittleEndian.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace
{
constexpr std::uint32_t kLocalSignature = 0x04034B50;
constexpr std::uint32_t kCentralSignature = 0x02014B50;
constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr std::size_t kLocalSize = 30;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kEndSize = 22;
constexpr std::uint16_t kEncrypted = 0x0001 | 0x0040; // traditional and strong encryption
constexpr std::uint16_t kUtf8Names = 0x0800;
constexpr std::uint16_t kDosDate = 1 << 5 | 1; // 1980-01-01, the earliest a ZIP holds

void PutLe16(std::vector<std::uint8_t>& out, std::size_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutLe32(std::vector<std::uint8_t>& out, std::size_t value)
{
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16 & 0xFFFF);
}

ZipDirectory Fail(std::size_t offset, std::string expected)
{
    return {{}, ZipFault{offset, std::move(expected)}};
}

std::uint32_t Crc(const std::vector<std::uint8_t>& bytes)
{
    uLong crc = crc32(0, Z_NULL, 0);
    for (std::size_t at = 0; at < bytes.size();)
    {
        const uInt chunk = static_cast<uInt>(std::min<std::size_t>(bytes.size() - at, 1u << 30));
        crc = crc32(crc, bytes.data() + at, chunk);
        at += chunk;
    }
    return static_cast<std::uint32_t>(crc);
}

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& bytes)
{
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::vector<std::uint8_t> packed(deflateBound(&stream, static_cast<uLong>(bytes.size())));
    stream.next_in = const_cast<Bytef*>(bytes.data());
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = packed.data();
    stream.avail_out = static_cast<uInt>(packed.size());
    deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    return packed;
}
} // namespace

ZipDirectory ReadZipDirectory(const std::uint8_t* data, std::size_t size)
{
    // The end record is the last thing in the file: found from the end, over a comment of up to 64 KiB.
    if (size < kEndSize)
        return Fail(size, "a ZIP's end record (22 bytes)");
    std::size_t end = size - kEndSize;
    for (;; --end)
    {
        if (Get32(data + end) == kEndSignature && end + kEndSize + Get16(data + end + 20) == size)
            break;
        if (end == 0 || size - kEndSize - end >= 0xFFFF)
            return Fail(size, "a ZIP's end record");
    }
    if (end >= 20 && Get32(data + end - 20) == kZip64LocatorSignature)
        return Fail(end - 20, "a ZIP without ZIP64 records (vexapal reads no ZIP64)");
    const std::size_t count = Get16(data + end + 10);
    const std::uint32_t directorySize = Get32(data + end + 12);
    const std::uint32_t directoryOffset = Get32(data + end + 16);
    if (Get16(data + end + 4) != 0 || Get16(data + end + 6) != 0 || Get16(data + end + 8) != count)
        return Fail(end + 4, "a ZIP on one disk");
    if (count == 0xFFFF || directorySize == 0xFFFFFFFF || directoryOffset == 0xFFFFFFFF)
        return Fail(end + 10, "a ZIP without ZIP64 records (vexapal reads no ZIP64)");
    if (directoryOffset > end || directorySize != end - directoryOffset)
        return Fail(end + 12, "a central directory that ends where the end record starts");

    ZipDirectory directory;
    std::size_t at = directoryOffset;
    for (std::size_t i = 0; i < count; ++i)
    {
        if (end - at < kCentralSize || Get32(data + at) != kCentralSignature)
            return Fail(at, "the central directory's header of entry " + std::to_string(i + 1));
        ZipEntry entry;
        const std::uint16_t flags = Get16(data + at + 8);
        entry.method = Get16(data + at + 10);
        entry.crc = Get32(data + at + 16);
        const std::uint32_t packed = Get32(data + at + 20), unpacked = Get32(data + at + 24);
        const std::size_t nameLength = Get16(data + at + 28);
        const std::size_t extraLength = Get16(data + at + 30), commentLength = Get16(data + at + 32);
        const std::uint32_t header = Get32(data + at + 42);
        if (end - at - kCentralSize < nameLength + extraLength + commentLength)
            return Fail(at + 28, "a name, extra field and comment within the central directory");
        entry.name.assign(reinterpret_cast<const char*>(data + at + kCentralSize), nameLength);
        if (flags & kEncrypted)
            return Fail(at + 8, entry.name + ": an entry that is not encrypted (vexapal reads no encrypted ZIP)");
        if (entry.method != 0 && entry.method != 8)
            return Fail(at + 10, entry.name + ": an entry stored or deflated");
        if (packed == 0xFFFFFFFF || unpacked == 0xFFFFFFFF || header == 0xFFFFFFFF)
            return Fail(at + 20, entry.name + ": sizes without ZIP64 (vexapal reads no ZIP64)");
        if (Get16(data + at + 34) != 0)
            return Fail(at + 34, entry.name + ": an entry on the first disk");
        if (entry.method == 0 && packed != unpacked)
            return Fail(at + 20, entry.name + ": a stored entry's two sizes equal");
        entry.packedSize = packed;
        entry.size = unpacked;
        entry.headerOffset = header;

        // The local header, its name and its bytes lie before the central directory.
        if (header > directoryOffset || directoryOffset - header < kLocalSize ||
            Get32(data + header) != kLocalSignature)
            return Fail(header, entry.name + ": a local header");
        if (Get16(data + header + 8) != entry.method)
            return Fail(header + 8, entry.name + ": the method the central directory gives");
        const std::size_t localName = Get16(data + header + 26), localExtra = Get16(data + header + 28);
        if (localName != nameLength || directoryOffset - header - kLocalSize < localName + localExtra ||
            std::memcmp(data + header + kLocalSize, entry.name.data(), nameLength) != 0)
            return Fail(header + 26, entry.name + ": the name the central directory gives");
        entry.dataOffset = header + kLocalSize + localName + localExtra;
        if (directoryOffset - entry.dataOffset < entry.packedSize)
            return Fail(header + 18, entry.name + ": a size within the file");
        directory.entries.push_back(std::move(entry));
        at += kCentralSize + nameLength + extraLength + commentLength;
    }
    return directory;
}

std::optional<std::vector<std::uint8_t>> ReadZipEntry(const std::uint8_t* data, const ZipEntry& entry, ZipFault& fault)
{
    const std::uint8_t* packed = data + entry.dataOffset;
    std::vector<std::uint8_t> bytes;
    if (entry.method == 0)
        bytes.assign(packed, packed + entry.size);
    else
    {
        // Inflated in steps, so that memory grows with what the data holds, not what a size claims.
        z_stream stream{};
        if (inflateInit2(&stream, -15) != Z_OK)
        {
            fault = {entry.headerOffset, entry.name + ": memory to inflate"};
            return std::nullopt;
        }
        stream.next_in = const_cast<Bytef*>(packed);
        stream.avail_in = static_cast<uInt>(entry.packedSize);
        int status = Z_OK;
        while (status == Z_OK && bytes.size() < entry.size + 1)
        {
            const std::size_t done = bytes.size();
            const std::size_t step = std::min<std::size_t>(entry.size + 1 - done, std::max<std::size_t>(done, 1 << 16));
            bytes.resize(done + step);
            stream.next_out = bytes.data() + done;
            stream.avail_out = static_cast<uInt>(step);
            status = inflate(&stream, Z_NO_FLUSH);
            bytes.resize(done + step - stream.avail_out);
        }
        inflateEnd(&stream);
        if (status != Z_STREAM_END || bytes.size() != entry.size)
        {
            fault = {entry.dataOffset, entry.name + ": deflated data of " + std::to_string(entry.size) + " bytes"};
            return std::nullopt;
        }
    }
    if (Crc(bytes) != entry.crc)
    {
        fault = {entry.headerOffset + 14, entry.name + ": bytes that match their CRC-32"};
        return std::nullopt;
    }
    return bytes;
}

std::vector<std::uint8_t> WriteZip(const std::vector<ZipFile>& files)
{
    std::vector<std::uint8_t> zip;
    std::vector<std::uint8_t> directory;
    for (const ZipFile& file : files)
    {
        const std::vector<std::uint8_t> packed = file.deflate ? Deflate(file.bytes) : file.bytes;
        const std::uint32_t crc = Crc(file.bytes);
        const std::size_t offset = zip.size();
        for (std::vector<std::uint8_t>* out : {&zip, &directory})
        {
            const bool central = out == &directory;
            PutLe32(*out, central ? kCentralSignature : kLocalSignature);
            if (central)
                PutLe16(*out, 20); // made by: version 2.0, MS-DOS attributes
            PutLe16(*out, 20);     // needed: 2.0, for deflate
            PutLe16(*out, kUtf8Names);
            PutLe16(*out, file.deflate ? 8 : 0);
            PutLe16(*out, 0); // time 00:00
            PutLe16(*out, kDosDate);
            PutLe32(*out, crc);
            PutLe32(*out, packed.size());
            PutLe32(*out, file.bytes.size());
            PutLe16(*out, file.name.size());
            PutLe16(*out, 0); // extra field
            if (central)
            {
                for (int i = 0; i < 3; ++i)
                    PutLe16(*out, 0); // comment length, disk, internal attributes, and
                PutLe32(*out, 0);     // external attributes
                PutLe32(*out, offset);
            }
            out->insert(out->end(), file.name.begin(), file.name.end());
        }
        zip.insert(zip.end(), packed.begin(), packed.end());
    }
    const std::size_t directoryOffset = zip.size();
    zip.insert(zip.end(), directory.begin(), directory.end());
    PutLe32(zip, kEndSignature);
    PutLe32(zip, 0); // this disk and the directory's
    PutLe16(zip, files.size());
    PutLe16(zip, files.size());
    PutLe32(zip, directory.size());
    PutLe32(zip, directoryOffset);
    PutLe16(zip, 0); // comment
    return zip;
}
