#include "publish/ModelFile.h"

#include "PublishTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::addMaterial;
using test::addObject;
using test::face;
using test::material;

constexpr StreamKey kGoldenKey{0x5A, 0xC3, 0x0F, 0x96};

std::string build(const QelScene& scene) {
    const auto bytes = buildModelFile(scene, kGoldenKey, true);
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or(std::string());
}

DecodedModel decode(const QelScene& scene) {
    return test::decodeModelFile(build(scene));
}

// --- The example with its byte positions --------------------------------------------------

TEST(ModelFileExample, MatchesTheGoldenFileByteForByte) {
    const std::string file = build(test::exampleScene());
    ASSERT_EQ(file.size(), 260u);
    EXPECT_EQ(file, test::readBytes(test::testDataFile("golden/example-model.qel")));
}

TEST(ModelFileExample, ChunksStandAtTheirStreamPositions) {
    const std::string s = test::plainStream(build(test::exampleScene()));
    ASSERT_EQ(s.size(), 256u);
    const std::pair<std::size_t, const char*> tags[] = {
        {0, "Qel1"},   {8, "MATL"},   {16, "NAME"},  {26, "COLR"},  {50, "AMBI"},  {62, "DIFF"},
        {74, "SPEC"},  {86, "SPOW"},  {98, "LUMI"},  {110, "OBJT"}, {118, "NAME"}, {128, "VISI"},
        {140, "SMAN"}, {152, "MIRR"}, {164, "AXIS"}, {176, "MESH"}, {188, "VXPT"}, {232, "INDX"},
    };
    for (const auto& [pos, tag] : tags) {
        EXPECT_EQ(s.substr(pos, 4), tag) << pos;
    }
    const std::pair<std::size_t, std::uint32_t> lengths[] = {
        {4, 256}, {12, 102}, {20, 10}, {114, 146}, {122, 10}, {180, 80}, {192, 44}, {236, 24},
    };
    for (const auto& [pos, length] : lengths) {
        EXPECT_EQ(test::bigEndianAt(s, pos), length) << pos;
    }
    EXPECT_EQ(test::bigEndianAt(s, 184), 0u); // material index
    // VXPT lists vertices 2, 0, 1; INDX holds 3, 0, 1, 2.
    EXPECT_EQ(test::bigEndianAt(s, 196), 0x40E00000u); // 7.0f, x of vertex 2
    EXPECT_EQ(test::bigEndianAt(s, 208), 0x3F800000u); // 1.0f, x of vertex 0
    for (std::uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(test::bigEndianAt(s, 240 + 4 * i), i == 0 ? 3u : i - 1);
    }
}

// --- Materials ------------------------------------------------------------------------------

TEST(ModelFileMaterials, EmptySceneAndMaterialOnlySceneLengths) {
    QelScene empty;
    const std::string file = build(empty);
    ASSERT_EQ(file.size(), 12u);
    EXPECT_EQ(test::bigEndianAt(test::plainStream(file), 4), 8u);

    QelScene one;
    addMaterial(one, material(""));
    const std::string s = test::plainStream(build(one));
    EXPECT_EQ(s.size(), 8u + 101u);
    EXPECT_EQ(test::bigEndianAt(s, 4), s.size());
    EXPECT_EQ(test::bigEndianAt(s, 12), 101u);
    EXPECT_EQ(test::bigEndianAt(s, 20), 9u); // NAME holding one zero byte
}

TEST(ModelFileMaterials, MapsNameTheirTextureEntriesAndCountInTheLength) {
    QelScene scene;
    QelMaterial m = material("mat");
    m.tex = "C:\\images\\wood.bmp";
    m.aplane = "sub/leaf.gif";
    m.bump = "a.b.gif";
    m.env = "sky";
    m.envPower = 0.75f;
    addMaterial(scene, m);
    QelMaterial envOnly = material("e");
    envOnly.env = "x/env.jpg";
    addMaterial(scene, envOnly);
    const std::string s = test::plainStream(build(scene));
    EXPECT_EQ(test::bigEndianAt(s, 12), 104u + (8 + 9) + (8 + 9) + (7 + 9) + (7 + 13));
    const std::size_t second = 8 + test::bigEndianAt(s, 12);
    EXPECT_EQ(test::bigEndianAt(s, second + 4), 102u + 7 + 13);

    const DecodedModel model = test::decodeModelFile(build(scene));
    ASSERT_EQ(model.materials.size(), 2u);
    EXPECT_EQ(model.materials[0].colorMap, "wood.jpx");
    EXPECT_EQ(model.materials[0].alphaMap, "leaf.jpx");
    EXPECT_EQ(model.materials[0].bumpMap, "a.b.jpx");
    EXPECT_EQ(model.materials[0].envMap, "sky.jpx");
    EXPECT_EQ(model.materials[0].envPower, 0.75f);
    EXPECT_FALSE(model.materials[1].colorMap.has_value());
    EXPECT_EQ(model.materials[1].envMap, "env.jpx");
}

