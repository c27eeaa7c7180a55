#include "platform/ZipReader.h"

#include <algorithm>
#include <cstring>
#include <cstdint>
#include <iterator>
#include <map>
#include <minizip/unzip.h>

namespace vantor {

namespace {

// Deflate turns one byte into at most about 1032; a little more is allowed for an entry's
// block headers.
constexpr std::uint64_t kMostInflatedPerByte = 1032;
constexpr std::uint64_t kInflationSlack = 1024;

ZipMemoryStream& streamOf(voidpf opaque) { return *static_cast<ZipMemoryStream*>(opaque); }

voidpf openStream(voidpf opaque, const void*, int) { return opaque; }

uLong readStream(voidpf opaque, voidpf, void* buffer, uLong size) {
    ZipMemoryStream& s = streamOf(opaque);
    const std::uint64_t left = s.bytes.size() - s.position;
    const uLong count = static_cast<uLong>(std::min<std::uint64_t>(size, left));
    std::memcpy(buffer, s.bytes.data() + s.position, count);
    s.position += count;
    return count;
}

uLong writeStream(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T tellStream(voidpf opaque, voidpf) { return streamOf(opaque).position; }

long seekStream(voidpf opaque, voidpf, ZPOS64_T offset, int origin) {
    ZipMemoryStream& s = streamOf(opaque);
    std::uint64_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) {
        base = s.position;
    } else if (origin == ZLIB_FILEFUNC_SEEK_END) {
        base = s.bytes.size();
    }
    if (offset > s.bytes.size() || base > s.bytes.size() - offset) {
        return -1;
    }
    s.position = base + offset;
    return 0;
}

int closeStream(voidpf, voidpf) { return 0; }
int testStream(voidpf, voidpf) { return 0; }

std::uint16_t littleEndian16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// An archive without entries is its end record alone. minizip never finds an end record at
// the very start of the file, so such an archive is recognised here.
bool isEmptyArchive(std::string_view bytes) {
    constexpr std::size_t kEndRecordBytes = 22;
    if (bytes.size() < kEndRecordBytes || !bytes.starts_with("PK\x05\x06")) {
        return false;
    }
    for (std::size_t at = 4; at < 20; ++at) {
        if (bytes[at] != 0) {
            return false; // disk numbers, entry counts and directory size and offset are zero
        }
    }
    return littleEndian16(bytes, 20) == bytes.size() - kEndRecordBytes;
}

} // namespace

ZipReader::ZipReader(std::string_view archive, std::uint64_t maxTotalBytes)
    : maxTotal_(maxTotalBytes) {
    stream_.bytes = archive;
    zlib_filefunc64_def functions{openStream, readStream,  writeStream, tellStream,
                                  seekStream, closeStream, testStream,  &stream_};
    zip_ = unzOpen2_64("", &functions);
    if (zip_ != nullptr) {
        open_ = checkDirectory();
    } else if (isEmptyArchive(archive)) {
        open_ = true;
    } else {
        error_ = "not a zip archive";
    }
}

ZipReader::~ZipReader() {
    if (zip_ != nullptr) {
        unzClose(zip_);
    }
}

bool ZipReader::fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool ZipReader::step(bool first, ZipEntryInfo& entry) {
    const int rc = first ? unzGoToFirstFile(zip_) : unzGoToNextFile(zip_);
    if (rc == UNZ_END_OF_LIST_OF_FILE) {
        return false;
    }
    if (rc != UNZ_OK) {
        return fail("the archive's directory is damaged");
    }
    unz_file_info64 info{};
    char name[4096] = {};
    if (unzGetCurrentFileInfo64(zip_, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0) !=
        UNZ_OK) {
        return fail("an entry's header cannot be read");
    }
    entry.name.assign(name, std::min<std::size_t>(info.size_filename, sizeof name - 1));
    entry.deflated = info.compression_method == Z_DEFLATED;
    entry.dosTime = static_cast<std::uint32_t>(info.dosDate);
    entry.compressedSize = info.compressed_size;
    entry.size = info.uncompressed_size;
    return true;
}

// Looks at the data of every entry before any is inflated: it must lie inside the archive and
// share no byte with another entry's. Sums up what the entries claim to inflate to.
bool ZipReader::checkDirectory() {
    std::map<std::uint64_t, std::pair<std::uint64_t, std::string>> spans; // start: end, entry
    const std::uint64_t archiveBytes = stream_.bytes.size();
    ZipEntryInfo entry;
    for (bool first = true; step(first, entry); first = false) {
        claimed_ += std::min(entry.size, UINT64_MAX - claimed_);
        if (unzOpenCurrentFile(zip_) != UNZ_OK) {
            continue; // an entry that cannot be opened (an unknown method) is refused when read
        }
        const std::uint64_t start = unzGetCurrentFileZStreamPos64(zip_);
        unzCloseCurrentFile(zip_);
        if (start > archiveBytes || entry.compressedSize > archiveBytes - start) {
            return fail("entry " + entry.name + " lies outside the archive");
        }
        if (entry.compressedSize == 0) {
            continue;
        }
        const std::uint64_t end = start + entry.compressedSize;
        auto after = spans.lower_bound(start);
        if (after != spans.end() && after->first < end) {
            return fail("entries " + after->second.second + " and " + entry.name +
                        " share their data");
        }
        if (after != spans.begin() && std::prev(after)->second.first > start) {
            return fail("entries " + std::prev(after)->second.second + " and " + entry.name +
                        " share their data");
        }
        spans.emplace(start, std::make_pair(end, entry.name));
    }
    return error_.empty();
}

bool ZipReader::next(ZipEntryInfo& entry) {
    if (zip_ == nullptr || !error_.empty()) {
        return false;
    }
    const bool first = !started_;
    started_ = true;
    if (!step(first, current_)) {
        return false;
    }
    entry = current_;
    return true;
}

bool ZipReader::read(std::string& data, std::uint64_t maxBytes) {
    data.clear();
    if (zip_ == nullptr || !error_.empty() || !started_) {
        return false;
    }
    const ZipEntryInfo& entry = current_;
    const std::uint64_t mostInflated =
        entry.deflated ? entry.compressedSize * kMostInflatedPerByte + kInflationSlack
                       : entry.compressedSize;
    if (entry.size > mostInflated) {
        return fail("entry " + entry.name + " claims an impossible size");
    }
    if (entry.size > maxBytes) {
        return fail("entry " + entry.name + " inflates to " + std::to_string(entry.size) +
                    " bytes, more than the " + std::to_string(maxBytes) + " allowed");
    }
    if (entry.size > maxTotal_ - inflated_) {
        return fail("the entries inflate to more than the " + std::to_string(maxTotal_) +
                    " bytes allowed in all");
    }
    if (unzOpenCurrentFile(zip_) != UNZ_OK) {
        return fail("entry " + entry.name + " cannot be opened");
    }
    // The claimed size is now known to be one that the entry's own bytes can inflate to, so
    // room is made for it at once; the data still grows only with the bytes that really come.
    data.reserve(static_cast<std::size_t>(entry.size));
    char buffer[65536];
    bool whole = true;
    for (;;) {
        const int count = unzReadCurrentFile(zip_, buffer, sizeof buffer);
        if (count <= 0) {
            whole = count == 0;
            break;
        }
        if (static_cast<std::uint64_t>(count) > entry.size - data.size()) {
            whole = false;
            break;
        }
        data.append(buffer, static_cast<std::size_t>(count));
    }
    whole = whole && data.size() == entry.size;
    // Closing checks the CRC of an entry read to its end.
    if (unzCloseCurrentFile(zip_) != UNZ_OK || !whole) {
        data.clear();
        data.shrink_to_fit();
        return fail("entry " + entry.name + " is damaged");
    }
    inflated_ += data.size();
    return true;
}

} // namespace vantor
