#include "controls/MaxFile.h"

#include "ControlsTestSupport.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>
#include <functional>

namespace vantor {
namespace {

// ---- Filter strings -------------------------------------------------------------------------

TEST(FileDialogFilters, EntriesJoinIntoTheFilterStringAtEveryChange) {
    TMaxOpenDialog dialog;
    EXPECT_EQ(dialog.Filter(), "");
    dialog.SetFilters({"JPEG (*.jpg)|*.jpg"});
    EXPECT_EQ(dialog.Filter(), "JPEG (*.jpg)|*.jpg");
    dialog.AddFilter("GIF (*.gif)|*.gif");
    EXPECT_EQ(dialog.Filter(), "JPEG (*.jpg)|*.jpg|GIF (*.gif)|*.gif");
    dialog.ClearFilters();
    EXPECT_EQ(dialog.Filter(), "");
}

bool Matches(const QString& nameFilter, const QString& fileName) {
    // Qt takes the patterns from the last parentheses and separates them by blanks.
    const QString inner = nameFilter.section(u'(', -1).chopped(1);
    for (const QString& pattern : inner.split(u' ', Qt::SkipEmptyParts)) {
        const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern));
        if (re.match(fileName).hasMatch()) {
            return true;
        }
    }
    return false;
}

TEST(FileDialogFilters, NameFiltersMatchWithoutCaseAndStarDotStarTakesEveryFile) {
    const QStringList filters = NameFiltersFromFilterString(
        "対応するすべての形式 (*.jpg;*.gif)|*.jpg;*.gif|JPEG (*.jpg)|*.jpg|GIF (*.gif)|*.gif|"
        "すべてのファイル (*.*)|*.* ");
    ASSERT_EQ(filters.size(), 4);
    EXPECT_EQ(filters[0], "対応するすべての形式 (*.jpg;*.gif) (*.[jJ][pP][gG] *.[gG][iI][fF])");
    EXPECT_EQ(filters[3], "すべてのファイル (*.*) (*)");
    EXPECT_TRUE(Matches(filters[0], "PHOTO.JPG"));
    EXPECT_TRUE(Matches(filters[0], "anim.gif"));
    EXPECT_FALSE(Matches(filters[0], "house.mqo"));
    EXPECT_FALSE(Matches(filters[1], "anim.gif"));
    EXPECT_TRUE(Matches(filters[3], "README")); // no extension at all
    // A description without patterns at the end is left out; an empty string gives nothing.
    EXPECT_EQ(NameFiltersFromFilterString("MQO|*.mqo|dangling").size(), 1);
    EXPECT_TRUE(NameFiltersFromFilterString("").isEmpty());
}

TEST(FileDialogFilters, DefaultSuffixFromTheDefaultExtension) {
    EXPECT_EQ(DefaultSuffixOf("*.mqo"), "mqo");
    EXPECT_EQ(DefaultSuffixOf("*.jpg;*.gif"), "jpg");
    EXPECT_EQ(DefaultSuffixOf(".qls"), "qls");
    EXPECT_EQ(DefaultSuffixOf("vsn"), "vsn");
    EXPECT_EQ(DefaultSuffixOf("*.*"), "");
    EXPECT_EQ(DefaultSuffixOf(""), "");
}

// ---- Driving the dialogs --------------------------------------------------------------------

class FileDialogTest : public test::ControlTest {
protected:
    void SetUp() override {
        test::ControlTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        root = QDir(folder.path()).canonicalPath();
    }

    QString Path(const QString& name) const { return root + u'/' + name; }

    void MakeFile(const QString& name) const {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    void MakeFolder(const QString& name) const { ASSERT_TRUE(QDir(root).mkpath(name)); }

    // Runs drive on the dialog once it is up, with a time limit after which the dialog is
    // rejected so that a failing test cannot hang.
    template <typename Component>
    bool ExecuteDriven(Component& component, std::function<void(QFileDialog*)> drive) {
        QObject::connect(
            &component, &Component::OnShow, &component,
            [&component, drive] {
                QFileDialog* dialog = component.Dialog();
                QTimer::singleShot(5000, dialog, [dialog] { dialog->window()->close(); });
                drive(dialog);
            },
            Qt::SingleShotConnection);
        return component.Execute();
    }

    static QLineEdit* NameEdit(QFileDialog* dialog) {
        return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    }

    static QAbstractButton* OkButton(QFileDialog* dialog) {
        auto* box = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        for (QAbstractButton* button : box->buttons()) {
            if (box->buttonRole(button) == QDialogButtonBox::AcceptRole) {
                return button;
            }
        }
        return nullptr;
    }

    // Highlights an entry in the detail view the way a click does.
    static void Highlight(QFileDialog* dialog, const QString& path) {
        auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        auto* model = qobject_cast<QFileSystemModel*>(view->model());
        ASSERT_NE(model, nullptr);
        const QModelIndex index = model->index(path);
        ASSERT_TRUE(index.isValid());
        view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                           QItemSelectionModel::Rows);
    }

