#pragma once
// The messages of failed saves: the command's message, the file, and the reason in the
// window's language. The core reports the cause as the system's error number; this unit is
// where the window words it.

#include "platform/Files.h"

#include <QString>

namespace vantor {

// The reason for the cause of error, in Japanese.
QString FileErrorReason(const FileError& error);

// message, then the path and the reason on lines of their own.
QString FileFailureText(const char* message, const FileError& error);

} // namespace vantor
