#include "app/UiServices.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace vantor {

namespace {

// A filter entry "description|patterns" in the form Qt's dialogs read: the description without
// the pattern list it already shows in brackets, then the patterns, blank-separated, in brackets.
QString QtFilter(const QString& entry) {
    const qsizetype bar = entry.indexOf('|');
    QString description = bar < 0 ? entry : entry.left(bar);
    const QString patterns = bar < 0 ? QString() : entry.mid(bar + 1);
    if (description.trimmed().endsWith(')') && description.contains('(')) {
        description = description.left(description.lastIndexOf('(')).trimmed();
    }
    QStringList list;
    for (const QString& pattern : patterns.split(';', Qt::SkipEmptyParts)) {
        list << pattern.trimmed();
    }
    return description + " (" + list.join(' ') + ")";
}

// "*.mqo" and "*.jpg;*.gif" name their first extension.
QString DefaultSuffix(const QString& defaultExt) {
    QString first = defaultExt.section(';', 0, 0).trimmed();
    if (first.startsWith("*.")) {
        first.remove(0, 2);
    }
    return first.contains('*') ? QString() : first;
}

} // namespace

void TDesktopUiServices::ShowMessage(QWidget* owner, TMessageKind kind, const QString& caption,
                                     const QString& text) {
    QMessageBox box(kind == TMessageKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                    caption, text, QMessageBox::Ok, owner);
    box.exec();
}

std::optional<QString> TDesktopUiServices::ExecuteFileDialog(QWidget* owner, TFileDialogKind kind,
                                                             const TFileDialogSpec& spec) {
    QFileDialog dialog(owner, QString(), spec.InitialDir);
    QStringList filters;
    for (const QString& entry : spec.Filters) {
        filters << QtFilter(entry);
    }
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(DefaultSuffix(spec.DefaultExt));
    if (kind == TFileDialogKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !spec.OverwritePrompt);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(spec.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> TDesktopUiServices::ExecuteFolderDialog(QWidget* owner,
                                                               const TFolderDialogSpec& spec) {
    QFileDialog dialog(owner, spec.Title, spec.InitialFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setOption(QFileDialog::ReadOnly, !spec.NewFolder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

void TDesktopUiServices::BeginBusy() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TDesktopUiServices::EndBusy() {
    QApplication::restoreOverrideCursor();
}

} // namespace vantor
