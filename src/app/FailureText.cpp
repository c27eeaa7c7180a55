#include "app/FailureText.h"

#include "app/MainStrings.h"
#include "app/SystemText.h"
#include "publish/PathHelpers.h"

#include <cerrno>
#include <filesystem>

namespace vantor {

namespace ms = main_strings;

namespace {

// A file that cannot be created in a folder that exists (such as one under /proc) is not
// writable there; only a missing folder is "no folder".
bool FolderExists(const std::string& path) {
    const std::optional<std::string> folder = folderOfPath(path, systemCodePage());
    std::error_code ignored;
    return folder && std::filesystem::is_directory(*folder, ignored);
}

} // namespace

QString FileErrorReason(const FileError& error) {
    switch (error.cause) {
    case kFileNotReplaceable:
        return Ui(ms::kReasonNotReplaceable);
    case ENOENT:
        return Ui(FolderExists(error.path) ? ms::kReasonNotWritable : ms::kReasonNoFolder);
    case ENOTDIR:
        return Ui(ms::kReasonNoFolder);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return Ui(ms::kReasonNotWritable);
    case ENOSPC:
    case EDQUOT:
        return Ui(ms::kReasonDiskFull);
    case EISDIR:
        return Ui(ms::kReasonFolderInTheWay);
    case ENAMETOOLONG:
        return Ui(ms::kReasonNameTooLong);
    case EIO:
        return Ui(ms::kReasonDeviceError);
    default:
        return Ui(ms::kReasonOther).arg(error.cause);
    }
}

QString FileFailureText(const char* message, const FileError& error) {
    return Ui(message) + u'\n' + FromSystemText(error.path) + u'\n' + FileErrorReason(error);
}

} // namespace vantor
