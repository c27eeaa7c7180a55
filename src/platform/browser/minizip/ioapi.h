#pragma once
// The part of minizip's interface that the core uses, for the browser build: Debian carries
// minizip's sources in no package that builds for WebAssembly, so the browser build has this
// small reader and writer of its own (MiniZip.cpp) over zlib, with minizip's names, types and
// return values, and the core's zip code stays the same in both builds.

#include <cstdint>
#include <zlib.h>

typedef std::uint64_t ZPOS64_T;

#define ZLIB_FILEFUNC_SEEK_CUR 1
#define ZLIB_FILEFUNC_SEEK_END 2
#define ZLIB_FILEFUNC_SEEK_SET 0
#define ZLIB_FILEFUNC_MODE_READ 1

typedef voidpf (*open64_file_func)(voidpf opaque, const void* filename, int mode);
typedef uLong (*read_file_func)(voidpf opaque, voidpf stream, void* buf, uLong size);
typedef uLong (*write_file_func)(voidpf opaque, voidpf stream, const void* buf, uLong size);
typedef ZPOS64_T (*tell64_file_func)(voidpf opaque, voidpf stream);
typedef long (*seek64_file_func)(voidpf opaque, voidpf stream, ZPOS64_T offset, int origin);
typedef int (*close_file_func)(voidpf opaque, voidpf stream);
typedef int (*testerror_file_func)(voidpf opaque, voidpf stream);

struct zlib_filefunc64_def {
    open64_file_func zopen64_file;
    read_file_func zread_file;
    write_file_func zwrite_file;
    tell64_file_func ztell64_file;
    seek64_file_func zseek64_file;
    close_file_func zclose_file;
    testerror_file_func zerror_file;
    voidpf opaque;
};