    QTemporaryDir folder;
    QString root;
};

TEST_F(FileDialogTest, OpenDialogStartsFromTheProposedFileAndReportsTheChoice) {
    MakeFile("house.mqo");
    MakeFile("CAR.MQO");
    TMaxOpenDialog open(window.get());
    open.SetFilters({"メタセコイア オブジェクト (*.mqo)|*.mqo", "すべてのファイル (*.*)|*.*"});
    open.SetDefaultExt("*.mqo");
    open.SetOptions(TMaxOpenOption::HideReadOnly | TMaxOpenOption::FileMustExist |
                    TMaxOpenOption::EnableSizing);
    open.SetFileName(Path("house.mqo"));
    open.SetTitle("open");
    bool showed = false;
    const bool confirmed = ExecuteDriven(open, [&](QFileDialog* dialog) {
        showed = true;
        EXPECT_EQ(dialog->parentWidget(), window.get());
        EXPECT_EQ(dialog->windowTitle(), "open");
        EXPECT_EQ(dialog->directory().canonicalPath(), root);
        EXPECT_EQ(NameEdit(dialog)->text(), "house.mqo");
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(dialog->nameFilters().size(), 2);
        EXPECT_EQ(dialog->defaultSuffix(), "mqo");
        dialog->selectNameFilter(dialog->nameFilters().at(1));
        dialog->selectFile("CAR.MQO");
        OkButton(dialog)->click();
    });
    EXPECT_TRUE(showed);
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(open.FileName(), Path("CAR.MQO"));
    EXPECT_EQ(open.FilterIndex(), 2);
    EXPECT_EQ(open.Dialog(), nullptr);
}

TEST_F(FileDialogTest, CancelKeepsTheFileName) {
    TMaxOpenDialog open;
    open.SetFileName("house.mqo");
    EXPECT_FALSE(ExecuteDriven(open, [](QFileDialog* dialog) { dialog->reject(); }));
    EXPECT_EQ(open.FileName(), "house.mqo");
}

TEST_F(FileDialogTest, SaveDialogAppendsTheDefaultExtensionAndAsksOnlyWhenTold) {
    MakeFile("old.mqo");
    TMaxSaveDialog save;
    save.SetDefaultExt("*.mqo");
    save.SetInitialDir(root);
    save.SetFilters({"メタセコイア オブジェクト (*.mqo)|*.mqo"});
    EXPECT_TRUE(ExecuteDriven(save, [](QFileDialog* dialog) {
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        NameEdit(dialog)->setText("new");
        OkButton(dialog)->click();
    }));
    EXPECT_EQ(save.FileName(), Path("new.mqo"));

    // Without the overwrite prompt an existing file is taken as it is.
    EXPECT_TRUE(ExecuteDriven(save, [](QFileDialog* dialog) {
        NameEdit(dialog)->setText("old.mqo");
        OkButton(dialog)->click();
    }));
    EXPECT_EQ(save.FileName(), Path("old.mqo"));

    save.SetOptions(TMaxOpenOption::OverwritePrompt);
    ExecuteDriven(save, [](QFileDialog* dialog) {
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        dialog->reject();
    });
}

