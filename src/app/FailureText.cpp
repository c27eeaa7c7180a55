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

const char* PackageErrorReason(const PackageResult& result) {
    switch (result.error) {
    case PackageError::None:
    case PackageError::BadLevel:
        return nullptr;
    case PackageError::NoOutputFolder:
    case PackageError::NoSourceFolder:
        return ms::kReasonNoFolder;
    case PackageError::BadPackageName:
        return ms::kReasonBadPackageName;
    case PackageError::PackageNameTooLong:
        return ms::kReasonPackageNameTooLong;
    case PackageError::TargetIsModel:
        return ms::kReasonTargetIsModel;
    case PackageError::TargetIsInput:
        return ms::kReasonTargetIsInput;
    case PackageError::ImageNamedLikePackageFile:
        return ms::kReasonImageNamedLikePackageFile;
    case PackageError::PageImagesShareName:
        return ms::kReasonPageImagesShareName;
    case PackageError::TemplateUnreadable:
        return ms::kReasonTemplateUnreadable;
    case PackageError::EmptyPage:
        return ms::kReasonEmptyPage;
    case PackageError::NoTempFolder:
        return ms::kReasonNoTempFolder;
    case PackageError::ModelTooLarge:
        return ms::kReasonModelTooLarge;
    // The writer keeps no system error number for these; a missing folder is told apart
    // because it is the one a user fixes differently.
    case PackageError::CannotCreateWorkFolder:
    case PackageError::CannotWriteTextureFile:
    case PackageError::CannotWriteModelFile:
    case PackageError::CannotWriteArchive:
    case PackageError::CannotWritePage:
        return FolderExists(result.path) ? ms::kReasonNotWritable : ms::kReasonNoFolder;
    }
    return nullptr;
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

QString PackageFailureText(const char* message, const PackageResult& result) {
    const char* reason = PackageErrorReason(result);
    if (reason == nullptr) {
        return Ui(message);
    }
    QString text = Ui(message);
    if (!result.path.empty()) {
        text += u'\n' + FromSystemText(result.path);
    }
    return text + u'\n' + Ui(reason);
}

} // namespace vantor
