#include <gtest/gtest.h>

#include "model/QelScene.h"

namespace vantor {
namespace {

TEST(QelScene, ClearEmptiesTablesAndKeepsEveryOtherField) {
    QelScene scene;
    scene.materials.resize(3);
    scene.materialCount = 3;
    scene.objects.resize(2);
    scene.objectCount = 2;
    scene.errorCode = 2;
    scene.streamSize = 77;
    scene.streamPos = 5;
    scene.streamKey = {1, 2, 3, 4};
    scene.streamTransform = 1;
    scene.tempPath = "/tmp/x/";
    scene.workFolder = "/tmp/x/car/";
    scene.packageName = "car";
    scene.outputFolder = "/out/";
    scene.codePage = CodePage::Utf8;

    scene.Clear();
    EXPECT_EQ(scene.materialCount, 0);
    EXPECT_TRUE(scene.materials.empty());
    EXPECT_EQ(scene.objectCount, 0);
    EXPECT_TRUE(scene.objects.empty());
    EXPECT_EQ(scene.errorCode, 2);
    EXPECT_EQ(scene.streamSize, 77);
    EXPECT_EQ(scene.streamPos, 5);
    EXPECT_EQ(scene.streamKey, (std::array<std::int32_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(scene.streamTransform, 1u);
    EXPECT_EQ(scene.tempPath, "/tmp/x/");
    EXPECT_EQ(scene.workFolder, "/tmp/x/car/");
    EXPECT_EQ(scene.packageName, "car");
    EXPECT_EQ(scene.outputFolder, "/out/");
    EXPECT_EQ(scene.codePage, CodePage::Utf8);

    scene.Clear(); // clearing an empty scene keeps it empty
    EXPECT_EQ(scene.materialCount, 0);
    EXPECT_EQ(scene.objectCount, 0);
}

TEST(QelScene, NewRecordsHoldTheirDocumentedValues) {
    const QelMaterial material;
    EXPECT_EQ(material.col, (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_FLOAT_EQ(material.dif, 0.8f);
    EXPECT_FLOAT_EQ(material.amb, 0.6f);
    EXPECT_FLOAT_EQ(material.emi, 0.0f);
    EXPECT_FLOAT_EQ(material.spc, 0.0f);
    EXPECT_FLOAT_EQ(material.power, 5.0f);
    EXPECT_FLOAT_EQ(material.envPower, 1.0f);
    const QelObject object;
    EXPECT_EQ(object.visible, 15);
    EXPECT_FLOAT_EQ(object.facet, 60.0f);
    EXPECT_EQ(object.mirror, 0);
    EXPECT_EQ(object.mirrorAxis, 0);
    const QelScene scene;
    EXPECT_EQ(scene.streamSize, 0);
    EXPECT_EQ(scene.streamTransform, 0u);
    EXPECT_EQ(scene.materialCount, 0);
    EXPECT_EQ(scene.objectCount, 0);
}

} // namespace
} // namespace vantor
