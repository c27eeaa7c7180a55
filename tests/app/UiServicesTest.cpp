// The desktop's UI services on the real dialogs: what the window describes reaches the message
// box and the file and folder dialogs, and their answers come back. Each modal dialog is
// answered from inside its own loop.

#include "AppTestSupport.h"
#include "app/MainDialogs.h"
#include "app/MainStrings.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QAbstractButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace vantor::test {
namespace {

// Runs answer on the modal dialog once it is up (it gets the dialog window), from inside the
// dialog's own loop. A dialog that never shows up fails the test instead of hanging it.
void WhenModal(std::function<void(QWidget*)> answer) {
    auto* poll = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, tries, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr && ++*tries < 200) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        if (modal == nullptr) {
            ADD_FAILURE() << "no modal dialog appeared";
            return;
        }
        answer(modal);
    });
    poll->start(10);
}

QFileDialog* ChooserIn(QWidget* window) {
    if (auto* dialog = qobject_cast<QFileDialog*>(window)) {
        return dialog;
    }
    return window->findChild<QFileDialog*>();
}

TEST(DesktopUiServices, MessagesShowTheirCaptionTextAndIcon) {
    TDesktopUiServices ui;
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->accept();
    });
    ui.ShowMessage(nullptr, TMessageKind::Error, "ERROR", QString::fromUtf8("失敗"));
    EXPECT_EQ(caption, "ERROR");
    EXPECT_EQ(text, QString::fromUtf8("失敗"));
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(DesktopUiServices, TheSaveQuestionAnswersWithTheButtonPressed) {
    TDesktopUiServices ui;
    const auto answerBy = [&](const char* button) {
        QStringList buttons;
        WhenModal([&buttons, button](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* shown : box->buttons()) {
                buttons << shown->text();
            }
            if (button == nullptr) {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* shown : box->buttons()) {
                if (shown->text() == QString::fromUtf8(button)) {
                    shown->click();
                }
            }
        });
        const TSaveAnswer answer = ui.AskSave(nullptr, "SAVE", "?");
        EXPECT_EQ(buttons.size(), 3);
        EXPECT_TRUE(buttons.contains(QString::fromUtf8(main_strings::kBtnSave)));
        return answer;
    };
    EXPECT_EQ(answerBy(main_strings::kBtnSave), TSaveAnswer::Save);
    EXPECT_EQ(answerBy(main_strings::kBtnDiscard), TSaveAnswer::Discard);
    EXPECT_EQ(answerBy(main_strings::kBtnCancel), TSaveAnswer::Cancel);
    EXPECT_EQ(answerBy(nullptr), TSaveAnswer::Cancel); // Esc
}

TEST(DesktopUiServices, TheOpenDialogReturnsTheChosenFileOrNothing) {
    TempDir folder;
    writeBytes(folder.path() / "house.mqo", "model");
    TDesktopUiServices ui;
    TFileDialogSetup setup = OpenDlgSetup();
    setup.InitialDir = Q(folder.path().string());

    QStringList filters;
    QString shownFolder;
    WhenModal([&](QWidget* modal) {
        QFileDialog* chooser = ChooserIn(modal);
        ASSERT_NE(chooser, nullptr);
        filters = chooser->nameFilters();
        shownFolder = chooser->directory().absolutePath();
        chooser->selectFile(Q(folder.file("house.mqo")));
        static_cast<QDialog*>(chooser)->accept(); // as the OK button does
    });
    const std::optional<QString> chosen =
        ui.ExecuteFileDialog(nullptr, TFileDialogKind::Open, setup);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, Q(folder.file("house.mqo")));
    EXPECT_EQ(shownFolder, Q(folder.path().string()));
    // Zipped models are offered with the text ones, and any file after them.
    ASSERT_EQ(filters.size(), 2);
    EXPECT_TRUE(filters[0].startsWith(QString::fromUtf8("メタセコイア オブジェクト (*.mqo;*.mqoz)")));
    EXPECT_TRUE(filters[1].startsWith(QString::fromUtf8("すべてのファイル (*)")));

    WhenModal([](QWidget* modal) { ChooserIn(modal)->reject(); });
    EXPECT_FALSE(ui.ExecuteFileDialog(nullptr, TFileDialogKind::Open, setup).has_value());
}

TEST(DesktopUiServices, TheSettingsSaveDialogGivesATypedNameTheSettingsExtension) {
    TempDir folder;
    TDesktopUiServices ui;
    TFileDialogSetup setup = SaveQLSDlgSetup();
    setup.InitialDir = Q(folder.path().string());
    WhenModal([](QWidget* modal) {
        QFileDialog* chooser = ChooserIn(modal);
        ASSERT_NE(chooser, nullptr);
        chooser->selectFile("scene"); // typed without an extension
        static_cast<QDialog*>(chooser)->accept();
    });
    const std::optional<QString> chosen =
        ui.ExecuteFileDialog(nullptr, TFileDialogKind::Save, setup);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, Q(folder.file("scene.vsn")));
}

TEST(DesktopUiServices, TheFolderDialogStartsAtTheGivenFolder) {
    TempDir folder;
    std::filesystem::create_directory(folder.path() / "out");
    TDesktopUiServices ui;
    QString shownFolder;
    WhenModal([&](QWidget* modal) {
        QFileDialog* chooser = ChooserIn(modal);
        ASSERT_NE(chooser, nullptr);
        shownFolder = chooser->directory().absolutePath();
        // Into the folder and OK with nothing selected in it: the folder shown is the choice.
        // (Selecting an entry would race the chooser's listing, which fills in the background.)
        chooser->setDirectory(Q(folder.file("out")));
        static_cast<QDialog*>(chooser)->accept(); // as the OK button does
    });
    const std::optional<QString> chosen =
        ui.ExecuteFolderDialog(nullptr, SaveFolderSetup(Q(folder.path().string())));
    EXPECT_EQ(shownFolder, Q(folder.path().string()));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, Q(folder.file("out")));
}

} // namespace
} // namespace vantor::test