TEST(ModelFileMaterials, MapWithoutABaseNameHasNoSubChunk) {
    QelScene scene;
    QelMaterial m = material("m");
    m.tex = "folder\\";
    m.bump = "dir/.hidden";
    addMaterial(scene, m);
    const DecodedModel model = decode(scene);
    ASSERT_EQ(model.materials.size(), 1u);
    EXPECT_FALSE(model.materials[0].colorMap.has_value());
    EXPECT_FALSE(model.materials[0].bumpMap.has_value());
}

TEST(ModelFileMaterials, DoubleByteNamesKeepTheirBytes) {
    QelScene scene;
    scene.codePage = CodePage::Cp932;
    // "表" is 0x95 0x5C in CP932: its trail byte is no separator.
    QelMaterial m = material("\x95\x5C");
    m.tex = "tex\\\x95\x5C.jpg";
    addMaterial(scene, m);
    const DecodedModel model = decode(scene);
    EXPECT_EQ(model.materials[0].name, "\x95\x5C");
    EXPECT_EQ(model.materials[0].colorMap, "\x95\x5C.jpx");
}

// --- Mesh grouping -----------------------------------------------------------------------------

TEST(ModelFileMeshes, GroupsComeInMaterialOrderWithTheNoMaterialGroupLast) {
    QelScene scene;
    for (const char* name : {"a", "b", "c"}) {
        addMaterial(scene, material(name));
    }
    addObject(scene, "o", 4,
              {face(2, {0, 1, 2}), face(3, {1, 2, 3}), face(0, {0, 2, 3}), face(2, {0, 1, 3})});
    addObject(scene, "none", 3, {face(3, {0, 1, 2})});
    addObject(scene, "empty", 3, {});
    const DecodedModel model = decode(scene);
    ASSERT_EQ(model.objects.size(), 3u);
    const auto& meshes = model.objects[0].meshes;
    ASSERT_EQ(meshes.size(), 3u);
    EXPECT_EQ(meshes[0].material, 0);
    EXPECT_EQ(meshes[1].material, 2);
    EXPECT_EQ(meshes[2].material, -1);
    EXPECT_EQ(meshes[1].faces.size(), 2u); // in face order: 0 1 2, then 0 1 3
    EXPECT_EQ(meshes[1].faces[1], (std::vector<std::int32_t>{0, 1, 3}));
    ASSERT_EQ(model.objects[1].meshes.size(), 1u);
    EXPECT_EQ(model.objects[1].meshes[0].material, -1);
    EXPECT_TRUE(model.objects[2].meshes.empty());
}

TEST(ModelFileMeshes, MeshVerticesAreNumberedInOrderOfFirstUse) {
    QelScene scene;
    addMaterial(scene, material("a"));
    addObject(scene, "o", 6, {face(0, {5, 3, 4}), face(0, {4, 3, 1})});
    const DecodedMesh mesh = decode(scene).objects[0].meshes[0];
    ASSERT_EQ(mesh.positions.size(), 4u);
    EXPECT_EQ(mesh.positions[0], (std::array<float, 3>{5, 10, 15}));
    EXPECT_EQ(mesh.positions[3], (std::array<float, 3>{1, 2, 3}));
    EXPECT_EQ(mesh.faces[1], (std::vector<std::int32_t>{2, 1, 3}));
    EXPECT_FALSE(mesh.hasUV);
}

TEST(ModelFileMeshes, IndexListOfTwoTrianglesIsFortyBytes) {
    QelScene scene;
    addMaterial(scene, material("a"));
    addObject(scene, "o", 4, {face(0, {0, 1, 2}), face(0, {0, 2, 3})});
    const std::string s = test::plainStream(build(scene));
    const std::size_t indx = s.rfind("INDX");
    EXPECT_EQ(test::bigEndianAt(s, indx + 4), 40u);
}

