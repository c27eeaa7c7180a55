#pragma once
// The messages of failed saves: the command's message, the file, and the reason in the
// window's language. The core reports the cause as the system's error number; this unit is
// where the window words it.

#include "model/MqoReader.h"
#include "platform/Files.h"
#include "publish/Package.h"

#include <QString>

namespace vantor {

// The reason for the cause of error, in Japanese.
QString FileErrorReason(const FileError& error);

// message, then the path and the reason on lines of their own.
QString FileFailureText(const char* message, const FileError& error);

// The message of a model that could not be opened from path: the reader's message for its
// error code, then the path and why (a folder, no such file, not a model, damaged at line N, ...)
// on lines of their own. A folder is told as a file that cannot be opened whatever the reader
// made of it, so that one cause always reads the same.
QString OpenFailureText(const std::string& path, const MqoReadResult& result);

// The message of a package that could not be written: message, then the file or folder the
// failure concerns (when there is one) and the reason, on lines of their own. A failure
// without a reason to give (such as a wrong compression level, which the window never asks
// for) is message alone.
QString PackageFailureText(const char* message, const PackageResult& result);

} // namespace vantor
