// A small zip reader and writer with minizip's interface for the browser build (see
// minizip/ioapi.h). It reads what the core reads (stored and deflated entries, no zip64, no
// encryption) and writes what the core writes, and answers as minizip does: the same return
// values, the uncompressed size of the directory as the most an entry yields, the CRC checked
// when an entry read to its end is closed.

#include "minizip/unzip.h"
#include "minizip/zip.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint32_t kDirectorySignature = 0x02014b50;
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::size_t kLocalHeaderBytes = 30;
constexpr std::size_t kDirectoryHeaderBytes = 46;
constexpr std::size_t kEndRecordBytes = 22;

std::uint32_t get16(const unsigned char* p) { return p[0] | p[1] << 8; }
std::uint32_t get32(const unsigned char* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
void put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8 & 0xFF);
}
void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

struct UnzipArchive {
    zlib_filefunc64_def io;
    voidpf stream = nullptr;
    ZPOS64_T prefix = 0; // bytes before the archive proper
    ZPOS64_T directoryOffset = 0;
    std::uint32_t entryCount = 0;
    std::uint32_t index = 0;
    ZPOS64_T entryOffset = 0; // of the current directory header
    bool positioned = false;
    unz_file_info64 info{};
    std::string name;
    ZPOS64_T localOffset = 0;
    // The open entry.
    bool open = false;
    ZPOS64_T dataPos = 0;
    ZPOS64_T compressedLeft = 0;
    ZPOS64_T uncompressedLeft = 0;
    uLong crc = 0;
    z_stream inflater{};
    bool inflating = false;
    std::vector<unsigned char> input;

    bool readAt(ZPOS64_T at, void* buffer, uLong size) {
        return io.zseek64_file(io.opaque, stream, at, ZLIB_FILEFUNC_SEEK_SET) == 0 &&
               io.zread_file(io.opaque, stream, buffer, size) == size;
    }
};

unzFile unzOpen2_64(const void* path, zlib_filefunc64_def* functions) {
    auto* const archive = new UnzipArchive{};
    archive->io = *functions;
    archive->stream = archive->io.zopen64_file(archive->io.opaque, path, ZLIB_FILEFUNC_MODE_READ);
    UnzipArchive& a = *archive;
    ZPOS64_T size = 0;
    if (a.stream != nullptr && a.io.zseek64_file(a.io.opaque, a.stream, 0, ZLIB_FILEFUNC_SEEK_END) == 0) {
        size = a.io.ztell64_file(a.io.opaque, a.stream);
    }
    // The end record lies in the last 64 KiB and 22 bytes; as in minizip, never at offset 0.
    const ZPOS64_T window = std::min<ZPOS64_T>(size, 0xFFFF + kEndRecordBytes);
    std::vector<unsigned char> tail(window);
    ZPOS64_T endRecord = 0;
    if (size >= kEndRecordBytes && a.readAt(size - window, tail.data(), window)) {
        for (ZPOS64_T i = window - kEndRecordBytes + 1; i-- > 0;) {
            if (get32(&tail[i]) == kEndSignature && size - window + i > 0) {
                endRecord = size - window + i;
                break;
            }
        }
    }
    if (endRecord != 0) {
        const unsigned char* e = &tail[endRecord - (size - window)];
        const std::uint32_t entriesHere = get16(e + 8);
        const std::uint32_t entries = get16(e + 10);
        const ZPOS64_T directorySize = get32(e + 12);
        const ZPOS64_T directoryOffset = get32(e + 16);
        if (get16(e + 4) == 0 && get16(e + 6) == 0 && entriesHere == entries &&
            endRecord >= directoryOffset + directorySize) {
            a.prefix = endRecord - (directoryOffset + directorySize);
            a.directoryOffset = directoryOffset;
            a.entryCount = entries;
            return archive;
        }
    }
    if (a.stream != nullptr) {
        a.io.zclose_file(a.io.opaque, a.stream);
    }
    delete archive;
    return nullptr;
}

int unzCloseCurrentFile(unzFile handle);

int unzClose(unzFile handle) {
    auto* const file = static_cast<UnzipArchive*>(handle);
    if (file == nullptr) {
        return UNZ_PARAMERROR;
    }
    unzCloseCurrentFile(file);
    file->io.zclose_file(file->io.opaque, file->stream);
    delete file;
    return UNZ_OK;
}

