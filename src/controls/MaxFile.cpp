#include "MaxFile.h"

#include "ControlStrings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

namespace vantor {

// ---- Filter strings -------------------------------------------------------------------------

QString JoinFilterEntries(const QStringList& entries) {
    return entries.join(u'|');
}

QString CaseInsensitivePattern(const QString& pattern) {
    if (pattern == u"*.*") {
        return QStringLiteral("*");
    }
    QString out;
    out.reserve(pattern.size() * 4);
    for (const QChar ch : pattern) {
        const QChar lower = ch.toLower();
        const QChar upper = ch.toUpper();
        if (lower != upper) {
            out += u'[';
            out += lower;
            out += upper;
            out += u']';
        } else {
            out += ch;
        }
    }
    return out;
}

QStringList NameFiltersFromFilterString(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';')) {
            const QString trimmed = pattern.trimmed();
            if (!trimmed.isEmpty()) {
                patterns << CaseInsensitivePattern(trimmed);
            }
        }
        // Qt reads the patterns from the last parentheses of a filter; the description in
        // front of them is what the dialog shows.
        filters << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), patterns.join(u' '));
    }
    return filters;
}

QString DefaultSuffixOf(const QString& defaultExt) {
    QString ext = defaultExt.section(u';', 0, 0).trimmed();
    if (ext.startsWith(u'*')) {
        ext.remove(0, 1);
    }
    if (ext.startsWith(u'.')) {
        ext.remove(0, 1);
    }
    if (ext.contains(u'*') || ext.contains(u'?')) {
        return {};
    }
    return ext;
}

int FilterIndexOf(const QStringList& nameFilters, const QString& selected) {
    const qsizetype exact = nameFilters.indexOf(selected);
    if (exact >= 0) {
        return static_cast<int>(exact) + 1;
    }
    // Dialogs that show only descriptions may report the description alone.
    const QString description = selected.simplified();
    for (qsizetype i = 0; i < nameFilters.size(); ++i) {
        if (nameFilters[i].left(nameFilters[i].lastIndexOf(u'(')).simplified() == description) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

QWidget* DialogOwnerWindow(const QObject* owner) {
    if (const auto* widget = qobject_cast<const QWidget*>(owner)) {
        return widget->window();
    }
    return QApplication::activeWindow();
}

namespace {

// Qt's file dialog with a say before it accepts: a handler can keep it open.
class TFileDialogWindow : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    std::function<bool()> CanAccept;

    void accept() override {
        if (CanAccept && !CanAccept()) {
            return;
        }
        QFileDialog::accept();
    }
};

// Keeps a button disabled while a veto holds, whatever else enables it meanwhile (the file
// dialog re-enables its OK button each time its selection or typed text changes).
class TKeepDisabled : public QObject {
public:
    TKeepDisabled(QObject* parent, const bool& vetoed) : QObject(parent), FVetoed(vetoed) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange && FVetoed) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isEnabled()) {
                widget->setEnabled(false);
            }
        }
        return false;
    }

private:
    const bool& FVetoed;
};

QAbstractButton* AcceptButton(const QFileDialog* dialog) {
    const auto* box = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    if (box == nullptr) {
        return nullptr;
    }
    for (QAbstractButton* button : box->buttons()) {
        if (box->buttonRole(button) == QDialogButtonBox::AcceptRole) {
            return button;
        }
    }
    return nullptr;
}

} // namespace

// ---- TMaxOpenDialog -------------------------------------------------------------------------

TMaxOpenDialog::TMaxOpenDialog(QObject* owner) : QObject(owner) {}

TMaxOpenDialog::~TMaxOpenDialog() = default;

void TMaxOpenDialog::SetFilters(const QStringList& entries) {
    FFilters = entries;
    UpdateFilter();
}

void TMaxOpenDialog::AddFilter(const QString& entry) {
    FFilters << entry;
    UpdateFilter();
}

void TMaxOpenDialog::ClearFilters() {
    FFilters.clear();
    UpdateFilter();
}

void TMaxOpenDialog::UpdateFilter() {
    FFilter = JoinFilterEntries(FFilters);
}

