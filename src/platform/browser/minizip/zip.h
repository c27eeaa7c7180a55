#pragma once
// Writing zip archives with minizip's names (see ioapi.h for why the browser build has these).

#include "ioapi.h"

typedef voidp zipFile;

#define ZIP_OK 0
#define ZIP_ERRNO (-1)
#define ZIP_PARAMERROR (-102)
#define ZIP_BADZIPFILE (-103)
#define ZIP_INTERNALERROR (-104)
#define APPEND_STATUS_CREATE 0

struct tm_zip {
    int tm_sec, tm_min, tm_hour, tm_mday, tm_mon, tm_year;
};

struct zip_fileinfo {
    tm_zip tmz_date;
    uLong dosDate;
    uLong internal_fa;
    uLong external_fa;
};

zipFile zipOpen(const char* path, int append);
int zipOpenNewFileInZip(zipFile file, const char* name, const zip_fileinfo* info,
                        const void* localExtra, uInt localExtraSize, const void* globalExtra,
                        uInt globalExtraSize, const char* comment, int method, int level);
int zipOpenNewFileInZip3(zipFile file, const char* name, const zip_fileinfo* info,
                         const void* localExtra, uInt localExtraSize, const void* globalExtra,
                         uInt globalExtraSize, const char* comment, int method, int level,
                         int raw, int windowBits, int memLevel, int strategy,
                         const char* password, uLong crcForCrypting);
int zipWriteInFileInZip(zipFile file, const void* buffer, unsigned length);
int zipCloseFileInZip(zipFile file);
int zipClose(zipFile file, const char* globalComment);
