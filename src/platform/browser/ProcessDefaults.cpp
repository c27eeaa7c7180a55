// Compiled into every program of the browser build (an interface source of vantor_core), so
// that it runs before main: Emscripten's C library starts with a file-creation mask of 0777,
// under which every file the core makes would have no permissions at all and could not be
// read back. 022 is what a process on the native side starts with.

#include <sys/stat.h>

namespace {

const bool kFileMaskSet = (::umask(022), true);

} // namespace
