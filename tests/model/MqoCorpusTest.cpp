// Real MQO files written by other tools, read from the shared corpus (skipped where it is
// missing). Each test checks what that file is known to hold.

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "model/MqoReader.h"

namespace vantor {
namespace {

const char kPrefix[] = "nutti__blender-mqo__tests__python__blender_mqo_test__mqo_files__";
const char kKotatsu[] = "Kotatsu-RTM__mqoIO__src__test__resources__dev__siro256__mqoio__MqoIOTest__";
const char kBinzume[] = "binzume__mqo-jsmacro-plugin__scripts__";

// "マテリアル" and "三角形" in both encodings.
const std::string kMaterialCp932 = "\x83\x7D\x83\x65\x83\x8A\x83\x41\x83\x8B";
const std::string kTriangleCp932 = "\x8E\x4F\x8A\x70\x8C\x60";
const std::string kMaterialUtf8 = "\xE3\x83\x9E\xE3\x83\x86\xE3\x83\xAA\xE3\x82\xA2\xE3\x83\xAB";
const std::string kTriangleUtf8 = "\xE4\xB8\x89\xE8\xA7\x92\xE5\xBD\xA2";

QelScene load(const std::string& path) {
    QelScene scene;
    const MqoReadResult result = readMqoFile(scene, path);
    EXPECT_TRUE(result.ok()) << path << ": " << result.message << " at line " << result.line;
    return scene;
}

// The unit cube of the blender exporter's test files, in file order.
void expectCube(const QelObject& object) {
    const float expected[8][3] = {{-100, 100, 100},  {-100, -100, 100}, {100, 100, 100},
                                  {100, -100, 100},  {100, 100, -100},  {100, -100, -100},
                                  {-100, 100, -100}, {-100, -100, -100}};
    ASSERT_GE(object.vertices.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_FLOAT_EQ(object.vertices[i].x, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(object.vertices[i].y, expected[i][1]) << i;
        EXPECT_FLOAT_EQ(object.vertices[i].z, expected[i][2]) << i;
    }
    ASSERT_GE(object.faces.size(), 6u);
    EXPECT_EQ(object.faces[0].indices, (CornerList<std::int32_t>{0, 2, 3, 1}));
}

TEST(MqoCorpus, ShiftJisFileKeepsItsBytesAndIsDetected) {
    VANTOR_REQUIRE_CORPUS_FILE(path, std::string(kKotatsu) + "case7.mqo");
    const QelScene scene = load(path);
    EXPECT_EQ(scene.codePage, CodePage::Cp932);
    ASSERT_EQ(scene.materialCount, 1);
    EXPECT_EQ(scene.materials[0].name, kMaterialCp932);
    ASSERT_EQ(scene.objectCount, 1);
    EXPECT_EQ(scene.objects[0].name, kTriangleCp932);
    const QelFace& face = scene.objects[0].faces[0];
    EXPECT_EQ(face.indices, (CornerList<std::int32_t>{2, 1, 0}));
    EXPECT_EQ(face.u, (CornerList<float>{1, 1, 0}));
    EXPECT_EQ(face.v, (CornerList<float>{1, 0, 0}));
}

TEST(MqoCorpus, ZippedModelsAreReadInBothCodePages) {
    VANTOR_REQUIRE_CORPUS_FILE(utf8Path, std::string(kKotatsu) + "case5.mqoz");
    VANTOR_REQUIRE_CORPUS_FILE(cp932Path, std::string(kKotatsu) + "case6.mqoz");
    const QelScene utf8 = load(utf8Path);
    EXPECT_EQ(utf8.codePage, CodePage::Utf8);
    ASSERT_EQ(utf8.materialCount, 1);
    EXPECT_EQ(utf8.materials[0].name, kMaterialUtf8);
    EXPECT_EQ(utf8.objects.at(0).name, kTriangleUtf8);
    const QelScene cp932 = load(cp932Path);
    EXPECT_EQ(cp932.codePage, CodePage::Cp932);
    EXPECT_EQ(cp932.objects.at(0).name, kTriangleCp932);

    VANTOR_REQUIRE_CORPUS_FILE(withThumbnail, std::string(kPrefix) + "single_object.mqoz");
    const QelScene single = load(withThumbnail); // the archive also holds a JPEG thumbnail
    ASSERT_EQ(single.objectCount, 1);
    expectCube(single.objects[0]);
}

TEST(MqoCorpus, BinaryVerticesMatchTheTextForm) {
    VANTOR_REQUIRE_CORPUS_FILE(path, std::string(kPrefix) + "single_object_with_bvertex.mqo");
    const QelScene scene = load(path);
    ASSERT_EQ(scene.objectCount, 1);
    EXPECT_EQ(scene.objects[0].vertexCount, 8);
    EXPECT_EQ(scene.objects[0].faceCount, 6);
    expectCube(scene.objects[0]);
}

TEST(MqoCorpus, MaterialEx2DoesNotReplaceTheMaterialTable) {
    VANTOR_REQUIRE_CORPUS_FILE(path, std::string(kPrefix) + "single_material_with_materialex2.mqo");
    const QelScene scene = load(path);
    ASSERT_EQ(scene.materialCount, 1);
    const QelMaterial& m = scene.materials[0];
    EXPECT_EQ(m.name, "mat1");
    EXPECT_EQ(m.col, (std::array<float, 4>{1.0f, 0.282f, 0.298f, 0.762f}));
    EXPECT_FLOAT_EQ(m.dif, 0.863f);
    EXPECT_FLOAT_EQ(m.amb, 0.625f);
    EXPECT_FLOAT_EQ(m.emi, 0.325f);
    EXPECT_FLOAT_EQ(m.spc, 0.325f);
    EXPECT_FLOAT_EQ(m.power, 3.75f);
    EXPECT_EQ(scene.objectCount, 1);
    expectCube(scene.objects[0]);
}

TEST(MqoCorpus, ExtraFaceGroupsAndEdgesAreRead) {
    VANTOR_REQUIRE_CORPUS_FILE(normalPath, std::string(kPrefix) + "normal.mqo");
    const QelScene normal = load(normalPath); // faces carry N(...) groups besides UV
    ASSERT_EQ(normal.objectCount, 1);
    expectCube(normal.objects[0]);
    for (const QelFace& face : normal.objects[0].faces) {
        EXPECT_EQ(face.cornerCount, 4);
        EXPECT_EQ(face.material, 0);
        EXPECT_EQ(face.u.size(), 4u);
    }

    VANTOR_REQUIRE_CORPUS_FILE(edgePath, std::string(kPrefix) + "single_object_with_edge.mqo");
    const QelScene edges = load(edgePath);
    ASSERT_EQ(edges.objectCount, 1);
    EXPECT_EQ(edges.objects[0].vertexCount, 11);
    ASSERT_EQ(edges.objects[0].faceCount, 8);
    EXPECT_EQ(edges.objects[0].faces[6].indices, (CornerList<std::int32_t>{8, 9}));
    EXPECT_EQ(edges.objects[0].faces[7].cornerCount, 2);
}

TEST(MqoCorpus, MirrorSettingsAndTextureNames) {
    VANTOR_REQUIRE_CORPUS_FILE(mirrorPath, std::string(kPrefix) + "mirrored_multiple_axes.mqo");
    const QelScene mirrored = load(mirrorPath);
    ASSERT_EQ(mirrored.objectCount, 1);
    EXPECT_EQ(mirrored.objects[0].mirror, 2);
    EXPECT_EQ(mirrored.objects[0].mirrorAxis, 3);
    EXPECT_EQ(mirrored.objects[0].vertexCount, 4);

    VANTOR_REQUIRE_CORPUS_FILE(texturePath, std::string(kPrefix) + "texture.mqo");
    const QelScene textured = load(texturePath);
    ASSERT_EQ(textured.materialCount, 1);
    EXPECT_EQ(textured.materials[0].tex, "texture.png");
}

TEST(MqoCorpus, VertexAttributesAndEmptyDocuments) {
    VANTOR_REQUIRE_CORPUS_FILE(attrPath, std::string(kPrefix) + "vertexattr.mqo");
    const QelScene attributes = load(attrPath);
    ASSERT_EQ(attributes.objectCount, 1);
    expectCube(attributes.objects[0]);

    VANTOR_REQUIRE_CORPUS_FILE(simplePath, std::string(kPrefix) + "simple.mqo");
    const QelScene simple = load(simplePath);
    EXPECT_EQ(simple.materialCount, 0);
    EXPECT_EQ(simple.objectCount, 0);
}

TEST(MqoCorpus, LargerModelsWithHiddenObjects) {
    VANTOR_REQUIRE_CORPUS_FILE(csgPath, std::string(kBinzume) + "csg_test.mqo");
    const QelScene csg = load(csgPath);
    ASSERT_EQ(csg.materialCount, 2);
    EXPECT_EQ(csg.materials[1].col, (std::array<float, 4>{0.549f, 0.494f, 1.0f, 1.0f}));
    ASSERT_GE(csg.objectCount, 2);
    EXPECT_EQ(csg.objects[0].name, "main");
    EXPECT_EQ(csg.objects[0].visible, 0);
    EXPECT_EQ(csg.objects[0].vertexCount, 80);
    EXPECT_EQ(csg.objects[0].faceCount, 80);
    EXPECT_EQ(csg.objects[1].name, "sub1=csg:sphere()");

    VANTOR_REQUIRE_CORPUS_FILE(samplePath, std::string(kBinzume) + "autocsg_sample.mqo");
    const QelScene sample = load(samplePath); // vertexattr blocks between vertex and face
    ASSERT_GE(sample.objectCount, 1);
    EXPECT_EQ(sample.objects[0].name, "mugcup:SUB");
    EXPECT_EQ(sample.objects[0].vertexCount, 488);
    EXPECT_EQ(sample.objects[0].faceCount, 312);
    for (const QelObject& object : sample.objects) {
        EXPECT_EQ(object.vertexCount, static_cast<std::int32_t>(object.vertices.size()));
        EXPECT_EQ(object.faceCount, static_cast<std::int32_t>(object.faces.size()));
        for (const QelFace& face : object.faces) {
            EXPECT_EQ(face.indices.size(), static_cast<std::size_t>(face.cornerCount));
        }
    }
}

} // namespace
} // namespace vantor
