#include "app/UiServices.h"

#include "controls/MaxFile.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QMessageBox>
#include <QUrl>
#include <memory>

namespace vantor {

void TDesktopUiServices::ShowMessage(QWidget* owner, TMessageKind kind, const QString& caption,
                                     const QString& text) {
    QMessageBox box(kind == TMessageKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                    caption, text, QMessageBox::Ok, owner);
    box.exec();
}

std::optional<QString> TDesktopUiServices::ExecuteFileDialog(QWidget* owner, TFileDialogKind kind,
                                                             const TFileDialogSetup& setup) {
    std::unique_ptr<TMaxOpenDialog> dialog;
    if (kind == TFileDialogKind::Save) {
        dialog = std::make_unique<TMaxSaveDialog>(owner);
    } else {
        dialog = std::make_unique<TMaxOpenDialog>(owner);
    }
    dialog->SetFilters(setup.Filters);
    dialog->SetDefaultExt(setup.DefaultExt);
    dialog->SetInitialDir(setup.InitialDir);
    TMaxOpenOptions options;
    options.setFlag(TMaxOpenOption::OverwritePrompt, setup.OverwritePrompt);
    options.setFlag(TMaxOpenOption::FileMustExist, setup.FileMustExist);
    options.setFlag(TMaxOpenOption::HideReadOnly, setup.HideReadOnly);
    options.setFlag(TMaxOpenOption::EnableSizing, setup.EnableSizing);
    dialog->SetOptions(options);
    if (!dialog->Execute()) {
        return std::nullopt;
    }
    return dialog->FileName();
}

std::optional<QString> TDesktopUiServices::ExecuteFolderDialog(QWidget* owner,
                                                               const TFolderDialogSetup& setup) {
    TMaxFolderDialog dialog(owner);
    dialog.SetTitle(setup.Title);
    dialog.SetFolder(setup.InitialFolder);
    dialog.SetNewFolder(setup.NewFolder);
    if (!dialog.Execute()) {
        return std::nullopt;
    }
    return dialog.Folder();
}

bool TDesktopUiServices::ExecuteDialog(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

void TDesktopUiServices::OpenDocument(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void TDesktopUiServices::BeginBusy() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TDesktopUiServices::EndBusy() {
    QApplication::restoreOverrideCursor();
}

} // namespace vantor