namespace {

int readDirectoryEntry(UnzipArchive& a) {
    unsigned char h[kDirectoryHeaderBytes];
    a.positioned = false;
    if (!a.readAt(a.prefix + a.entryOffset, h, sizeof h) || get32(h) != kDirectorySignature) {
        return UNZ_BADZIPFILE;
    }
    unz_file_info64& info = a.info;
    info = {};
    info.version = get16(h + 4);
    info.version_needed = get16(h + 6);
    info.flag = get16(h + 8);
    info.compression_method = get16(h + 10);
    info.dosDate = get32(h + 12);
    info.crc = get32(h + 16);
    info.compressed_size = get32(h + 20);
    info.uncompressed_size = get32(h + 24);
    info.size_filename = get16(h + 28);
    info.size_file_extra = get16(h + 30);
    info.size_file_comment = get16(h + 32);
    info.disk_num_start = get16(h + 34);
    info.internal_fa = get16(h + 36);
    info.external_fa = get32(h + 38);
    a.localOffset = get32(h + 42);
    a.name.assign(info.size_filename, '\0');
    if (info.size_filename > 0 &&
        !a.readAt(a.prefix + a.entryOffset + kDirectoryHeaderBytes, a.name.data(), info.size_filename)) {
        return UNZ_BADZIPFILE;
    }
    a.positioned = true;
    return UNZ_OK;
}

} // namespace

int unzGoToFirstFile(unzFile handle) {
    auto* const file = static_cast<UnzipArchive*>(handle);
    if (file == nullptr) {
        return UNZ_PARAMERROR;
    }
    unzCloseCurrentFile(file);
    file->index = 0;
    file->entryOffset = file->directoryOffset;
    if (file->entryCount == 0) {
        file->positioned = false;
        return UNZ_END_OF_LIST_OF_FILE;
    }
    return readDirectoryEntry(*file);
}

int unzGoToNextFile(unzFile handle) {
    auto* const file = static_cast<UnzipArchive*>(handle);
    if (file == nullptr || !file->positioned) {
        return UNZ_END_OF_LIST_OF_FILE;
    }
    unzCloseCurrentFile(file);
    if (file->index + 1 >= file->entryCount) {
        return UNZ_END_OF_LIST_OF_FILE;
    }
    ++file->index;
    file->entryOffset += kDirectoryHeaderBytes + file->info.size_filename +
                         file->info.size_file_extra + file->info.size_file_comment;
    return readDirectoryEntry(*file);
}

int unzGetCurrentFileInfo64(unzFile handle, unz_file_info64* info, char* fileName,
                            uLong fileNameBufferSize, void*, uLong, char*, uLong) {
    auto* const file = static_cast<UnzipArchive*>(handle);
    if (file == nullptr || !file->positioned) {
        return UNZ_PARAMERROR;
    }
    if (info != nullptr) {
        *info = file->info;
    }
    if (fileName != nullptr && fileNameBufferSize > 0) {
        const uLong count = std::min<uLong>(fileNameBufferSize, file->name.size());
        std::memcpy(fileName, file->name.data(), count);
        if (count < fileNameBufferSize) {
            fileName[count] = '\0';
        }
    }
    return UNZ_OK;
}

int unzOpenCurrentFile(unzFile handle) {
    auto* const file = static_cast<UnzipArchive*>(handle);
    if (file == nullptr || !file->positioned) {
        return UNZ_PARAMERROR;
    }
    unzCloseCurrentFile(file);
    UnzipArchive& a = *file;
    unsigned char h[kLocalHeaderBytes];
    if (!a.readAt(a.prefix + a.localOffset, h, sizeof h) || get32(h) != kLocalSignature ||
        get16(h + 8) != a.info.compression_method ||
        (a.info.compression_method != 0 && a.info.compression_method != Z_DEFLATED)) {
        return UNZ_BADZIPFILE;
    }
    a.dataPos = a.localOffset + kLocalHeaderBytes + get16(h + 26) + get16(h + 28);
    a.compressedLeft = a.info.compressed_size;
    a.uncompressedLeft = a.info.uncompressed_size;
    a.crc = crc32(0, nullptr, 0);
    if (a.info.compression_method == Z_DEFLATED) {
        a.inflater = {};
        if (inflateInit2(&a.inflater, -MAX_WBITS) != Z_OK) {
            return UNZ_INTERNALERROR;
        }
        a.inflating = true;
        a.input.resize(65536);
    }
    a.open = true;
    return UNZ_OK;
}

ZPOS64_T unzGetCurrentFileZStreamPos64(unzFile handle) {
    auto* const file = static_cast<UnzipArchive*>(handle);
    return file != nullptr && file->open ? file->dataPos : 0;
}

