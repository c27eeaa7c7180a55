#include "app/UiServices.h"

#include "app/MainStrings.h"
#include "app/SystemText.h"
#include "controls/MaxFile.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <memory>

namespace vantor {

void TDesktopUiServices::ShowMessage(QWidget* owner, TMessageKind kind, const QString& caption,
                                     const QString& text) {
    QMessageBox box(kind == TMessageKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                    caption, text, QMessageBox::Ok, owner);
    box.exec();
}

TSaveAnswer TDesktopUiServices::AskSave(QWidget* owner, const QString& caption,
                                       const QString& text) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::NoButton, owner);
    QPushButton* save = box.addButton(Ui(main_strings::kBtnSave), QMessageBox::AcceptRole);
    QPushButton* discard =
        box.addButton(Ui(main_strings::kBtnDiscard), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(Ui(main_strings::kBtnCancel), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) {
        return TSaveAnswer::Save;
    }
    return box.clickedButton() == discard ? TSaveAnswer::Discard : TSaveAnswer::Cancel;
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
    dialog->SetFileName(setup.FileName);
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

bool TDesktopUiServices::OpenDocument(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void TDesktopUiServices::BeginBusy() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TDesktopUiServices::EndBusy() {
    QApplication::restoreOverrideCursor();
}

} // namespace vantor
