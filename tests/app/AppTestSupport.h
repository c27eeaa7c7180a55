#pragma once
// Helpers of the editor's tests: a double of the UI services that records every message,
// dialog and opened document and answers the dialogs from queues (an empty queue cancels), and
// a fixture with a window on the null browser pane, a folder of shipped files and a copy of the
// sample house.

#include "TestSupport.h"
#include "app/Main.h"
#include "app/UiServices.h"
#include "browser/NullBrowserPane.h"

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace vantor::test {

struct ShownMessage {
    TMessageKind kind;
    QString caption;
    QString text;
};

class TestUi : public TUiServices {
public:
    void ShowMessage(QWidget*, TMessageKind kind, const QString& caption,
                     const QString& text) override {
        messages.push_back({kind, caption, text});
    }
    // Records the question and answers from saveAnswers; with none left it lets the changes
    // go, as the tests that do not ask about the question expect.
    TSaveAnswer AskSave(QWidget*, const QString&, const QString& text) override {
        questions << text;
        if (saveAnswers.empty()) {
            return TSaveAnswer::Discard;
        }
        const TSaveAnswer answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    std::optional<QString> ExecuteFileDialog(QWidget*, TFileDialogKind kind,
                                             const TFileDialogSetup& setup) override {
        fileDialogs.push_back({kind, setup});
        return Next(fileAnswers);
    }
    std::optional<QString> ExecuteFolderDialog(QWidget*, const TFolderDialogSetup& setup) override {
        folderDialogs.push_back(setup);
        return Next(folderAnswers);
    }
    // Records the dialog's caption and lets the next answer look at it, change it and close
    // it; with no answer left the dialog is cancelled.
    bool ExecuteDialog(QDialog& dialog) override {
        dialogs << dialog.windowTitle();
        if (dialogAnswers.empty()) {
            return false;
        }
        const std::function<bool(QDialog&)> answer = std::move(dialogAnswers.front());
        dialogAnswers.pop_front();
        return answer(dialog);
    }
    bool OpenDocument(const QString& path) override {
        documents << path;
        return documentOpens;
    }
    void BeginBusy() override {
        ++busyDepth;
        ++busyCount;
    }
    void EndBusy() override { --busyDepth; }

    // The texts of the messages shown so far, in order.
    QStringList Texts() const {
        QStringList texts;
        for (const ShownMessage& message : messages) {
            texts << message.text;
        }
        return texts;
    }

    std::vector<ShownMessage> messages;
    std::deque<std::optional<QString>> fileAnswers;
    std::vector<std::pair<TFileDialogKind, TFileDialogSetup>> fileDialogs;
    std::deque<std::optional<QString>> folderAnswers;
    std::vector<TFolderDialogSetup> folderDialogs;
    QStringList dialogs;
    std::deque<std::function<bool(QDialog&)>> dialogAnswers;
    QStringList documents;
    bool documentOpens = true; // whether a browser "starts" for OpenDocument
    QStringList questions;
    std::deque<TSaveAnswer> saveAnswers;
    int busyDepth = 0;
    int busyCount = 0;

private:
    static std::optional<QString> Next(std::deque<std::optional<QString>>& answers) {
        if (answers.empty()) {
            return std::nullopt;
        }
        QString answer = answers.front().value_or(QString());
        const bool given = answers.front().has_value();
        answers.pop_front();
        return given ? std::optional<QString>(answer) : std::nullopt;
    }
};

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

inline bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

// A window on the null browser pane with shipped files of its own: the test page template,
// stand-ins for vtr.jar and LitColor.jpg. models holds the sample house and its texture.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeBytes(shipped.path() / "template.html",
                   readBytes(testDataFile("publish/template.html")));
        writeBytes(shipped.path() / "vtr.jar", "viewer archive");
        writeBytes(shipped.path() / "LitColor.jpg", "cartoon ramp");
        const std::filesystem::path house =
            std::filesystem::path(VANTOR_SOURCE_DIR) / "examples/house";
        std::filesystem::copy_file(house / "house.mqo", models.path() / "house.mqo");
        std::filesystem::copy_file(house / "brick.jpg", models.path() / "brick.jpg");
        form = std::make_unique<TFormMain>(ui, BrowserKind::Null, shipped.folder());
    }
    void TearDown() override { form.reset(); }

    TNullBrowserPane& Browser() { return static_cast<TNullBrowserPane&>(form->Browser()); }
    std::string Sample() const { return models.file("house.mqo"); }
    // Writes a model file into the models folder and returns its path.
    std::string WriteModel(const std::string& name, std::string_view bytes) {
        writeBytes(models.path() / name, bytes);
        return models.file(name);
    }

    TestUi ui;
    TempDir shipped;
    TempDir models;
    std::unique_ptr<TFormMain> form;
};

} // namespace vantor::test