TEST(ModelFileMeshes, FacesThatCannotBeDrawnAreHandledWithoutIndexingOutOfRange) {
    QelScene scene;
    addMaterial(scene, material("a"));
    QelFace mismatched = face(0, {0, 1, 2});
    mismatched.cornerCount = 4;
    addObject(scene, "o", 3,
              {face(7, {0, 1, 2}),                   // unknown material: the group without material
               face(-3, {2, 1, 0}),                  // the same
               face(0, {0, 1, 3}),                   // vertex 3 does not exist: left out
               face(0, {0, -1, 2}),                  // left out
               mismatched,                           // left out
               face(0, {0, 1, 2}, {0.5f}, {0.5f})}); // coordinates that do not match: none
    const DecodedObject object = decode(scene).objects[0];
    ASSERT_EQ(object.meshes.size(), 2u);
    EXPECT_EQ(object.meshes[0].material, 0);
    EXPECT_EQ(object.meshes[0].faces.size(), 1u);
    EXPECT_FALSE(object.meshes[0].hasUV);
    EXPECT_EQ(object.meshes[1].material, -1);
    EXPECT_EQ(object.meshes[1].faces.size(), 2u);

    // A group whose faces are all left out writes no MESH.
    QelScene bad;
    addMaterial(bad, material("a"));
    addObject(bad, "o", 2, {face(0, {0, 1, 2})});
    EXPECT_TRUE(decode(bad).objects[0].meshes.empty());
}

TEST(ModelFileMeshes, CountsWinOverLongerVectors) {
    // A read that failed part way leaves an uncounted object and vertices behind the counts.
    QelScene scene;
    addMaterial(scene, material("a"));
    addObject(scene, "o", 3, {face(0, {0, 1, 2})});
    addObject(scene, "uncounted", 3, {face(0, {0, 1, 2})});
    scene.objectCount = 1;
    scene.objects[0].vertexCount = 2; // vertex 2 lies beyond the count
    const DecodedModel model = decode(scene);
    ASSERT_EQ(model.objects.size(), 1u);
    EXPECT_TRUE(model.objects[0].meshes.empty());
}

TEST(ModelFileMeshes, ManyMaterialsNeedNoFixedTable) {
    QelScene scene;
    for (int i = 0; i < 300; ++i) {
        std::string name = "m";
        name += std::to_string(i);
        addMaterial(scene, material(name));
    }
    addObject(scene, "o", 3, {face(299, {0, 1, 2}), face(256, {0, 1, 2}), face(300, {0, 1, 2})});
    const DecodedModel model = decode(scene);
    ASSERT_EQ(model.materials.size(), 300u);
    const auto& meshes = model.objects[0].meshes;
    ASSERT_EQ(meshes.size(), 3u);
    EXPECT_EQ(meshes[0].material, 256);
    EXPECT_EQ(meshes[1].material, 299);
    EXPECT_EQ(meshes[2].material, -1);
}

TEST(ModelFileMeshes, WritingLeavesTheSceneUnchanged) {
    QelScene scene;
    addMaterial(scene, material("a"));
    addObject(
        scene, "o", 3,
        {face(0, {0, 1, 2}, {0, 1, 0}, {0, 0, 1}), face(0, {0, 1, 2}, {0.5f, 1, 0}, {0, 0, 1})});
    const QelScene copy = scene;
    build(scene);
    EXPECT_EQ(scene.objects[0].faces[1].indices, copy.objects[0].faces[1].indices);
    EXPECT_EQ(scene.objects[0].vertices.size(), copy.objects[0].vertices.size());
    EXPECT_EQ(scene.streamSize, copy.streamSize);
}

// --- Texture coordinates and splitting ---------------------------------------------------------

TEST(ModelFileSplitting, QuadWithItsOwnCoordinatesIsNotSplit) {
    QelScene scene;
    addMaterial(scene, material("a"));
    addObject(scene, "o", 4, {face(0, {0, 1, 2, 3}, {0, 1, 1, 0}, {0, 0, 1, 1})});
    const std::string s = test::plainStream(build(scene));
    const DecodedMesh mesh = test::decodeModelFile(build(scene)).objects[0].meshes[0];
    EXPECT_EQ(mesh.positions.size(), 4u);
    EXPECT_TRUE(mesh.hasUV);
    EXPECT_EQ(mesh.uvs[2], (std::array<float, 2>{1, 1}));
    EXPECT_EQ(test::bigEndianAt(s, s.find("MESH") + 4), 36u + 20 * 4 + 4 * 5);
}

