// The material tab: showing a material through its track bars and number fields (and what
// that round trip does to the material), editing factors and image names in place, the browse
// buttons, and the handlers that must do nothing while no material is selected.

#include "app/MaterialTab.h"

#include "AppTestSupport.h"
#include "app/Color.h"
#include "app/ColorBox.h"
#include "app/MainStrings.h"
#include "controls/MaxBtn.h"
#include "controls/MaxColorPanel.h"
#include "controls/MaxNumberEdit.h"
#include "controls/MaxGroup.h"
#include "controls/MaxList.h"
#include "model/QelScene.h"

#include <QPushButton>
#include <QTest>

namespace vantor::test {
namespace {

namespace ms = main_strings;

class MaterialTab : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        ASSERT_TRUE(form->OpenMQO(Sample()));
        ui.messages.clear();
    }
    TMaterialTab& Tab() { return form->MaterialTab(); }
    QelMaterial& Material(int i) { return form->Scene().materials[static_cast<std::size_t>(i)]; }
    // Selects a material as the user does: a click on its item.
    void Select(int i) {
        TMaxListBox* list = Tab().ListBoxMaterial;
        list->show();
        const QRect item = list->visualItemRect(list->item(i));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        ASSERT_EQ(list->ItemIndex(), i);
    }
};

TEST_F(MaterialTab, OpeningAModelShowsItsFirstMaterial) {
    TMaterialTab& tab = Tab();
    // "レンガ": white, textured with brick.jpg.
    EXPECT_EQ(tab.PaintMaterial->Color(), 0xFFFFFFu);
    EXPECT_EQ(tab.EditDif->Edit()->text(), "0.80");
    EXPECT_EQ(tab.EditSpcPower->Edit()->text(), "5.00");
    EXPECT_EQ(tab.TrackSpcPower->GetPosition(), 5.0f);
    EXPECT_EQ(tab.EditTexture->text(), "brick.jpg");

    Select(3); // "窓ガラス": col(0.550 0.780 0.950 0.550), emi 0.1, spc 0.9, power 60
    EXPECT_EQ(tab.PaintMaterial->Color(), 140u | 198u << 8 | 242u << 16); // truncated channels
    EXPECT_EQ(tab.EditAlpha->Edit()->text(), "0.55");
    EXPECT_EQ(tab.EditEmi->Edit()->text(), "0.10");
    EXPECT_EQ(tab.EditSpcPower->Edit()->text(), "60.00");
    EXPECT_TRUE(tab.EditTexture->text().isEmpty());
    EXPECT_EQ(Material(3).tex, "");
}

TEST_F(MaterialTab, ShowingAMaterialRoundsItsFactorsThroughTheFields) {
    TMaterialTab& tab = Tab();
    Material(0).envPower = 0.5f;
    Select(0); // the fields now show 0.80, 0.60 and 0.50
    Material(1).dif = 0.857f;
    Material(1).amb = 1.5f;
    Material(1).envPower = 2.5f;
    Select(1);
    EXPECT_EQ(tab.EditDif->Edit()->text(), "0.86");
    EXPECT_EQ(Material(1).dif, 0.86f);
    EXPECT_EQ(tab.TrackDif->GetPosition(), 0.86f);
    EXPECT_EQ(tab.EditAmb->Edit()->text(), "1.00");
    EXPECT_EQ(Material(1).amb, 1.0f);
    // The strength passes through the track bar, which ends at 1.
    EXPECT_EQ(tab.TrackEnvPow->GetPosition(), 1.0f);
    EXPECT_EQ(tab.EditEnvPow->Edit()->text(), "1.00");
    EXPECT_EQ(Material(1).envPower, 1.0f);

    // Nothing is stored when the field already shows the rounded text.
    Material(2).dif = 0.857f;
    Material(2).envPower = 2.5f;
    Select(2);
    EXPECT_EQ(tab.EditDif->Edit()->text(), "0.86");
    EXPECT_EQ(Material(2).dif, 0.857f);
    EXPECT_EQ(tab.EditEnvPow->Edit()->text(), "1.00");
    EXPECT_EQ(Material(2).envPower, 2.5f);
}

TEST_F(MaterialTab, TypedFactorsAreStoredAndMoveTheTrackBarQuietly) {
    TMaterialTab& tab = Tab();
    int trackChanges = 0;
    QObject::connect(tab.TrackEnvPow, &TMaxTrack::OnChange, [&] { ++trackChanges; });
    tab.EditEnvPow->Edit()->setText("2.5");
    EXPECT_EQ(Material(0).envPower, 2.5f);
    EXPECT_EQ(tab.TrackEnvPow->GetPosition(), 1.0f);
    EXPECT_EQ(trackChanges, 0);
    tab.EditAlpha->Edit()->setText("0.3");
    EXPECT_EQ(Material(0).col[3], 0.3f);
    EXPECT_EQ(tab.TrackAlpha->GetPosition(), 0.3f);
    // Showing the material again brings the strength back within the bar.
    Select(0);
    EXPECT_EQ(tab.EditEnvPow->Edit()->text(), "1.00");
    EXPECT_EQ(Material(0).envPower, 1.0f);
    EXPECT_EQ(Material(0).col[3], 0.3f);
}

