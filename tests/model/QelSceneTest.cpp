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

// Faces of up to four corners keep their corners in the list itself, larger ones on the heap;
// either way a list is a value that owns its corners.
TEST(QelScene, CornerListsAreValuesInlineAndOnTheHeap) {
    CornerList<std::int32_t> quad{1, 2, 3, 4};
    EXPECT_EQ(quad.size(), 4u);
    EXPECT_EQ(quad.heapBytes(), 0u);
    CornerList<std::int32_t> grown = quad;
    grown.push_back(grown[0]); // an element of the list itself, as the list moves to the heap
    grown.push_back(6);
    EXPECT_EQ(grown, (CornerList<std::int32_t>{1, 2, 3, 4, 1, 6}));
    EXPECT_GT(grown.heapBytes(), 0u);
    EXPECT_EQ(quad, (CornerList<std::int32_t>{1, 2, 3, 4})); // the copy took nothing of it
    EXPECT_FALSE(quad == grown);

    CornerList<std::int32_t> copy = grown;
    copy[0] = 9;
    EXPECT_EQ(grown[0], 1);
    CornerList<std::int32_t> moved = std::move(copy);
    EXPECT_EQ(moved[0], 9);
    EXPECT_EQ(moved.size(), 6u);
    EXPECT_TRUE(copy.empty()); // a moved-from list is left empty
    moved = quad;
    EXPECT_EQ(moved, quad);

    CornerList<float> u;
    u.resize(6);
    EXPECT_EQ(u, (CornerList<float>(6, 0.0f)));
    u.assign(2, 0.5f);
    EXPECT_EQ(u, (CornerList<float>{0.5f, 0.5f}));
    u.clear();
    EXPECT_TRUE(u.empty());

    QelFace hexagon;
    hexagon.cornerCount = 6;
    hexagon.indices = {0, 1, 2, 3, 4, 5};
    QelFace other = hexagon;
    other.indices[5] = 0;
    EXPECT_EQ(hexagon.indices[5], 5);
}

} // namespace
} // namespace vantor
