#pragma once
// What the main window asks of the desktop: message boxes, the file and folder dialogs and the
// busy cursor. The window reaches them only through this interface, so tests hand it a double
// that records the messages and answers the dialogs, and nothing modal ever blocks a test.

#include <QString>
#include <QStringList>
#include <optional>

class QDialog;
class QWidget;

namespace vantor {

enum class TMessageKind {
    Error,       // stop icon, OK button
    Information, // information icon, OK button
};

enum class TFileDialogKind { Open, Save };

// The answers to the question whether to save changes before they would be lost.
enum class TSaveAnswer { Save, Discard, Cancel };

// One file dialog as the window describes it.
struct TFileDialogSetup {
    QStringList Filters; // one entry per filter: "description|pattern;pattern"
    QString DefaultExt;  // the designed default-extension text, such as "*.mqo"
    QString InitialDir;
    QString FileName; // the name the dialog proposes; empty: none
    bool OverwritePrompt = false; // ask before replacing an existing file
    bool FileMustExist = false;
    bool HideReadOnly = false;
    bool EnableSizing = false;
};

// The folder dialog: a title above the folder tree, the folder it starts at, and whether it
// offers a button for a new folder.
struct TFolderDialogSetup {
    QString Title;
    QString InitialFolder;
    bool NewFolder = false;
};

class TUiServices {
public:
    virtual ~TUiServices() = default;

    // A modal message box over owner, with an OK button.
    virtual void ShowMessage(QWidget* owner, TMessageKind kind, const QString& caption,
                             const QString& text) = 0;
    // A modal question over owner with the buttons 保存する, 保存しない and キャンセル (also the
    // answer of Esc and of the box's close button).
    virtual TSaveAnswer AskSave(QWidget* owner, const QString& caption, const QString& text) = 0;
    // The chosen file's full path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> ExecuteFileDialog(QWidget* owner, TFileDialogKind kind,
                                                     const TFileDialogSetup& setup) = 0;
    // The chosen folder, or nothing when the dialog was cancelled.
    virtual std::optional<QString> ExecuteFolderDialog(QWidget* owner,
                                                       const TFolderDialogSetup& setup) = 0;
    // Shows one of the window's own dialogs (the colour dialog, the about box) modally; true
    // when it closed with OK.
    virtual bool ExecuteDialog(QDialog& dialog) = 0;
    // Opens a local file in the desktop's application for it: the help page in the browser.
    // False when no application could be started for it.
    virtual bool OpenDocument(const QString& path) = 0;
    // The busy cursor over the whole application; calls nest, each End undoes one Begin.
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;
};

// Shows the busy cursor for the lifetime of the object.
class TBusyCursor {
public:
    explicit TBusyCursor(TUiServices& ui) : FUi(ui) { FUi.BeginBusy(); }
    ~TBusyCursor() { FUi.EndBusy(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    TUiServices& FUi;
};

// The real desktop: Qt message boxes, the control library's file and folder dialogs, the
// desktop's default applications, and the application's override cursor.
class TDesktopUiServices : public TUiServices {
public:
    void ShowMessage(QWidget* owner, TMessageKind kind, const QString& caption,
                     const QString& text) override;
    TSaveAnswer AskSave(QWidget* owner, const QString& caption, const QString& text) override;
    std::optional<QString> ExecuteFileDialog(QWidget* owner, TFileDialogKind kind,
                                             const TFileDialogSetup& setup) override;
    std::optional<QString> ExecuteFolderDialog(QWidget* owner,
                                               const TFolderDialogSetup& setup) override;
    bool ExecuteDialog(QDialog& dialog) override;
    bool OpenDocument(const QString& path) override;
    void BeginBusy() override;
    void EndBusy() override;
};

} // namespace vantor
