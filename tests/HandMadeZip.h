#pragma once
// Zip archives made by hand for the tests of hostile input: entries whose directory records
// share one entry's data, and deflate streams of gigabytes of zeros that cost a few
// milliseconds to make.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>
#include <zlib.h>

namespace vantor::test {

// One entry: its name and its bytes as they lie in the archive (deflated when method is 8),
// with the size and CRC they inflate to.
struct RawZipEntry {
    std::string name;
    std::string data;
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
    int method = 8;
};

inline RawZipEntry storedEntry(std::string name, std::string bytes) {
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
    const std::uint64_t size = bytes.size();
    return {std::move(name), std::move(bytes), size, crc, 0};
}

// The bytes deflated, as a zip entry holds them.
inline RawZipEntry deflatedEntry(std::string name, const std::string& bytes) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string data(deflateBound(&z, static_cast<uLong>(bytes.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(data.data());
    z.avail_out = static_cast<uInt>(data.size());
    deflate(&z, Z_FINISH);
    data.resize(data.size() - z.avail_out);
    deflateEnd(&z);
    RawZipEntry entry = storedEntry(std::move(name), bytes);
    entry.data = std::move(data);
    entry.method = 8;
    return entry;
}

// An entry of `mebibytes` MiB of zeros: one deflated MiB repeated. Each copy is a block that
// refers to nothing before it (a full flush ends it), so the copies make one valid stream.
inline RawZipEntry deflatedZeros(std::string name, std::uint32_t mebibytes) {
    const std::string zeros(1 << 20, '\0');
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string block(1 << 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
    z.avail_in = static_cast<uInt>(zeros.size());
    z.next_out = reinterpret_cast<Bytef*>(block.data());
    z.avail_out = static_cast<uInt>(block.size());
    deflate(&z, Z_FULL_FLUSH);
    block.resize(block.size() - z.avail_out);
    std::string tail(64, '\0');
    z.next_out = reinterpret_cast<Bytef*>(tail.data());
    z.avail_out = static_cast<uInt>(tail.size());
    deflate(&z, Z_FINISH);
    tail.resize(tail.size() - z.avail_out);
    deflateEnd(&z);

    const uLong blockCrc = crc32(0, reinterpret_cast<const Bytef*>(zeros.data()), 1 << 20);
    RawZipEntry entry{std::move(name), {}, std::uint64_t{mebibytes} << 20, 0, 8};
    uLong crc = 0;
    for (std::uint32_t i = 0; i < mebibytes; ++i) {
        entry.data += block;
        crc = crc32_combine(crc, blockCrc, 1 << 20);
    }
    entry.data += tail;
    entry.crc = static_cast<std::uint32_t>(crc);
    return entry;
}

inline void appendLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>(value >> (8 * i));
    }
}

// The entries as a zip archive. With firstEntryCopies above 1 the directory lists the first
// entry that many times, each record pointing at the same data, the names numbered
// ("name0000", "name0001", ...); this is how an archive is made to inflate without end.
inline std::string handMadeZip(const std::vector<RawZipEntry>& entries, int firstEntryCopies = 1) {
    std::string archive;
    std::string directory;
    std::size_t count = 0;
    auto header = [](std::string& out, std::uint32_t signature, const RawZipEntry& e,
                     const std::string& name, bool central, std::uint64_t offset) {
        appendLittleEndian(out, signature, 4);
        if (central) {
            appendLittleEndian(out, 20, 2); // made by
        }
        appendLittleEndian(out, 20, 2); // needed to extract
        appendLittleEndian(out, 0, 2);  // flags
        appendLittleEndian(out, e.method, 2);
        appendLittleEndian(out, 0x21, 4); // DOS time and date
        appendLittleEndian(out, e.crc, 4);
        appendLittleEndian(out, e.data.size(), 4);
        appendLittleEndian(out, e.size, 4);
        appendLittleEndian(out, name.size(), 2);
        appendLittleEndian(out, 0, 2); // extra field
        if (central) {
            appendLittleEndian(out, 0, 2); // comment
            appendLittleEndian(out, 0, 2); // disk
            appendLittleEndian(out, 0, 2); // internal attributes
            appendLittleEndian(out, 0, 4); // external attributes
            appendLittleEndian(out, offset, 4);
        }
        out += name;
    };
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const RawZipEntry& e = entries[i];
        const int copies = i == 0 ? firstEntryCopies : 1;
        auto nameOf = [&](int copy) {
            if (copies == 1) {
                return e.name;
            }
            char number[16];
            std::snprintf(number, sizeof number, "%04d", copy);
            return e.name + number;
        };
        const std::uint64_t offset = archive.size();
        header(archive, 0x04034b50, e, nameOf(0), false, 0);
        archive += e.data;
        for (int copy = 0; copy < copies; ++copy) {
            header(directory, 0x02014b50, e, nameOf(copy), true, offset);
            ++count;
        }
    }
    const std::uint64_t directoryOffset = archive.size();
    archive += directory;
    appendLittleEndian(archive, 0x06054b50, 4);
    appendLittleEndian(archive, 0, 4); // disk numbers
    appendLittleEndian(archive, count, 2);
    appendLittleEndian(archive, count, 2);
    appendLittleEndian(archive, directory.size(), 4);
    appendLittleEndian(archive, directoryOffset, 4);
    appendLittleEndian(archive, 0, 2); // comment
    return archive;
}

} // namespace vantor::test
