#pragma once
// The file and folder dialogs of the editor: TMaxOpenDialog and TMaxSaveDialog, whose filter
// string is built from a list of filter entries, and TMaxFolderDialog, a folder chooser with an
// initial folder, an optional new-folder button and a veto of OK for each highlighted folder.
// All three are components (not widgets): set the properties, call Execute(), read the result.

#include <QFileDialog>
#include <QFlags>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QWidget;

namespace vantor {

// ---- Filter strings: pure functions the file dialogs are built from -----------------------

// The filter string of a list of filter entries ("description|patterns" each): the entries
// joined with "|", nothing before the first or after the last; no entries give "".
QString JoinFilterEntries(const QStringList& entries);

// Qt name filters for a filter string "description|patterns|description|patterns...". The
// patterns are separated by ";" and matched as on the system the filters were written for:
// without regard to case, and "*.*" meaning every file. Each filter reads
// "description (pattern pattern ...)"; the dialogs show only its description. A description
// without patterns at the end is left out.
QStringList NameFiltersFromFilterString(const QString& filter);

// A file pattern that matches without regard to case: "*.jpg" gives "*.[jJ][pP][gG]"; "*.*"
// gives "*".
QString CaseInsensitivePattern(const QString& pattern);

// The suffix a typed file name without one gets, from a default extension written as "mqo",
// ".mqo", "*.mqo" or "*.jpg;*.gif" (the first one counts): "mqo", "jpg". Wildcards give "".
QString DefaultSuffixOf(const QString& defaultExt);

// 1-based index of a dialog's selected name filter in the list the dialog was given, matched
// in full or by its description alone; 0 when it is none of them.
int FilterIndexOf(const QStringList& nameFilters, const QString& selected);

// The window a component's dialog belongs to: the owner's window when the owner is a widget,
// otherwise the application's active window (which may be none).
QWidget* DialogOwnerWindow(const QObject* owner);

// ---- TMaxOpenDialog, TMaxSaveDialog ---------------------------------------------------------

enum class TMaxOpenOption : unsigned {
    // The save dialog asks before an existing file is replaced.
    OverwritePrompt = 1u << 0,
    // No "open read-only" check box. Qt's dialogs never show one; kept so that a window
    // description can state it.
    HideReadOnly = 1u << 1,
    // Only an existing file can be confirmed in the open dialog.
    FileMustExist = 1u << 2,
    // Several files can be chosen in the open dialog (see Files()).
    AllowMultiSelect = 1u << 3,
    // The dialog can be resized. Qt's dialogs always can; kept like HideReadOnly.
    EnableSizing = 1u << 4,
};
Q_DECLARE_FLAGS(TMaxOpenOptions, TMaxOpenOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMaxOpenOptions)

class TMaxOpenDialog : public QObject {
    Q_OBJECT
public:
    // The owner's window (when the owner is a widget) becomes the dialog's parent window.
    explicit TMaxOpenDialog(QObject* owner = nullptr);
    ~TMaxOpenDialog() override;

    // Shows the open dialog modally. True when the user confirmed a file: FileName (and Files)
    // then hold the choice and FilterIndex the filter in use. False on cancel; nothing changes.
    virtual bool Execute();

    // The filter entries, one "description|patterns" each. Every change rebuilds Filter().
    const QStringList& Filters() const { return FFilters; }
    void SetFilters(const QStringList& entries);
    void AddFilter(const QString& entry);
    void ClearFilters();
    // The filter string derived from Filters.
    QString Filter() const { return FFilter; }
    void UpdateFilter();

    QString DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const QString& ext) { FDefaultExt = ext; }
    // Full path of the chosen file; before Execute, the name proposed in the dialog (a path's
    // folder becomes the folder the dialog opens in).
    QString FileName() const { return FFileName; }
    void SetFileName(const QString& name) { FFileName = name; }
    // Every chosen file (one unless AllowMultiSelect).
    QStringList Files() const { return FFiles; }
    // 1-based index of the filter in use.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int index) { FFilterIndex = index; }
    // The folder the dialog opens in when FileName names none.
    QString InitialDir() const { return FInitialDir; }
    void SetInitialDir(const QString& dir) { FInitialDir = dir; }
    TMaxOpenOptions Options() const { return FOptions; }
    void SetOptions(TMaxOpenOptions options) { FOptions = options; }
    // The dialog's caption; empty gives Qt's own caption.
    QString Title() const { return FTitle; }
    void SetTitle(const QString& title) { FTitle = title; }