int unzReadCurrentFile(unzFile handle, voidp buffer, unsigned length) {
    auto* const file = static_cast<UnzipArchive*>(handle);
    if (file == nullptr || !file->open) {
        return UNZ_PARAMERROR;
    }
    UnzipArchive& a = *file;
    const unsigned wanted = static_cast<unsigned>(std::min<ZPOS64_T>(length, a.uncompressedLeft));
    auto* out = static_cast<unsigned char*>(buffer);
    unsigned produced = 0;
    if (!a.inflating) {
        const unsigned count = static_cast<unsigned>(std::min<ZPOS64_T>(wanted, a.compressedLeft));
        if (count > 0 && !a.readAt(a.prefix + a.dataPos, out, count)) {
            return Z_ERRNO;
        }
        a.dataPos += count;
        a.compressedLeft -= count;
        produced = count;
    } else {
        a.inflater.next_out = out;
        a.inflater.avail_out = wanted;
        while (a.inflater.avail_out > 0) {
            if (a.inflater.avail_in == 0 && a.compressedLeft > 0) {
                const uInt count = static_cast<uInt>(std::min<ZPOS64_T>(a.input.size(), a.compressedLeft));
                if (!a.readAt(a.prefix + a.dataPos, a.input.data(), count)) {
                    return Z_ERRNO;
                }
                a.dataPos += count;
                a.compressedLeft -= count;
                a.inflater.next_in = a.input.data();
                a.inflater.avail_in = count;
            }
            const int rc = inflate(&a.inflater, Z_SYNC_FLUSH);
            produced = wanted - a.inflater.avail_out;
            if (rc == Z_STREAM_END) {
                break;
            }
            if (rc == Z_BUF_ERROR && produced > 0) {
                break; // the data ran out: what came is returned, the next call fails
            }
            if (rc != Z_OK) {
                return rc == Z_BUF_ERROR ? Z_BUF_ERROR : Z_DATA_ERROR;
            }
        }
    }
    a.crc = crc32(a.crc, out, produced);
    a.uncompressedLeft -= produced;
    return static_cast<int>(produced);
}

int unzCloseCurrentFile(unzFile handle) {
    auto* const file = static_cast<UnzipArchive*>(handle);
    if (file == nullptr || !file->open) {
        return UNZ_PARAMERROR;
    }
    UnzipArchive& a = *file;
    int result = UNZ_OK;
    if (a.uncompressedLeft == 0 && a.crc != a.info.crc) {
        result = UNZ_CRCERROR;
    }
    if (a.inflating) {
        inflateEnd(&a.inflater);
        a.inflating = false;
    }
    a.open = false;
    return result;
}

// Writing: local headers are written with blank CRC and sizes and filled in when an entry is
// closed, as minizip does on a file it can seek in.

struct ZipArchive {
    std::FILE* out = nullptr;
    std::string directory;
    std::uint32_t entries = 0;
    bool entryOpen = false;
    long localOffset = 0;
    std::uint32_t method = 0;
    std::uint32_t dosDate = 0;
    std::string name;
    uLong crc = 0;
    std::uint64_t size = 0;
    std::uint64_t compressedSize = 0;
    z_stream deflater{};
    std::vector<unsigned char> buffer;
    bool failed = false;

    bool write(const void* data, std::size_t count) {
        failed = failed || std::fwrite(data, 1, count, out) != count;
        return !failed;
    }
};

zipFile zipOpen(const char* path, int append) {
    if (append != APPEND_STATUS_CREATE) {
        return nullptr;
    }
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr) {
        return nullptr;
    }
    auto* const zip = new ZipArchive{};
    zip->out = out;
    return zip;
}

int zipOpenNewFileInZip3(zipFile handle, const char* name, const zip_fileinfo* info, const void*,
                         uInt, const void*, uInt, const char*, int method, int level, int raw,
                         int windowBits, int memLevel, int strategy, const char* password, uLong) {
    auto* const file = static_cast<ZipArchive*>(handle);
    if (file == nullptr || file->entryOpen || raw != 0 || password != nullptr ||
        (method != 0 && method != Z_DEFLATED)) {
        return ZIP_PARAMERROR;
    }
    ZipArchive& z = *file;
    z.name = name;
    z.method = static_cast<std::uint32_t>(method);
    z.dosDate = info != nullptr ? static_cast<std::uint32_t>(info->dosDate) : 0;
    z.crc = crc32(0, nullptr, 0);
    z.size = 0;
    z.compressedSize = 0;
    z.localOffset = std::ftell(z.out);
    std::string header;
    put32(header, kLocalSignature);
    put16(header, 20);
    put16(header, 0);
    put16(header, z.method);
    put32(header, z.dosDate);
    put32(header, 0);
    put32(header, 0);
    put32(header, 0);
    put16(header, static_cast<std::uint32_t>(z.name.size()));
    put16(header, 0);
    header += z.name;
    if (!z.write(header.data(), header.size())) {
        return ZIP_ERRNO;
    }
    if (method == Z_DEFLATED) {
        z.deflater = {};
        if (deflateInit2(&z.deflater, level, Z_DEFLATED, windowBits, memLevel, strategy) != Z_OK) {
            return ZIP_INTERNALERROR;
        }
        z.buffer.resize(65536);
    }
    z.entryOpen = true;
    return ZIP_OK;
}

