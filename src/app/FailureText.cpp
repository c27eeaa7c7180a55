#include "app/FailureText.h"

#include "app/MainStrings.h"
#include "app/SystemText.h"
#include "publish/PathHelpers.h"

#include <cerrno>
#include <filesystem>
#include <unistd.h>

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

// Why a file the reader could not open is not readable, asked of the file system afresh.
QString CannotOpenReason(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return Ui(ms::kReasonNoSuchFile);
    }
    if (status.type() == std::filesystem::file_type::directory) {
        return Ui(ms::kReasonIsFolder);
    }
    if (!error && status.type() != std::filesystem::file_type::regular) {
        return Ui(ms::kReasonNotRegularFile); // a FIFO or a device, which the reader refuses
    }
    const int cause = ::access(path.c_str(), R_OK) == 0 ? 0 : errno;
    if (cause == EACCES || cause == EPERM) {
        return Ui(ms::kReasonNotReadable);
    }
    return Ui(ms::kReasonOpenOther).arg(cause);
}

QString ReadFailureReason(const MqoReadResult& result) {
    if (result.notModel) {
        return Ui(ms::kReasonNotAModel);
    }
    if (result.line > 0) {
        return Ui(ms::kReasonDamagedAtLine).arg(result.line);
    }
    return Ui(ms::kReasonDamaged);
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

QString OpenFailureText(const std::string& path, const MqoReadResult& result) {
    std::error_code ignored;
    const bool folder = std::filesystem::is_directory(path, ignored);
    const char* message = ms::kMsgMqoReadFailed;
    QString reason;
    if (folder || result.code == kMqoCannotOpen) {
        message = ms::kMsgMqoCannotOpen;
        reason = CannotOpenReason(path);
    } else if (result.code == kMqoTooManyVertices) {
        message = ms::kMsgMqoTooManyVertices; // the message is the reason
    } else {
        reason = ReadFailureReason(result);
    }
    QString text = Ui(message) + u'\n' + FromSystemText(path);
    if (!reason.isEmpty()) {
        text += u'\n' + reason;
    }
    return text;
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