    // The dialog window while Execute runs (for OnShow handlers and tests), otherwise null.
    QFileDialog* Dialog() const { return FDialog; }

signals:
    // Raised once the dialog is up, inside Execute's modal loop.
    void OnShow();
    // Asked when the user confirms; CanClose = false keeps the dialog open. FileName holds the
    // file about to be chosen. With a handler connected the dialog is always Qt's own, since a
    // system dialog cannot be kept open.
    void OnCanClose(bool& canClose);
    void OnFolderChange();
    void OnSelectionChange();
    void OnTypeChange();

protected:
    // Runs Qt's file dialog in the given mode: the body of both Execute()s.
    bool Run(QFileDialog::AcceptMode mode);

private:
    void Configure(QFileDialog& dialog, QFileDialog::AcceptMode mode) const;

    QStringList FFilters;
    QString FFilter;
    QString FDefaultExt;
    QString FFileName;
    QStringList FFiles;
    int FFilterIndex = 1;
    QString FInitialDir;
    TMaxOpenOptions FOptions = TMaxOpenOption::HideReadOnly | TMaxOpenOption::EnableSizing;
    QString FTitle;
    QPointer<QFileDialog> FDialog;
};

class TMaxSaveDialog : public TMaxOpenDialog {
    Q_OBJECT
public:
    explicit TMaxSaveDialog(QObject* owner = nullptr);
    // Shows the save dialog modally; otherwise as TMaxOpenDialog::Execute.
    bool Execute() override;
};

// ---- TMaxFolderDialog -----------------------------------------------------------------------

// Chooses a folder with Qt's own folder dialog (a system dialog cannot disable its OK button
// for a highlighted folder). The folder highlighted is the one OK would choose: the folder
// selected in the list, or the folder shown when none is.
class TMaxFolderDialog : public QObject {
    Q_OBJECT
public:
    explicit TMaxFolderDialog(QObject* owner = nullptr);
    ~TMaxFolderDialog() override;

    // Shows the dialog modally. True when the user confirmed a folder, which Folder() then
    // holds. False on cancel; Folder() then holds the last folder highlighted.
    virtual bool Execute();

    // The chosen folder; also the folder the dialog opens at (unless CurrentDir). Empty opens
    // at the user's home folder.
    QString Folder() const { return FFolder; }
    void SetFolder(const QString& folder) { FFolder = folder; }
    // Text shown above the folders.
    QString Title() const { return FTitle; }
    void SetTitle(const QString& title) { FTitle = title; }
    // Open at the process's current folder instead of Folder.
    bool CurrentDir() const { return FCurrentDir; }
    void SetCurrentDir(bool on) { FCurrentDir = on; }
    // Offer a new-folder button; without it the dialog cannot create, rename or delete.
    bool NewFolder() const { return FNewFolder; }
    void SetNewFolder(bool on) { FNewFolder = on; }
    // Show a status line under the folders with Text.
    bool TextEnabled() const { return FTextEnabled; }
    void SetTextEnabled(bool on) { FTextEnabled = on; }
    QString Text() const { return FText; }
    void SetText(const QString& text) { FText = text; }

    // The folder chooser while Execute runs (for OnShow handlers and tests), otherwise null.
    // Its window() is the dialog window.
    QFileDialog* Dialog() const { return FDialog; }

signals:
    void OnShow();
    // Asked each time another folder is highlighted (also for the one the dialog opens at);
    // Allow = false disables OK while that folder stays highlighted.
    void OnChangeFolder(bool& allow);

private:
    // The highlighted folder changed, or may have: follow it and ask OnChangeFolder.
    void SelectionChanged();
    void SetOkVetoed(bool vetoed);

    QString FFolder;
    QString FTitle;
    bool FCurrentDir = false;
    bool FNewFolder = false;
    bool FTextEnabled = false;
    QString FText;
    QPointer<QFileDialog> FDialog;
    QString FHighlighted;
    bool FOkVetoed = false;
};

} // namespace vantor
