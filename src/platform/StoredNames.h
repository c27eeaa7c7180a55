#pragma once
// Opening the files that a model or a settings record names. Stored names come from files
// written on other systems: they may use backslashes, differ from the files on disk in letter
// case, be in CP932 on a UTF-8 system, or be Windows drive paths. The resolver tries, in order:
//   1. the name with its backslashes turned into "/", a relative name against the base folder;
//   2. the same with each component matched without regard to ASCII letter case;
//   3. when the name is not valid in the system code page, its CP932-to-UTF-8 conversion
//      (steps 1 and 2 again);
//   4. the name's last component in the base folder, then in its "textures" or "texture"
//      folder: drive paths ("C:\..."), network paths ("\\host\...") and relative paths
//      ("..\..\textures\x.png") name folders of the machine the model was made on.
// The stored name itself is never changed; only the file that is opened is found this way.
// A name longer than kMaxStoredPathBytes, or one that forms a longer path, names no file.

#include "platform/CodePage.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace vantor {

// The resolver of one build: it lists each folder it matches letter case in once and finds
// each distinct name once, so a model of many names beside a folder of many files costs one
// listing of it, not one per name. What it has found stays as found for its lifetime, so it
// lives no longer than one build.
class StoredNameResolver {
public:
    // baseFolder ends in "/" (relative names resolve against it), or is empty.
    explicit StoredNameResolver(std::string baseFolder);

    // The path of the regular file that `stored` names, or nothing when none is found. `cp` is
    // the code page of the stored name.
    std::optional<std::string> resolve(std::string_view stored, CodePage cp);

    // Whether the file at path (one that resolve found) lies outside the base folder's tree once
    // links and ".." are followed; true when that cannot be told.
    bool liesOutsideBase(const std::string& path);

private:
    // The entries of a folder by their names with ASCII letters folded in code page cp; of two
    // entries with one folded name the first listed counts.
    using FolderIndex = std::unordered_map<std::string, std::string>;
    const FolderIndex& listing(const std::string& folder, CodePage cp);
    std::optional<std::string> findPath(const std::string& path, CodePage cp);
    std::optional<std::string> resolveUncached(std::string_view stored, CodePage cp);

    std::string base_;
    std::optional<std::string> realBase_;
    bool realBaseKnown_ = false;
    std::map<std::pair<std::string, CodePage>, std::optional<std::string>> resolved_;
    std::map<std::pair<std::string, CodePage>, FolderIndex> folders_;
};

// One look-up with a resolver of its own (see StoredNameResolver::resolve).
std::optional<std::string> resolveStoredName(std::string_view stored, CodePage cp,
                                             const std::string& baseFolder);

} // namespace vantor