int zipOpenNewFileInZip(zipFile handle, const char* name, const zip_fileinfo* info,
                        const void* localExtra, uInt localExtraSize, const void* globalExtra,
                        uInt globalExtraSize, const char* comment, int method, int level) {
    auto* const file = static_cast<ZipArchive*>(handle);
    return zipOpenNewFileInZip3(file, name, info, localExtra, localExtraSize, globalExtra,
                                globalExtraSize, comment, method, level, 0, -MAX_WBITS, 8,
                                Z_DEFAULT_STRATEGY, nullptr, 0);
}

namespace {

int deflateInto(ZipArchive& z, int flush) {
    int rc = Z_OK;
    do {
        z.deflater.next_out = z.buffer.data();
        z.deflater.avail_out = static_cast<uInt>(z.buffer.size());
        rc = deflate(&z.deflater, flush);
        if (rc == Z_STREAM_ERROR) {
            return ZIP_INTERNALERROR;
        }
        const std::size_t count = z.buffer.size() - z.deflater.avail_out;
        z.compressedSize += count;
        if (!z.write(z.buffer.data(), count)) {
            return ZIP_ERRNO;
        }
    } while (z.deflater.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
    return ZIP_OK;
}

} // namespace

int zipWriteInFileInZip(zipFile handle, const void* buffer, unsigned length) {
    auto* const file = static_cast<ZipArchive*>(handle);
    if (file == nullptr || !file->entryOpen) {
        return ZIP_PARAMERROR;
    }
    ZipArchive& z = *file;
    z.crc = crc32(z.crc, static_cast<const Bytef*>(buffer), length);
    z.size += length;
    if (z.method == 0) {
        z.compressedSize += length;
        return z.write(buffer, length) ? ZIP_OK : ZIP_ERRNO;
    }
    z.deflater.next_in = static_cast<Bytef*>(const_cast<void*>(buffer));
    z.deflater.avail_in = length;
    return deflateInto(z, Z_NO_FLUSH);
}

int zipCloseFileInZip(zipFile handle) {
    auto* const file = static_cast<ZipArchive*>(handle);
    if (file == nullptr || !file->entryOpen) {
        return ZIP_PARAMERROR;
    }
    ZipArchive& z = *file;
    z.entryOpen = false;
    int result = ZIP_OK;
    if (z.method == Z_DEFLATED) {
        z.deflater.avail_in = 0;
        result = deflateInto(z, Z_FINISH);
        deflateEnd(&z.deflater);
    }
    if (z.size > 0xFFFFFFFFu || z.compressedSize > 0xFFFFFFFFu || z.localOffset < 0) {
        return ZIP_PARAMERROR; // this writer makes no zip64 archives
    }
    std::string sizes;
    put32(sizes, static_cast<std::uint32_t>(z.crc));
    put32(sizes, static_cast<std::uint32_t>(z.compressedSize));
    put32(sizes, static_cast<std::uint32_t>(z.size));
    const long end = std::ftell(z.out);
    if (std::fseek(z.out, z.localOffset + 14, SEEK_SET) != 0 || !z.write(sizes.data(), sizes.size()) ||
        std::fseek(z.out, end, SEEK_SET) != 0) {
        return ZIP_ERRNO;
    }
    std::string& d = z.directory;
    put32(d, kDirectorySignature);
    put16(d, 20);
    put16(d, 20);
    put16(d, 0);
    put16(d, z.method);
    put32(d, z.dosDate);
    d += sizes;
    put16(d, static_cast<std::uint32_t>(z.name.size()));
    put16(d, 0);
    put16(d, 0);
    put16(d, 0);
    put16(d, 0);
    put32(d, 0);
    put32(d, static_cast<std::uint32_t>(z.localOffset));
    d += z.name;
    ++z.entries;
    return z.failed ? ZIP_ERRNO : result;
}

int zipClose(zipFile handle, const char*) {
    auto* const file = static_cast<ZipArchive*>(handle);
    if (file == nullptr) {
        return ZIP_PARAMERROR;
    }
    ZipArchive& z = *file;
    int result = z.entryOpen ? zipCloseFileInZip(file) : ZIP_OK;
    const long start = std::ftell(z.out);
    std::string end;
    put32(end, kEndSignature);
    put16(end, 0);
    put16(end, 0);
    put16(end, z.entries & 0xFFFF);
    put16(end, z.entries & 0xFFFF);
    put32(end, static_cast<std::uint32_t>(z.directory.size()));
    put32(end, static_cast<std::uint32_t>(start));
    put16(end, 0);
    if (!z.write(z.directory.data(), z.directory.size()) || !z.write(end.data(), end.size())) {
        result = ZIP_ERRNO;
    }
    if (std::fclose(z.out) != 0 && result == ZIP_OK) {
        result = ZIP_ERRNO;
    }
    delete file;
    return result;
}
