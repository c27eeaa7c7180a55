#pragma once
// Reads the entries of a zip archive that lies in memory (a mapped file, say), one at a time.
// An archive can be made to inflate to far more than it holds: entries whose data overlap
// repeat the same bytes any number of times, and each deflated byte can stand for up to 1032
// bytes. Before anything is inflated the reader looks at every entry of the directory and
// refuses an archive whose entries share their data or lie outside it; an entry then inflates
// to no more than its header claims, which deflate must be able to give from its bytes, nor to
// more than the caller allows, and the entries read inflate to at most the reader's limit.

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {

struct ZipEntryInfo {
    std::string name;
    bool deflated = false; // stored otherwise
    std::uint32_t dosTime = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0; // the size the headers claim
};

// The archive's bytes as minizip reads them, with the position of its next read.
struct ZipMemoryStream {
    std::string_view bytes;
    std::uint64_t position = 0;
};

class ZipReader {
public:
    // The archive's bytes must outlive the reader. The entries read may inflate to at most
    // maxTotalBytes in all.
    ZipReader(std::string_view archive, std::uint64_t maxTotalBytes);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // False when the bytes are no zip archive, or its directory is damaged or refused; error()
    // says why. An archive without entries is one.
    bool isOpen() const { return open_ && error_.empty(); }

    // What all entries claim to inflate to, as the directory says.
    std::uint64_t claimedBytes() const { return claimed_; }

    // Steps to the next entry (the first one on the first call) and describes it. False at
    // the end of the directory, and when it is damaged: error() is then not empty.
    bool next(ZipEntryInfo& entry);

    // Inflates the entry that next() described into data, checked against its CRC. False,
    // with error(), when it is damaged, would inflate to more than maxBytes, or would take
    // the archive past its total limit; data is then empty.
    bool read(std::string& data, std::uint64_t maxBytes);

    const std::string& error() const { return error_; }

private:
    bool fail(std::string message);
    bool step(bool first, ZipEntryInfo& entry);
    bool checkDirectory();

    ZipMemoryStream stream_;
    void* zip_ = nullptr;
    bool open_ = false;
    bool started_ = false;
    std::uint64_t maxTotal_;
    std::uint64_t inflated_ = 0;
    std::uint64_t claimed_ = 0;
    ZipEntryInfo current_;
    std::string error_;
};

} // namespace vantor