TEST(ModelFileSplitting, SharedEdgeSplitsOnlyWhereThePairsDiffer) {
    QelScene scene;
    addMaterial(scene, material("a"));
    // Vertices 1 and 2 are shared; vertex 1 has the same pair on both faces, vertex 2 not.
    addObject(
        scene, "o", 4,
        {face(0, {0, 1, 2}, {0, 1, 1}, {0, 0, 1}), face(0, {1, 3, 2}, {1, 2, 0.5f}, {0, 0, 1})});
    const DecodedMesh mesh = decode(scene).objects[0].meshes[0];
    ASSERT_EQ(mesh.positions.size(), 5u);
    EXPECT_EQ(mesh.faces[1], (std::vector<std::int32_t>{1, 3, 4}));
    EXPECT_EQ(mesh.positions[4], mesh.positions[2]);
    EXPECT_EQ(mesh.uvs[4], (std::array<float, 2>{0.5f, 1}));
    EXPECT_EQ(mesh.uvs[2], (std::array<float, 2>{1, 1}));
}

TEST(ModelFileSplitting, SplitCopiesAreNeverShared) {
    QelScene scene;
    addMaterial(scene, material("a"));
    addObject(scene, "o", 3,
              {face(0, {0, 1, 2}, {0, 0, 0}, {0, 0, 0}), face(0, {0, 1, 2}, {1, 1, 1}, {1, 1, 1}),
               face(0, {0, 1, 2}, {1, 1, 1}, {1, 1, 1})});
    const DecodedMesh mesh = decode(scene).objects[0].meshes[0];
    EXPECT_EQ(mesh.positions.size(), 9u);
    EXPECT_EQ(mesh.faces[2], (std::vector<std::int32_t>{6, 7, 8}));
}

TEST(ModelFileSplitting, FaceWithoutCoordinatesSetsZeroAndLaterFacesSplitFromIt) {
    QelScene scene;
    addMaterial(scene, material("a"));
    addObject(scene, "o", 3, {face(0, {0, 1, 2}), face(0, {0, 1, 2}, {0, 0.5f, 1}, {0, 0, 0})});
    const DecodedMesh mesh = decode(scene).objects[0].meshes[0];
    ASSERT_TRUE(mesh.hasUV);
    // Vertex 0 gets (0, 0) from the first face and keeps it; 1 and 2 split.
    ASSERT_EQ(mesh.positions.size(), 5u);
    EXPECT_EQ(mesh.uvs[0], (std::array<float, 2>{0, 0}));
    EXPECT_EQ(mesh.faces[1], (std::vector<std::int32_t>{0, 3, 4}));
}

TEST(ModelFileSplitting, FaceWithoutCoordinatesKeepsAnEarlierFacesPairs) {
    QelScene scene;
    addMaterial(scene, material("a"));
    addObject(scene, "o", 4, {face(0, {0, 1, 2}, {0.5f, 1, 1}, {0, 0, 1}), face(0, {0, 2, 3})});
    const DecodedMesh mesh = decode(scene).objects[0].meshes[0];
    ASSERT_EQ(mesh.positions.size(), 6u);
    EXPECT_EQ(mesh.uvs[0], (std::array<float, 2>{0.5f, 0}));
    EXPECT_EQ(mesh.uvs[2], (std::array<float, 2>{1, 1}));
    // The untextured face draws with (0, 0) at every corner, through copies where needed.
    EXPECT_EQ(mesh.faces[1], (std::vector<std::int32_t>{4, 5, 3}));
    EXPECT_EQ(mesh.uvs[3], (std::array<float, 2>{0, 0}));
    EXPECT_EQ(mesh.uvs[4], (std::array<float, 2>{0, 0}));
    EXPECT_EQ(mesh.positions[5], mesh.positions[2]);
}

TEST(ModelFileSplitting, CoordinatesFromNineThousandOnAreOverwrittenNotCompared) {
    QelScene scene;
    addMaterial(scene, material("a"));
    addObject(scene, "o", 3,
              {face(0, {0, 1, 2}, {9000, 0, 0}, {0, 0, 0}),
               face(0, {0, 1, 2}, {0.25f, 0, 0}, {0, 0, 0})});
    const DecodedMesh mesh = decode(scene).objects[0].meshes[0];
    ASSERT_EQ(mesh.positions.size(), 3u);
    EXPECT_EQ(mesh.uvs[0], (std::array<float, 2>{0.25f, 0}));
}