TEST_F(MaterialTab, DraggingATrackBarStoresWhatTheFieldShows) {
    TMaterialTab& tab = Tab();
    tab.TrackSpcPower->show();
    QTest::mousePress(tab.TrackSpcPower, Qt::LeftButton, {}, QPoint(40, 6));
    QTest::mouseMove(tab.TrackSpcPower, QPoint(77, 6));
    QTest::mouseRelease(tab.TrackSpcPower, Qt::LeftButton, {}, QPoint(77, 6));
    EXPECT_EQ(tab.EditSpcPower->Edit()->text(), "75.00");
    EXPECT_EQ(Material(0).power, 75.0f);
    // A position between two hundredths snaps to the field's two decimals.
    tab.TrackSpcPower->FSetPosition(37.456f);
    EXPECT_EQ(tab.EditSpcPower->Edit()->text(), "37.46");
    EXPECT_EQ(Material(0).power, 37.46f);
    EXPECT_EQ(tab.TrackSpcPower->GetPosition(), 37.46f);
}

TEST_F(MaterialTab, ImageNamesAreStoredInTheModelsCodePage) {
    TMaterialTab& tab = Tab();
    ASSERT_EQ(form->Scene().codePage, CodePage::Cp932);
    tab.EditTexture->setText("");
    EXPECT_EQ(Material(0).tex, ""); // no texture any more
    tab.EditBump->setText(QString::fromUtf8("木目.jpg"));
    EXPECT_EQ(Material(0).bump, "\x96\xd8\x96\xda.jpg");

    // A name the code page cannot hold stays in the field, marked, and is not stored.
    tab.EditEnvMap->setText(QString::fromUtf8("café.jpg"));
    EXPECT_EQ(Material(0).env, "");
    EXPECT_EQ(tab.EditEnvMap->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(tab.EditEnvMap->toolTip(), QString::fromUtf8(ms::kHintNameNotStorable));
    tab.EditEnvMap->setText("cafe.jpg");
    EXPECT_EQ(Material(0).env, "cafe.jpg");
    EXPECT_NE(tab.EditEnvMap->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_TRUE(tab.EditEnvMap->toolTip().isEmpty());
}

TEST_F(MaterialTab, ShowingAMaterialKeepsNameBytesTheCodePageCannotRead) {
    // Bytes that are no Shift-JIS text show as replacement marks, and the name stays as read.
    Material(1).tex = "bad\xff\xfe.jpg";
    Select(1);
    EXPECT_EQ(Material(1).tex, "bad\xff\xfe.jpg");
    EXPECT_TRUE(Tab().EditTexture->toolTip().isEmpty());
}

TEST_F(MaterialTab, BrowseButtonsPutTheChosenImageIntoTheirMaterial) {
    TMaterialTab& tab = Tab();
    Select(2);
    const struct {
        QPushButton* button;
        TMaxEdit* field;
        std::string QelMaterial::*stored;
    } rows[] = {
        {tab.BtnLoadTexture, tab.EditTexture, &QelMaterial::tex},
        {tab.BtnLoadAlphaPlane, tab.EditAlphaPlane, &QelMaterial::aplane},
        {tab.BtnLoadBump, tab.EditBump, &QelMaterial::bump},
        {tab.BtnLoadEnvMap, tab.EditEnvMap, &QelMaterial::env},
    };
    for (const auto& row : rows) {
        const QString chosen = "/pictures/" + row.field->objectName() + ".jpg";
        ui.fileAnswers.push_back(chosen);
        row.button->click();
        EXPECT_EQ(row.field->text(), chosen);
        EXPECT_EQ(Q(Material(2).*row.stored), chosen);
        row.button->click(); // cancelled
        EXPECT_EQ(Q(Material(2).*row.stored), chosen);
    }
    EXPECT_EQ(ui.fileDialogs.size(), 8u);
    EXPECT_EQ(Material(0).tex, "brick.jpg");
}

TEST_F(MaterialTab, WithoutASelectionNothingReachesAMaterial) {
    TMaterialTab& tab = Tab();
    const std::vector<QelMaterial> before = form->Scene().materials;
    tab.ListBoxMaterial->SetItemIndex(-1);
    tab.EditDif->Edit()->setText("0.25");
    tab.TrackAmb->FSetPosition(0.5f);
    tab.EditTexture->setText("other.jpg");
    tab.BtnLoadBump->click();
    EXPECT_TRUE(ui.fileDialogs.empty());            // the browse button asks nothing
    EXPECT_EQ(tab.EditAmb->Edit()->text(), "0.50"); // the controls still move
    ui.dialogAnswers.push_back([](QDialog& dialog) {
        static_cast<TFormColor&>(dialog).ColorPanel->SetColor(0xFF0000);
        return true;
    });
    tab.PaintMaterialClick();
    EXPECT_EQ(tab.PaintMaterial->Color(), 0xFF0000u); // only the box takes the colour
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(form->Scene().materials[i].col, before[i].col);
        EXPECT_EQ(form->Scene().materials[i].dif, before[i].dif);
        EXPECT_EQ(form->Scene().materials[i].amb, before[i].amb);
        EXPECT_EQ(form->Scene().materials[i].tex, before[i].tex);
    }
}

TEST_F(MaterialTab, AModelWithoutMaterialsLeavesNoMaterialToEdit) {
    TMaterialTab& tab = Tab();
    Select(3);
    const std::string bare = WriteModel("bare.mqo", "Metasequoia Document\nFormat Text Ver 1.0\n"
                                                    "Object \"o\" {\n\tvertex 0 {\n\t}\n}\nEof\n");
    ASSERT_TRUE(form->OpenMQO(bare)) << ui.Texts().join('\n').toStdString();
    EXPECT_EQ(tab.ListBoxMaterial->count(), 0);
    EXPECT_EQ(tab.SelectedMaterial(), nullptr);
    // The last model's material is not left on show, where edits would reach nothing.
    EXPECT_NE(tab.EditSpcPower->Edit()->text(), "60.00");
    EXPECT_FALSE(tab.GroupMaterial->isEnabled());
    EXPECT_FALSE(tab.GroupMapping->isEnabled());
}

} // namespace
} // namespace vantor::test