bool TMaxOpenDialog::Execute() {
    return Run(QFileDialog::AcceptOpen);
}

void TMaxOpenDialog::Configure(QFileDialog& dialog, QFileDialog::AcceptMode mode) const {
    if (!FTitle.isEmpty()) {
        dialog.setWindowTitle(FTitle);
    }
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptSave) {
        dialog.setFileMode(QFileDialog::AnyFile);
    } else if (FOptions.testFlag(TMaxOpenOption::AllowMultiSelect)) {
        dialog.setFileMode(QFileDialog::ExistingFiles);
    } else if (FOptions.testFlag(TMaxOpenOption::FileMustExist)) {
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite,
                     !FOptions.testFlag(TMaxOpenOption::OverwritePrompt));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(DefaultSuffixOf(FDefaultExt));

    const QStringList nameFilters = NameFiltersFromFilterString(FFilter);
    if (!nameFilters.isEmpty()) {
        dialog.setNameFilters(nameFilters);
        if (FFilterIndex >= 1 && FFilterIndex <= nameFilters.size()) {
            dialog.selectNameFilter(nameFilters.at(FFilterIndex - 1));
        }
    }

    // A file name with a folder opens the dialog in that folder; otherwise InitialDir does.
    const QFileInfo proposed(FFileName);
    if (!FFileName.isEmpty() && FFileName.contains(u'/')) {
        dialog.setDirectory(proposed.absolutePath());
    } else if (!FInitialDir.isEmpty()) {
        dialog.setDirectory(FInitialDir);
    }
    if (!FFileName.isEmpty()) {
        dialog.selectFile(proposed.fileName());
    }
}

bool TMaxOpenDialog::Run(QFileDialog::AcceptMode mode) {
    TFileDialogWindow dialog(DialogOwnerWindow(parent()));
    // OnCanClose handlers see each candidate in FileName; a cancel puts the proposal back.
    const QString proposed = FFileName;
    const bool canCloseAsked =
        isSignalConnected(QMetaMethod::fromSignal(&TMaxOpenDialog::OnCanClose));
    if (canCloseAsked) {
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.CanAccept = [this, &dialog] {
            FFileName = dialog.selectedFiles().value(0);
            bool canClose = true;
            emit OnCanClose(canClose);
            return canClose;
        };
    }
    Configure(dialog, mode);
    const QStringList nameFilters = dialog.nameFilters();
    connect(&dialog, &QFileDialog::directoryEntered, this, &TMaxOpenDialog::OnFolderChange);
    connect(&dialog, &QFileDialog::currentChanged, this, &TMaxOpenDialog::OnSelectionChange);
    connect(&dialog, &QFileDialog::filterSelected, this, [this, nameFilters](const QString& f) {
        if (const int index = FilterIndexOf(nameFilters, f)) {
            FFilterIndex = index;
        }
        emit OnTypeChange();
    });

    FDialog = &dialog;
    QTimer::singleShot(0, this, [this] {
        if (FDialog != nullptr) {
            emit OnShow();
        }
    });
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    FDialog = nullptr;
    if (!confirmed) {
        FFileName = proposed;
        return false;
    }
    FFiles = dialog.selectedFiles();
    FFileName = FFiles.value(0);
    if (const int index = FilterIndexOf(nameFilters, dialog.selectedNameFilter())) {
        FFilterIndex = index;
    }
    return !FFileName.isEmpty();
}

// ---- TMaxSaveDialog -------------------------------------------------------------------------

TMaxSaveDialog::TMaxSaveDialog(QObject* owner) : TMaxOpenDialog(owner) {}

bool TMaxSaveDialog::Execute() {
    return Run(QFileDialog::AcceptSave);
}

// ---- TMaxFolderDialog -----------------------------------------------------------------------

TMaxFolderDialog::TMaxFolderDialog(QObject* owner) : QObject(owner) {}

TMaxFolderDialog::~TMaxFolderDialog() = default;

namespace {

// The folder OK would choose now: the one highlighted in the list (its name is then in the
// name field), or the folder shown.
QString HighlightedFolder(const QFileDialog* dialog) {
    const QString path = dialog->selectedFiles().value(0);
    const QFileInfo info(path);
    return info.isDir() ? QDir::cleanPath(info.absoluteFilePath()) : QString();
}

} // namespace

