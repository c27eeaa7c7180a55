#include <gtest/gtest.h>
#include <limits>

#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "platform/Limits.h"
#include "settings/SceneSettings.h"

namespace vantor {
namespace {

std::string savedText(const QelParameter& parameters) {
    ProfileFile profile = ProfileFile::parse("");
    writeSceneSettings(parameters, profile);
    return profile.text();
}

QelParameter loaded(const std::string& fileText) {
    QelParameter parameters;
    readSceneSettings(parameters, ProfileFile::parse(fileText));
    return parameters;
}

TEST(SceneSettingsSave, EditorStartupStateGivesTheExpectedFile) {
    // tests/data/expected/startup-settings.vsn: every key in writing order, with the start-up
    // values of the editor (Width=200, BackGroundColor=8355711, BumpIntensity as the single
    // precision 0.2 widened, ProgBarColor=5070232, icon positions 0, ...).
    EXPECT_EQ(savedText(editorStartupParameters()),
              test::readBytes(test::testDataFile("expected/startup-settings.vsn")));
}

TEST(SceneSettingsSave, ValueFormsForNegativeSmallAndTextValues) {
    QelParameter p;
    p.LitDirection = {-0.5f, 0.000001f, 1234.5f};
    p.BackGroundImage = "C:\\img\\\x95\x5C.jpg";
    p.SoftShadowColor = 0xFFFFFFFF;
    p.ProgBarPosition = -3;
    const std::string text = savedText(p);
    EXPECT_NE(text.find("\r\nLitDirectionX=-0.5\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nLitDirectionY=9.99999997475243E-7\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nLitDirectionZ=1234.5\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nBackGroundImage=C:\\img\\\x95\x5C.jpg\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nSoftShadowColor=-1\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nProgBarPosition=-3\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nLightingEnable=1\r\n"), std::string::npos);
}

TEST(SceneSettingsLoad, MissingKeysTakeTheRecordsInitialValues) {
    const QelParameter p = loaded("[QelScene]\r\nWidth=640\r\n");
    QelParameter expected;
    expected.Width = 640;
    EXPECT_EQ(p, expected);
    EXPECT_EQ(p.TexFiltering, 1);
    EXPECT_TRUE(p.SpecularEnable);
    EXPECT_TRUE(p.AlwaysFSAA);
    EXPECT_FLOAT_EQ(p.InitRotPitch, -10.0f);
    EXPECT_EQ(p.RotCtrlIcon.X, 10);
    EXPECT_EQ(p.RstCtrlIcon.Y, 10);
}

TEST(SceneSettingsLoad, IntegerBooleanAndRealForms) {
    const QelParameter p = loaded("[qelscene]\nwidth=0x280\nHeight=$1E0\nLightingEnable=2\n"
                                  "SpecularEnable=0\nFieldOfView=abc\nEdgePower= 1.25 \n"
                                  "TexFiltering=7\nBackGroundColor=255\nModelPositionZ=1e3\n"
                                  "AlwaysFSAA=yes\nQualityOfAntiAlias=1.5\n");
    EXPECT_EQ(p.Width, 640);
    EXPECT_EQ(p.Height, 480);
    EXPECT_TRUE(p.LightingEnable);
    EXPECT_FALSE(p.SpecularEnable);
    EXPECT_FLOAT_EQ(p.FieldOfView, 45.0f);     // malformed: the default
    EXPECT_FLOAT_EQ(p.EdgePower, 1.25f);
    EXPECT_EQ(p.TexFiltering, 7);              // out of range is not the loader's business
    EXPECT_EQ(p.BackGroundColor, 255u);
    EXPECT_FLOAT_EQ(p.ModelPosition[2], 1000.0f);
    EXPECT_TRUE(p.AlwaysFSAA);                  // malformed boolean: the default
    EXPECT_EQ(p.QualityOfAntiAlias, 2);         // a fraction is no integer: the default
}

// A float beyond the float range is as unreadable as any other malformed number; the largest
// float's own text, which lies a little beyond it, still reads as it.
TEST(SceneSettingsLoad, FloatsBeyondTheFloatRangeAreUnreadable) {
    const QelParameter p = loaded("[QelScene]\rFieldOfView=3.5e38\rEdgePower=-1e39\r"
                                  "BumpIntensity=1e400\rModelPositionZ=3.40282346638529e+38\r"
                                  "ModelPositionX=-3.4028235e38\r");
    const QelParameter start;
    EXPECT_EQ(p.FieldOfView, start.FieldOfView);
    EXPECT_EQ(p.EdgePower, start.EdgePower);
    EXPECT_EQ(p.BumpIntensity, start.BumpIntensity);
    EXPECT_EQ(p.ModelPosition[2], std::numeric_limits<float>::max());
    EXPECT_EQ(p.ModelPosition[0], -std::numeric_limits<float>::max());
    ProfileFile saved = ProfileFile::parse("");
    writeSceneSettings(p, saved);
    QelParameter again;
    readSceneSettings(again, ProfileFile::parse(saved.text()));
    EXPECT_EQ(again, p);
}

TEST(SceneSettingsLoad, CurrentValuesAreTheDefaults) {
    QelParameter p = editorStartupParameters();
    readSceneSettings(p, ProfileFile::parse("[QelScene]\nWidth=320\n[Other]\nHeight=1\n"));
    QelParameter expected = editorStartupParameters();
    expected.Width = 320;
    EXPECT_EQ(p, expected);
    // A file that is no settings file at all changes nothing.
    QelParameter untouched = editorStartupParameters();
    readSceneSettings(untouched, ProfileFile::parse("\x89PNG\r\n\x1a\n\0\0binary"));
    EXPECT_EQ(untouched, editorStartupParameters());
}

QelParameter everyFieldChanged() {
    QelParameter p;
    p.Width = 640;
    p.Height = 480;
    p.BackGroundImage = "back ground.jpg";
    p.BackGroundColor = 0x123456;
    p.TitleLogoImage = "/home/u/logo.gif";
    p.TitleBackColor = 0xABCDEF;
    p.ModelPosition = {1.5f, -2.25f, 750.125f};
    p.TexFiltering = 2;
    p.ShadingMode = 3;
    p.FillMode = 1;
    p.LightingEnable = false;
    p.SpecularEnable = false;
    p.LitDirection = {0.1f, -0.7f, 0.3f};
    p.LitAmbient = {0.2f, 0.4f, 0.6f};
    p.LitDiffuse = {0.8f, 1.0f, 0.0f};
    p.LitSpecular = {0.33f, 0.66f, 0.99f};
    p.SoftShadowEnable = true;
    p.SoftShadowDistance = 12.5f;
    p.SoftShadowColor = 0x0A0B0C;
    p.EdgePower = 0.75f;
    p.BumpIntensity = 0.1234f;
    p.FieldOfView = 60.0f;
    p.AlwaysFSAA = false;
    p.QualityOfAntiAlias = 0;
    p.InitRotSpeed = {1.0f, -2.0f, 0.000003f};
    p.InitRotYaw = 30.0f;
    p.InitRotPitch = -45.0f;
    p.InitRotRoll = 7.5f;
    p.ProgBarPosition = 150;
    p.ProgBarColor = 0x00FF00;
    p.ProgBarBorderColor = 0x0000FF;
    p.RotCtrlIcon = {"rot.gif", 1, 2};
    p.ZomCtrlIcon = {"zoom.gif", 3, 4};
    p.PanCtrlIcon = {"pan.gif", 5, 6};
    p.RstCtrlIcon = {"reset.gif", 7, 8};
    return p;
}

TEST(SceneSettingsRoundTrip, EveryFieldSurvivesSaveAndLoad) {
    test::TempDir dir;
    const std::string path = dir.file("scene.vsn");
    const QelParameter original = everyFieldChanged();
    ASSERT_TRUE(saveSceneSettings(original, path));
    QelParameter back; // starts from the record's initial values, all of them overwritten
    loadSceneSettings(back, path);
    EXPECT_EQ(back, original);
}

TEST(SceneSettingsRoundTrip, OtherSectionsAndKeysSurviveASave) {
    test::TempDir dir;
    const std::string path = dir.file("shared.ini");
    test::writeBytes(path, "[Mine]\r\nKeep=me\r\n[QelScene]\r\nWidth=1\r\nCustom=yes\r\n");
    ASSERT_TRUE(saveSceneSettings(everyFieldChanged(), path));
    const ProfileFile profile = ProfileFile::load(path);
    EXPECT_EQ(profile.read("Mine", "Keep"), "me");
    EXPECT_EQ(profile.read("QelScene", "Custom"), "yes");
    EXPECT_EQ(profile.read("QelScene", "Width"), "640");
    EXPECT_EQ(test::readBytes(path).rfind("[Mine]\r\nKeep=me\r\n[QelScene]\r\nWidth=640\r\nCustom=yes\r\n", 0), 0u);
}

TEST(SceneSettingsRoundTrip, FailedSaveNamesTheFileAndKeepsTheOldOne) {
    test::TempDir dir;
    std::string error;
    EXPECT_FALSE(saveSceneSettings(QelParameter{}, dir.file("none/scene.vsn"), &error));
    EXPECT_NE(error.find(dir.file("none/scene.vsn")), std::string::npos);
    std::filesystem::create_directory(dir.path() / "folder.vsn");
    EXPECT_FALSE(saveSceneSettings(QelParameter{}, dir.file("folder.vsn"), &error));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder.vsn"));
}

TEST(SceneSettingsRoundTrip, ReadOnlyFileIsKeptAndNamed) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root: a read-only file does not stop writes";
    }
    test::TempDir dir;
    const std::string path = dir.file("locked.vsn");
    test::writeBytes(path, "[QelScene]\r\nWidth=640\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    std::string error;
    EXPECT_FALSE(saveSceneSettings(QelParameter{}, path, &error));
    EXPECT_NE(error.find(path), std::string::npos);
    EXPECT_EQ(test::readBytes(path), "[QelScene]\r\nWidth=640\r\n");
}

TEST(SceneSettingsRoundTrip, FileThatCannotBeReadWholeIsNotOverwritten) {
    // Saving rewrites the whole file; a file it could not read would lose everything else.
    test::TempDir dir;
    const std::string path = dir.file("big.ini");
    const std::string content = "[Other]\r\nNotes=" + std::string(kMaxSettingsFileBytes, 'x') + "\r\n";
    test::writeBytes(path, content);
    FileError error;
    EXPECT_FALSE(saveSceneSettings(QelParameter{}, path, &error));
    EXPECT_EQ(error.path, path);
    EXPECT_EQ(error.cause, kFileNotReplaceable);
    EXPECT_EQ(test::readBytes(path), content);

    if (::geteuid() != 0) { // root reads any file
        const std::string hidden = dir.file("hidden.vsn");
        test::writeBytes(hidden, "[Other]\r\nKeep=1\r\n");
        ASSERT_EQ(::chmod(hidden.c_str(), 0200), 0);
        EXPECT_FALSE(saveSceneSettings(QelParameter{}, hidden, &error));
        ::chmod(hidden.c_str(), 0600);
        EXPECT_EQ(test::readBytes(hidden), "[Other]\r\nKeep=1\r\n");
    }
}

TEST(SceneSettingsLoad, MissingFileLeavesTheRecordAndSaysSo) {
    test::TempDir dir;
    QelParameter p = editorStartupParameters();
    EXPECT_FALSE(loadSceneSettings(p, dir.file("missing.vsn")));
    EXPECT_EQ(p, editorStartupParameters());
    test::writeBytes(dir.file("width.vsn"), "[QelScene]\r\nWidth=640\r\n");
    EXPECT_TRUE(loadSceneSettings(p, dir.file("width.vsn")));
    EXPECT_EQ(p.Width, 640);
    EXPECT_EQ(p.TexFiltering, kFilterPoint); // the record's current value is the default
}

TEST(SceneSettingsRanges, NumberFieldsClampAndEverythingElsePasses) {
    QelParameter p = everyFieldChanged();
    p.Width = 0;
    p.Height = 12000;
    p.FieldOfView = 120.0f;
    p.EdgePower = -1.0f;
    p.ProgBarPosition = 10000;
    p.InitRotPitch = 720.0f;
    QelParameter expected = p;
    clampToEditorRanges(p);
    expected.Width = 1;
    expected.Height = 9999;
    expected.FieldOfView = 89.0f;
    expected.EdgePower = 0.0f;
    expected.ProgBarPosition = 9999;
    EXPECT_EQ(p, expected);
}

} // namespace
} // namespace vantor