TEST_F(FileDialogTest, CanCloseHandlerKeepsTheDialogOpen) {
    MakeFile("a.mqo");
    MakeFile("b.mqo");
    TMaxOpenDialog open;
    open.SetInitialDir(root);
    QStringList asked;
    QObject::connect(&open, &TMaxOpenDialog::OnCanClose, [&](bool& canClose) {
        asked << QFileInfo(open.FileName()).fileName();
        canClose = open.FileName().endsWith("b.mqo");
    });
    EXPECT_TRUE(ExecuteDriven(open, [](QFileDialog* dialog) {
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        dialog->selectFile("a.mqo");
        OkButton(dialog)->click();
        EXPECT_TRUE(dialog->isVisible());
        dialog->selectFile("b.mqo");
        OkButton(dialog)->click();
    }));
    EXPECT_EQ(asked, (QStringList{"a.mqo", "b.mqo"}));
    EXPECT_EQ(open.FileName(), Path("b.mqo"));

    // A refused candidate does not outlive a cancel.
    open.SetFileName("proposed.mqo");
    EXPECT_FALSE(ExecuteDriven(open, [](QFileDialog* dialog) {
        dialog->selectFile("a.mqo");
        OkButton(dialog)->click();
        dialog->reject();
    }));
    EXPECT_EQ(open.FileName(), "proposed.mqo");
}

TEST_F(FileDialogTest, FolderDialogVetoDisablesOkWhileThatFolderIsHighlighted) {
    MakeFolder("public");
    MakeFolder("locked");
    TMaxFolderDialog chooser(window.get());
    chooser.SetFolder(root);
    chooser.SetTitle("保存先フォルダを指定してください");
    chooser.SetNewFolder(true);
    QStringList asked;
    QObject::connect(&chooser, &TMaxFolderDialog::OnChangeFolder, [&](bool& allow) {
        asked << chooser.Folder();
        allow = !chooser.Folder().endsWith("/locked");
    });
    const bool confirmed = ExecuteDriven(chooser, [&](QFileDialog* dialog) {
        const QList<QLabel*> labels = dialog->window()->findChildren<QLabel*>();
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](QLabel* label) {
            return label->isVisible() && label->text() == "保存先フォルダを指定してください";
        }));
        EXPECT_TRUE(dialog->findChild<QToolButton*>("newFolderButton")->isVisible());
        QAbstractButton* ok = OkButton(dialog);
        EXPECT_EQ(ok->text(), "OK");
        EXPECT_TRUE(ok->isEnabled());

        Highlight(dialog, Path("locked"));
        EXPECT_EQ(chooser.Folder(), Path("locked"));
        EXPECT_FALSE(ok->isEnabled());
        // The dialog's own refresh of its button does not lift the veto, nor does OK by key.
        NameEdit(dialog)->setText("locked");
        EXPECT_FALSE(ok->isEnabled());
        static_cast<QDialog*>(dialog)->accept(); // as Enter would
        EXPECT_TRUE(dialog->window()->isVisible());

        Highlight(dialog, Path("public"));
        EXPECT_TRUE(ok->isEnabled());
        ok->click();
    });
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(chooser.Folder(), Path("public"));
    EXPECT_EQ(asked, (QStringList{root, Path("locked"), Path("public")}));
}

TEST_F(FileDialogTest, FolderDialogOpensAtTheCurrentDirectoryWhenAskedAndCancelKeepsTheLastOne) {
    MakeFolder("elsewhere");
    TMaxFolderDialog chooser;
    chooser.SetFolder(Path("elsewhere"));
    chooser.SetCurrentDir(true);
    chooser.SetTextEnabled(true);
    chooser.SetText("status");
    const bool confirmed = ExecuteDriven(chooser, [&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->directory().absolutePath(), QDir::currentPath());
        EXPECT_EQ(chooser.Folder(), QDir::currentPath());
        // No new-folder button and nothing that creates one without NewFolder.
        EXPECT_FALSE(dialog->findChild<QToolButton*>("newFolderButton")->isVisible());
        EXPECT_TRUE(dialog->testOption(QFileDialog::ReadOnly));
        const QList<QLabel*> labels = dialog->window()->findChildren<QLabel*>();
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](QLabel* label) {
            return label->isVisible() && label->text() == "status";
        }));
        // Into another folder, as a double click on it goes.
        dialog->setDirectory(root);
        auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        auto* model = qobject_cast<QFileSystemModel*>(view->model());
        emit view->activated(model->index(Path("elsewhere")));
        EXPECT_EQ(dialog->directory().absolutePath(), Path("elsewhere"));
        dialog->reject();
    });
    EXPECT_FALSE(confirmed);
    EXPECT_EQ(chooser.Folder(), Path("elsewhere"));
}

} // namespace
} // namespace vantor
