#pragma once
// Reading zip archives with minizip's names (see ioapi.h for why the browser build has these).

#include "ioapi.h"

typedef voidp unzFile;

#define UNZ_OK 0
#define UNZ_END_OF_LIST_OF_FILE (-100)
#define UNZ_EOF 0
#define UNZ_PARAMERROR (-102)
#define UNZ_BADZIPFILE (-103)
#define UNZ_INTERNALERROR (-104)
#define UNZ_CRCERROR (-105)

struct unz_file_info64 {
    uLong version;
    uLong version_needed;
    uLong flag;
    uLong compression_method;
    uLong dosDate;
    uLong crc;
    ZPOS64_T compressed_size;
    ZPOS64_T uncompressed_size;
    uLong size_filename;
    uLong size_file_extra;
    uLong size_file_comment;
    uLong disk_num_start;
    uLong internal_fa;
    uLong external_fa;
};

unzFile unzOpen2_64(const void* path, zlib_filefunc64_def* functions);
int unzClose(unzFile file);
int unzGoToFirstFile(unzFile file);
int unzGoToNextFile(unzFile file);
int unzGetCurrentFileInfo64(unzFile file, unz_file_info64* info, char* fileName,
                            uLong fileNameBufferSize, void* extraField, uLong extraFieldBufferSize,
                            char* comment, uLong commentBufferSize);
int unzOpenCurrentFile(unzFile file);
ZPOS64_T unzGetCurrentFileZStreamPos64(unzFile file);
int unzReadCurrentFile(unzFile file, voidp buffer, unsigned length);
int unzCloseCurrentFile(unzFile file);