TEST(ModelFileSplitting, SplittingGoesBeyondSixtyFiveThousandVertexNumbers) {
    QelScene scene;
    addMaterial(scene, material("a"));
    std::vector<QelFace> faces;
    // 65536 vertices, and every triangle after the first pass gives new pairs to all three.
    for (int i = 0; i + 2 < 65536; i += 3) {
        faces.push_back(face(0, {i, i + 1, i + 2}, {0, 0, 0}, {0, 0, 0}));
    }
    for (int i = 0; i + 2 < 65536; i += 3) {
        faces.push_back(face(0, {i, i + 1, i + 2}, {1, 1, 1}, {1, 1, 1}));
    }
    addObject(scene, "o", 65536, std::move(faces));
    const DecodedMesh mesh = decode(scene).objects[0].meshes[0];
    EXPECT_EQ(mesh.positions.size(), 2u * 65535);
    EXPECT_EQ(mesh.faces.back()[2], 2 * 65535 - 1);
    EXPECT_EQ(mesh.positions.back(), (std::array<float, 3>{65534, 2 * 65534, 3 * 65534}));
}

// --- Round trip ---------------------------------------------------------------------------------

// Every face of the scene comes back from the decoded model, in its group and in face order,
// each corner with its vertex's position and its own texture coordinates.
void expectSameGeometry(const QelScene& scene, const DecodedModel& model) {
    ASSERT_EQ(model.materials.size(), static_cast<std::size_t>(scene.materialCount));
    ASSERT_EQ(model.objects.size(), static_cast<std::size_t>(scene.objectCount));
    for (std::size_t o = 0; o < model.objects.size(); ++o) {
        const QelObject& object = scene.objects[o];
        EXPECT_EQ(model.objects[o].name, object.name);
        EXPECT_EQ(model.objects[o].visible, object.visible);
        EXPECT_EQ(model.objects[o].mirror, object.mirror);
        auto groupOf = [&](const QelFace& f) {
            return f.material >= 0 && f.material <= scene.materialCount ? f.material
                                                                        : scene.materialCount;
        };
        std::size_t decodedFaces = 0;
        for (const DecodedMesh& mesh : model.objects[o].meshes) {
            const std::int32_t group = mesh.material < 0 ? scene.materialCount : mesh.material;
            std::size_t next = 0;
            for (const QelFace& f : object.faces) {
                if (groupOf(f) != group) {
                    continue;
                }
                ASSERT_LT(next, mesh.faces.size());
                const auto& corners = mesh.faces[next++];
                ASSERT_EQ(corners.size(), f.indices.size());
                for (std::size_t l = 0; l < corners.size(); ++l) {
                    const QelVertex& v = object.vertices[f.indices[l]];
                    EXPECT_EQ(mesh.positions[corners[l]], (std::array<float, 3>{v.x, v.y, v.z}));
                    if (mesh.hasUV) {
                        const std::array<float, 2> uv = f.u.empty()
                                                            ? std::array<float, 2>{0, 0}
                                                            : std::array<float, 2>{f.u[l], f.v[l]};
                        EXPECT_EQ(mesh.uvs[corners[l]], uv);
                    }
                }
            }
            EXPECT_EQ(next, mesh.faces.size());
            decodedFaces += mesh.faces.size();
        }
        EXPECT_EQ(decodedFaces, object.faces.size());
    }
}

TEST(ModelFileRoundTrip, SampleHouseDecodesToTheSameGeometry) {
    QelScene scene;
    ASSERT_TRUE(scene.LoadMQO(std::string(VANTOR_SOURCE_DIR) + "/examples/house/house.mqo"));
    const DecodedModel model = decode(scene);
    expectSameGeometry(scene, model);
    EXPECT_EQ(model.materials[0].colorMap, "brick.jpx");
}

TEST(ModelFileRoundTrip, ModelsWrittenByOtherToolsDecodeToTheSameGeometry) {
    for (const char* name :
         {"binzume__mqo-jsmacro-plugin__scripts__csg_test.mqo",
          "binzume__mqo-jsmacro-plugin__scripts__autocsg_sample.mqo",
          "nutti__blender-mqo__tests__python__blender_mqo_test__mqo_files__texture.mqo",
          "nutti__blender-mqo__tests__python__blender_mqo_test__mqo_files__"
          "mirrored_multiple_axes.mqo",
          "Kotatsu-RTM__mqoIO__src__test__resources__dev__siro256__mqoio__MqoIOTest__case5.mqoz"}) {
        VANTOR_REQUIRE_CORPUS_FILE(path, name);
        QelScene scene;
        ASSERT_TRUE(scene.LoadMQO(path)) << name;
        SCOPED_TRACE(name);
        expectSameGeometry(scene, decode(scene));
    }
}

} // namespace
} // namespace vantor