void TMaxFolderDialog::SetOkVetoed(bool vetoed) {
    FOkVetoed = vetoed;
    if (QAbstractButton* ok = FDialog ? AcceptButton(FDialog) : nullptr) {
        ok->setEnabled(!vetoed);
    }
}

void TMaxFolderDialog::SelectionChanged() {
    if (FDialog == nullptr) {
        return;
    }
    // Names typed halfway and entries without a folder behind them change nothing.
    const QString folder = HighlightedFolder(FDialog);
    if (folder.isEmpty() || folder == FHighlighted) {
        return;
    }
    FHighlighted = folder;
    FFolder = folder;
    if (isSignalConnected(QMetaMethod::fromSignal(&TMaxFolderDialog::OnChangeFolder))) {
        bool allow = true;
        emit OnChangeFolder(allow);
        SetOkVetoed(!allow);
    }
}

bool TMaxFolderDialog::Execute() {
    QDialog window(DialogOwnerWindow(parent()));
    window.setWindowTitle(QString::fromUtf8(control_strings::kBrowseForFolder));
    auto* layout = new QVBoxLayout(&window);

    auto* title = new QLabel(FTitle, &window);
    title->setWordWrap(true);
    title->setVisible(!FTitle.isEmpty());
    layout->addWidget(title);

    // Qt's folder chooser as a part of the window, so that the title and the status line can
    // sit above and below it.
    auto* chooser = new TFileDialogWindow(&window);
    chooser->setWindowFlags(Qt::Widget);
    chooser->setOption(QFileDialog::DontUseNativeDialog);
    chooser->setFileMode(QFileDialog::Directory);
    chooser->setOption(QFileDialog::ShowDirsOnly);
    chooser->setOption(QFileDialog::ReadOnly, !FNewFolder);
    if (auto* newFolder = chooser->findChild<QToolButton*>(QStringLiteral("newFolderButton"))) {
        newFolder->setVisible(FNewFolder);
    }
    chooser->setLabelText(QFileDialog::Accept, QString::fromUtf8(control_strings::kFolderOk));
    chooser->setLabelText(QFileDialog::Reject, QString::fromUtf8(control_strings::kFolderCancel));
    chooser->CanAccept = [this] { return !FOkVetoed; };
    layout->addWidget(chooser);

    auto* status = new QLabel(FText, &window);
    status->setVisible(FTextEnabled);
    layout->addWidget(status);

    connect(chooser, &QDialog::accepted, &window, &QDialog::accept);
    connect(chooser, &QDialog::rejected, &window, &QDialog::reject);

    QString start;
    if (FCurrentDir) {
        start = QDir::currentPath();
    } else if (!FFolder.isEmpty()) {
        start = FFolder;
    } else {
        start = QDir::homePath();
    }
    chooser->setDirectory(start);

    FDialog = chooser;
    FHighlighted.clear();
    FOkVetoed = false;
    if (QAbstractButton* ok = AcceptButton(chooser)) {
        ok->installEventFilter(new TKeepDisabled(ok, FOkVetoed));
    }
    connect(chooser, &QFileDialog::currentChanged, this, &TMaxFolderDialog::SelectionChanged);
    connect(chooser, &QFileDialog::directoryEntered, this, &TMaxFolderDialog::SelectionChanged);
    if (auto* name = chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        connect(name, &QLineEdit::textChanged, this, &TMaxFolderDialog::SelectionChanged);
    }
    // The folder the dialog opens at counts as the first one highlighted.
    SelectionChanged();

    QTimer::singleShot(0, this, [this] {
        if (FDialog != nullptr) {
            emit OnShow();
        }
    });
    const bool confirmed = window.exec() == QDialog::Accepted;
    const QString chosen = confirmed ? HighlightedFolder(chooser) : QString();
    FDialog = nullptr;
    FOkVetoed = false;
    if (chosen.isEmpty()) {
        return false;
    }
    FFolder = chosen;
    return true;
}

} // namespace vantor
