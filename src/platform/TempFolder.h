#pragma once
// The process's private temporary folder: one folder "vantor-XXXXXX" under the system's
// temporary folder, made with mkdtemp (mode 0700), so that no other user can pre-create or
// link it and two running copies never share files. The package writer works in it and the
// editor keeps its previews in it. It is removed with everything in it when the program ends.
//
// A run that is killed cannot remove its folder, so each folder carries its owner's mark, the
// file ".vantor-owner" with the line "PID STARTTIME NSDEVICE NSINODE BOOTID": the process id,
// the process's start time from /proc/PID/stat (which tells a reused process id from the
// owner), and the PID namespace and boot the id belongs to, since a process in a sandbox or a
// container sharing the temporary folder has ids of its own. Making a folder first removes the
// marked folders of this user whose owner no longer runs.

#include <optional>
#include <string>

namespace vantor {

inline constexpr char kTempOwnerFileName[] = ".vantor-owner";

// The folder, ending in "/", created on the first call; nothing when it cannot be created
// (a later call tries again).
std::optional<std::string> processTempFolder();

// Removes the folder and everything in it now, as the program's end would; a later
// processTempFolder() makes a new one.
void removeProcessTempFolder();

// Writes this process's owner mark into folder. False when it cannot be written (or this
// process's start time, PID namespace or boot cannot be read): the folder then stays unmarked and is never removed
// by another run.
bool markTempFolderOwner(const std::string& folder);

// Removes from baseFolder the private folders that runs of this user left behind: a folder
// named "vantor-" and six more characters, owned by this user, not a link, with mode 0700 and
// an owner mark of this run's PID namespace and boot naming a process that no longer runs (or a
// process id now used by a process that started at another time). Everything else stays: a
// mark of another namespace or boot, or one of another form, may belong to a live owner.
// Returns how many were removed.
int removeAbandonedTempFolders(const std::string& baseFolder);

} // namespace vantor
