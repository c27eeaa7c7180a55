#include "app/UiServices.h"

#include "controls/MaxFile.h"

#include <QApplication>
#include <QMessageBox>
#include <memory>

namespace vantor {

void TDesktopUiServices::ShowMessage(QWidget* owner, TMessageKind kind, const QString& caption,
                                     const QString& text) {
    QMessageBox box(kind == TMessageKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                    caption, text, QMessageBox::Ok, owner);
    box.exec();
}

std::optional<QString> TDesktopUiServices::ExecuteFileDialog(QWidget* owner, TFileDialogKind kind,
                                                             const TFileDialogSpec& spec) {
    std::unique_ptr<TMaxOpenDialog> dialog;
    if (kind == TFileDialogKind::Save) {
        dialog = std::make_unique<TMaxSaveDialog>(owner);
    } else {
        dialog = std::make_unique<TMaxOpenDialog>(owner);
    }
    dialog->SetFilters(spec.Filters);
    dialog->SetDefaultExt(spec.DefaultExt);
    dialog->SetInitialDir(spec.InitialDir);
    TMaxOpenOptions options;
    options.setFlag(TMaxOpenOption::OverwritePrompt, spec.OverwritePrompt);
    options.setFlag(TMaxOpenOption::FileMustExist, spec.FileMustExist);
    options.setFlag(TMaxOpenOption::HideReadOnly, spec.HideReadOnly);
    options.setFlag(TMaxOpenOption::EnableSizing, spec.EnableSizing);
    dialog->SetOptions(options);
    if (!dialog->Execute()) {
        return std::nullopt;
    }
    return dialog->FileName();
}

std::optional<QString> TDesktopUiServices::ExecuteFolderDialog(QWidget* owner,
                                                               const TFolderDialogSpec& spec) {
    TMaxFolderDialog dialog(owner);
    dialog.SetTitle(spec.Title);
    dialog.SetFolder(spec.InitialFolder);
    dialog.SetNewFolder(spec.NewFolder);
    if (!dialog.Execute()) {
        return std::nullopt;
    }
    return dialog.Folder();
}

void TDesktopUiServices::BeginBusy() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TDesktopUiServices::EndBusy() {
    QApplication::restoreOverrideCursor();
}

} // namespace vantor
