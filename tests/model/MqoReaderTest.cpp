#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <minizip/zip.h>
#include <new>

#include "HandMadeZip.h"
#include "TestSupport.h"
#include "model/MqoReader.h"

#include <sys/stat.h>

// The largest single allocation since it was last reset: a size a file merely claims must not
// become one.
std::size_t largestAllocation = 0;

void* operator new(std::size_t size) {
    largestAllocation = std::max(largestAllocation, size);
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
// GCC takes the replaced pair for a mismatch wherever it inlines them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
#pragma GCC diagnostic pop

namespace vantor {
namespace {

const std::string kHeader = "Metasequoia Document\r\nFormat Text Ver 1.1\r\n\r\n";

struct Read {
    QelScene scene;
    MqoReadResult result;
};

Read readText(const std::string& text) {
    Read r;
    r.result = readMqo(r.scene, text);
    return r;
}

std::string triangleObject(const std::string& name, const std::string& faceLine) {
    return "Object \"" + name + "\" {\r\n\tvertex 3 {\r\n\t\t0 0 0\r\n\t\t1 0 0\r\n\t\t0 1 0\r\n\t}\r\n"
           "\tface 1 {\r\n\t\t" + faceLine + "\r\n\t}\r\n}\r\n";
}

std::string littleEndianFloats(std::initializer_list<float> values) {
    std::string bytes;
    for (const float value : values) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, 4);
        for (int i = 0; i < 4; ++i) {
            bytes += static_cast<char>((bits >> (8 * i)) & 0xFF);
        }
    }
    return bytes;
}

// --- Faces -------------------------------------------------------------------------------

TEST(MqoReaderFaces, GroupsAreReadIntoIndicesMaterialAndUVs) {
    const Read r = readText(kHeader + "Material 2 {\r\n\t\"a\"\r\n\t\"b\"\r\n}\r\n" +
                            "Object \"o\" {\r\n\tvertex 4 {\r\n\t\t0 0 0\r\n\t\t1 0 0\r\n\t\t1 1 0\r\n"
                            "\t\t0 1 0\r\n\t}\r\n\tface 1 {\r\n"
                            "\t\t4 V(0 1 2 3) M(1) UV(0 0 1 0 1 1 0 1)\r\n\t}\r\n}\r\nEof\r\n");
    ASSERT_TRUE(r.result.ok()) << r.result.message;
    ASSERT_EQ(r.scene.objectCount, 1);
    const QelFace& face = r.scene.objects[0].faces[0];
    EXPECT_EQ(face.cornerCount, 4);
    EXPECT_EQ(face.indices, (CornerList<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(face.material, 1);
    EXPECT_EQ(face.u, (CornerList<float>{0, 1, 1, 0}));
    EXPECT_EQ(face.v, (CornerList<float>{0, 0, 1, 1}));
}

TEST(MqoReaderFaces, MissingGroupsGiveNoMaterialAndNoUVs) {
    const Read r = readText(kHeader + "Material 3 {\r\n\t\"a\"\r\n\t\"b\"\r\n\t\"c\"\r\n}\r\n" +
                            triangleObject("o", "3 V(0 1 2)"));
    ASSERT_TRUE(r.result.ok());
    const QelFace& face = r.scene.objects[0].faces[0];
    EXPECT_EQ(face.material, 3); // materialCount: no material
    EXPECT_TRUE(face.u.empty());
    EXPECT_TRUE(face.v.empty());
}

TEST(MqoReaderFaces, WithoutMaterialChunkFacesHaveMaterialZero) {
    const Read r = readText(kHeader + triangleObject("o", "3 V(0 1 2)"));
    ASSERT_TRUE(r.result.ok());
    EXPECT_EQ(r.scene.materialCount, 0);
    EXPECT_TRUE(r.scene.materials.empty());
    EXPECT_EQ(r.scene.objects[0].faces[0].material, 0);
}

TEST(MqoReaderFaces, UnknownGroupsAreSkippedAndTwoCornerFacesKept) {
    const Read r = readText(kHeader +
                            triangleObject("o", "3 V(0 1 2) M(0) UV(0 0 1 0 0 1) COL(4294967295 "
                                                "4294967295 4294967295) UID(7)"));
    ASSERT_TRUE(r.result.ok());
    EXPECT_EQ(r.scene.objects[0].faces[0].indices, (CornerList<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(r.scene.objects[0].faces[0].u.size(), 3u);

    const Read edge = readText(kHeader + triangleObject("e", "2 V(0 1)"));
    ASSERT_TRUE(edge.result.ok());
    EXPECT_EQ(edge.scene.objects[0].faces[0].cornerCount, 2);
}

TEST(MqoReaderFaces, FaceWithoutVGroupGetsZeroIndicesForEveryCorner) {
    const Read r = readText(kHeader + triangleObject("o", "3 M(0)"));
    ASSERT_TRUE(r.result.ok());
    EXPECT_EQ(r.scene.objects[0].faces[0].indices, (CornerList<std::int32_t>{0, 0, 0}));
}

TEST(MqoReaderFaces, LongNGonLineIsReadWhole) {
    // A 200-corner polygon with UVs: its line is far longer than 511 bytes.
    std::string line = "200 V(";
    std::string uv = " UV(";
    for (int i = 0; i < 200; ++i) {
        line += std::to_string(i) + (i < 199 ? " " : ")");
        uv += "0.12345678 0.87654321" + std::string(i < 199 ? " " : ")");
    }
    line += " M(0)" + uv;
    ASSERT_GT(line.size(), 4000u);
    std::string vertices;
    for (int i = 0; i < 200; ++i) {
        vertices += "\t\t" + std::to_string(i) + " 0 0\r\n";
    }
    const Read r = readText(kHeader + "Material 1 {\r\n\t\"m\"\r\n}\r\nObject \"n\" {\r\n\tvertex 200 {\r\n" +
                            vertices + "\t}\r\n\tface 2 {\r\n\t\t" + line + "\r\n\t\t3 V(0 1 2)\r\n\t}\r\n}\r\n");
    ASSERT_TRUE(r.result.ok()) << r.result.message;
    const QelObject& object = r.scene.objects[0];
    ASSERT_EQ(object.faceCount, 2);
    EXPECT_EQ(object.faces[0].cornerCount, 200);
    EXPECT_EQ(object.faces[0].indices[199], 199);
    EXPECT_FLOAT_EQ(object.faces[0].v[199], 0.87654321f);
    EXPECT_EQ(object.faces[0].material, 0);
    EXPECT_EQ(object.faces[1].cornerCount, 3); // the next face is not shifted
    EXPECT_EQ(object.faces[1].material, 1);
}

// --- Materials ---------------------------------------------------------------------------

TEST(MqoReaderMaterials, EveryKeywordLandsInItsField) {
    const Read r = readText(kHeader +
                            "Material 1 {\r\n\t\"skin\" shader(3) col(0.1 0.2 0.3 0.4) dif(0.5) "
                            "amb(0.6) emi(0.7) spc(0.8) power(9.5) tex(\"a b.jpg\") "
                            "aplane(\"al.gif\") bump(\"bu.jpg\") env(\"en.jpg\", 2.5)\r\n}\r\n");
    ASSERT_TRUE(r.result.ok());
    ASSERT_EQ(r.scene.materialCount, 1);
    const QelMaterial& m = r.scene.materials[0];
    EXPECT_EQ(m.name, "skin");
    EXPECT_EQ(m.col, (std::array<float, 4>{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_FLOAT_EQ(m.dif, 0.5f);
    EXPECT_FLOAT_EQ(m.amb, 0.6f);
    EXPECT_FLOAT_EQ(m.emi, 0.7f);
    EXPECT_FLOAT_EQ(m.spc, 0.8f);
    EXPECT_FLOAT_EQ(m.power, 9.5f);
    EXPECT_EQ(m.tex, "a b.jpg");
    EXPECT_EQ(m.aplane, "al.gif");
    EXPECT_EQ(m.bump, "bu.jpg");
    EXPECT_EQ(m.env, "en.jpg");
    EXPECT_FLOAT_EQ(m.envPower, 2.5f);
}

TEST(MqoReaderMaterials, MissingKeywordsKeepDefaultsAndEnvPowerIsOne) {
    const Read r = readText(kHeader + "Material 1 {\r\n\t\"plain\" col(1 0 0 1)\r\n}\r\n");
    ASSERT_TRUE(r.result.ok());
    const QelMaterial& m = r.scene.materials[0];
    EXPECT_FLOAT_EQ(m.dif, 0.8f);
    EXPECT_FLOAT_EQ(m.amb, 0.6f);
    EXPECT_FLOAT_EQ(m.power, 5.0f);
    EXPECT_FLOAT_EQ(m.envPower, 1.0f);
    EXPECT_TRUE(m.tex.empty());
}

TEST(MqoReaderMaterials, GroupsShortOfTheirNumbersKeepTheMissingValues) {
    const Read r = readText(kHeader + "Material 2 {\r\n\t\"a\" env(\"sky.jpg\") col(0.5 0.5)\r\n"
                                      "\t\"b\" dif() power(abc)\r\n}\r\n");
    ASSERT_TRUE(r.result.ok());
    const QelMaterial& a = r.scene.materials[0];
    EXPECT_EQ(a.env, "sky.jpg");
    EXPECT_FLOAT_EQ(a.envPower, 1.0f); // not zero: the map stays visible
    EXPECT_EQ(a.col, (std::array<float, 4>{0.5f, 0.5f, 1.0f, 1.0f}));
    const QelMaterial& b = r.scene.materials[1];
    EXPECT_FLOAT_EQ(b.dif, 0.8f);
    EXPECT_FLOAT_EQ(b.power, 0.0f); // a value that is no number still converts as atof does
}

TEST(MqoReaderFaces, GroupsShortOfTheirValuesDoNotSwallowTheNextGroup) {
    const Read r = readText(kHeader + "Material 2 {\r\n\t\"a\"\r\n\t\"b\"\r\n}\r\n" +
                            triangleObject("o", "3 V(2 1) M(1) UV(0.5 0.25)"));
    ASSERT_TRUE(r.result.ok());
    const QelFace& face = r.scene.objects[0].faces[0];
    EXPECT_EQ(face.indices, (CornerList<std::int32_t>{2, 1, 0}));
    EXPECT_EQ(face.material, 1);
    EXPECT_EQ(face.u, (CornerList<float>{0.5f, 0, 0}));
    EXPECT_EQ(face.v, (CornerList<float>{0.25f, 0, 0}));
}

TEST(MqoReaderMaterials, HeaderMatchesWithoutRegardToCaseAndLongerWords) {
    for (const char* header : {"Material 1 {", "MATERIAL 1 {", "Materials 1 {"}) {
        const Read r = readText(kHeader + header + "\r\n\t\"m\"\r\n}\r\n");
        ASSERT_TRUE(r.result.ok());
        EXPECT_EQ(r.scene.materialCount, 1) << header;
    }
}

TEST(MqoReaderMaterials, MaterialEx2IsSkippedWithItsNestedBlocks) {
    const Read r = readText(kHeader + "Material 1 {\r\n\t\"mat1\" col(1 0.5 0.25 1)\r\n}\r\n"
                                      "MaterialEx2 1 {\r\n\tmaterial 0 {\r\n\t\tshadername \"gl{TF\"\r\n"
                                      "\t\tshaderparam 1 {\r\n\t\t\tMetallic float 0.25\r\n\t\t}\r\n"
                                      "\t}\r\n}\r\n" +
                            triangleObject("o", "3 V(0 1 2) M(0)"));
    ASSERT_TRUE(r.result.ok()) << r.result.message;
    ASSERT_EQ(r.scene.materialCount, 1);
    EXPECT_EQ(r.scene.materials[0].name, "mat1");
    EXPECT_FLOAT_EQ(r.scene.materials[0].col[1], 0.5f);
    EXPECT_EQ(r.scene.objectCount, 1);
}

TEST(MqoReaderMaterials, MaterialOnTheHeaderLineItself) {
    const Read r = readText(kHeader + "Material 1 { \"one\" col(0.5 0.5 0.5 1) dif(0.9) }\r\n" +
                            triangleObject("o", "3 V(0 1 2) M(0)"));
    ASSERT_TRUE(r.result.ok());
    ASSERT_EQ(r.scene.materialCount, 1);
    EXPECT_EQ(r.scene.materials[0].name, "one");
    EXPECT_FLOAT_EQ(r.scene.materials[0].dif, 0.9f);
    ASSERT_EQ(r.scene.objectCount, 1); // the object header was not taken for a material
    EXPECT_EQ(r.scene.objects[0].name, "o");
}

TEST(MqoReaderMaterials, LongFileNameIsReadWhole) {
    const std::string longName = "textures/" + std::string(300, 'x') + ".jpg";
    const Read r = readText(kHeader + "Material 1 {\r\n\t\"m\" tex(\"" + longName + "\")\r\n}\r\n");
    ASSERT_TRUE(r.result.ok());
    EXPECT_EQ(r.scene.materials[0].tex, longName);
}

// --- Objects -----------------------------------------------------------------------------

TEST(MqoReaderObjects, QuotedNameWithBlanksCommasAndParentheses) {
    const Read r = readText(kHeader + triangleObject("a b, (c)/d", "3 V(0 1 2)"));
    ASSERT_TRUE(r.result.ok());
    EXPECT_EQ(r.scene.objects[0].name, "a b, (c)/d");
}

TEST(MqoReaderObjects, SettingsAreReadAndKeywordsComparedWhole) {
    const Read r = readText(kHeader + "Object \"o\" {\r\n\tvisible 0\r\n\tfacet 30.5\r\n"
                                      "\tmirror_axis 3\r\n\tvertex 0 {\r\n\t}\r\n\tface 0 {\r\n\t}\r\n}\r\n");
    ASSERT_TRUE(r.result.ok());
    const QelObject& o = r.scene.objects[0];
    EXPECT_EQ(o.visible, 0);
    EXPECT_FLOAT_EQ(o.facet, 30.5f);
    EXPECT_EQ(o.mirrorAxis, 3);
    EXPECT_EQ(o.mirror, 0); // "mirror_axis" is not "mirror"
}

TEST(MqoReaderObjects, DefaultsWhenTheFileSaysNothing) {
    const Read r = readText(kHeader + triangleObject("o", "3 V(0 1 2)"));
    ASSERT_TRUE(r.result.ok());
    EXPECT_EQ(r.scene.objects[0].visible, 15);
    EXPECT_FLOAT_EQ(r.scene.objects[0].facet, 60.0f);
}

TEST(MqoReaderObjects, ObjectWithoutFaceChunkEndsAtNextObjectOrEof) {
    const Read r = readText(kHeader + "Object \"first\" {\r\n\tvisible 0\r\n\tvertex 1 {\r\n\t\t1 2 3\r\n"
                                      "\t}\r\n}\r\nObject \"second\" {\r\n\tfacet 10\r\n\tvertex 1 {\r\n"
                                      "\t\t4 5 6\r\n\t}\r\n}\r\nEof\r\n");
    ASSERT_TRUE(r.result.ok());
    ASSERT_EQ(r.scene.objectCount, 2);
    EXPECT_EQ(r.scene.objects[0].name, "first");
    EXPECT_EQ(r.scene.objects[0].visible, 0);
    EXPECT_FLOAT_EQ(r.scene.objects[0].facet, 60.0f); // the second object's facet stays its own
    EXPECT_FLOAT_EQ(r.scene.objects[0].vertices[0].z, 3.0f);
    EXPECT_EQ(r.scene.objects[1].visible, 15);
    EXPECT_FLOAT_EQ(r.scene.objects[1].facet, 10.0f);
    EXPECT_FLOAT_EQ(r.scene.objects[1].vertices[0].x, 4.0f);
}

TEST(MqoReaderObjects, LinesOutsideChunksChangeNothing) {
    const Read r = readText(kHeader + "Scene {\r\n\tpos 0 0 1500\r\n\tamb 0.25 0.25 0.25\r\n"
                                      "\tdirlights 1 {\r\n\t\tlight {\r\n\t\t\tdir 0.4 0.4 0.8\r\n"
                                      "\t\t}\r\n\t}\r\n}\r\nvertex 5 {\r\nface 9 {\r\n}\r\nEof\r\n");
    ASSERT_TRUE(r.result.ok());
    EXPECT_EQ(r.scene.materialCount, 0);
    EXPECT_EQ(r.scene.objectCount, 0);
}

TEST(MqoReaderObjects, CrLfAndLfFilesReadAlike) {
    std::string crlf = kHeader + "Material 1 {\r\n\t\"m\" tex(\"t.jpg\")\r\n}\r\n" +
                       triangleObject("o", "3 V(0 1 2) M(0) UV(0 0 1 0 0 1)") + "Eof\r\n";
    std::string lf;
    for (const char c : crlf) {
        if (c != '\r') {
            lf += c;
        }
    }
    const Read a = readText(crlf);
    const Read b = readText(lf);
    ASSERT_TRUE(a.result.ok());
    ASSERT_TRUE(b.result.ok());
    EXPECT_EQ(a.scene.materials[0].tex, b.scene.materials[0].tex);
    EXPECT_EQ(a.scene.objects[0].faces[0].u, b.scene.objects[0].faces[0].u);
    EXPECT_EQ(b.scene.materials[0].tex, "t.jpg");
}

// --- Vertices ----------------------------------------------------------------------------

std::string vertexChunkObject(int declared, int written) {
    std::string text = "Object \"big\" {\r\n\tfacet 45\r\n\tvertex " + std::to_string(declared) + " {\r\n";
    for (int i = 0; i < written; ++i) {
        text += "\t\t1 2 3\r\n";
    }
    return text + "\t}\r\n\tface 0 {\r\n\t}\r\n}\r\n";
}

TEST(MqoReaderVertices, LimitIsAcceptedAndOnePastItIsErrorTwo) {
    const Read atLimit = readText(kHeader + vertexChunkObject(65536, 65536));
    ASSERT_TRUE(atLimit.result.ok()) << atLimit.result.message;
    EXPECT_EQ(atLimit.scene.objects[0].vertexCount, 65536);

    // Refused before any vertex line is read: the lines are not even there.
    const Read past = readText(kHeader + "Material 1 {\r\n\t\"m\"\r\n}\r\n" +
                               triangleObject("done", "3 V(0 1 2)") + vertexChunkObject(65537, 0));
    EXPECT_EQ(past.result.code, kMqoTooManyVertices);
    EXPECT_EQ(past.scene.errorCode, kMqoTooManyVertices);
    EXPECT_EQ(past.result.line, 19);
    // What was read before stays; the failing object is kept at the end but not counted.
    EXPECT_EQ(past.scene.materialCount, 1);
    EXPECT_EQ(past.scene.objectCount, 1);
    ASSERT_EQ(past.scene.objects.size(), 2u);
    EXPECT_EQ(past.scene.objects[1].name, "big");
    EXPECT_FLOAT_EQ(past.scene.objects[1].facet, 45.0f);
    EXPECT_EQ(past.scene.objects[1].vertexCount, 65537);
    EXPECT_TRUE(past.scene.objects[1].vertices.empty());
}

TEST(MqoReaderVertices, BinaryVerticesAreTakenByByteCount) {
    // The coordinates hold the bytes 0x0A and 0x0D, which must not be taken for line ends.
    float lineFeed;
    const std::uint32_t bits = 0x0A0D0A0D;
    std::memcpy(&lineFeed, &bits, 4);
    const std::string raw = littleEndianFloats({-100, 100, 100, lineFeed, 2, 3});
    const Read r = readText(kHeader + "Object \"b\" {\r\n\tBVertex 2 {\r\n\t\tVector 2 [24]\r\n" + raw +
                            "\r\n\t}\r\n\tface 1 {\r\n\t\t2 V(0 1)\r\n\t}\r\n}\r\nEof\r\n");
    ASSERT_TRUE(r.result.ok()) << r.result.message;
    const QelObject& o = r.scene.objects[0];
    ASSERT_EQ(o.vertexCount, 2);
    EXPECT_FLOAT_EQ(o.vertices[0].x, -100.0f);
    EXPECT_FLOAT_EQ(o.vertices[0].z, 100.0f);
    EXPECT_EQ(std::memcmp(&o.vertices[1].x, &lineFeed, 4), 0);
    EXPECT_FLOAT_EQ(o.vertices[1].z, 3.0f);
    EXPECT_EQ(o.faceCount, 1);
}

TEST(MqoReaderVertices, BinaryVerticesObeyTheLimitAndTheirByteCount) {
    const Read past = readText(kHeader + "Object \"b\" {\r\n\tBVertex 65537 {\r\n\t\tVector 65537 [786444]\r\n");
    EXPECT_EQ(past.result.code, kMqoTooManyVertices);

    const Read mismatch = readText(kHeader + "Object \"b\" {\r\n\tBVertex 2 {\r\n\t\tVector 2 [20]\r\n" +
                                   std::string(20, '\0') + "\r\n\t}\r\n}\r\n");
    EXPECT_EQ(mismatch.result.code, kMqoMalformed);

    const Read truncated = readText(kHeader + "Object \"b\" {\r\n\tBVertex 2 {\r\n\t\tVector 2 [24]\r\n" +
                                    std::string(10, '\0'));
    EXPECT_EQ(truncated.result.code, kMqoMalformed);
}

// --- Damaged files -----------------------------------------------------------------------

TEST(MqoReaderDamage, NegativeAndOversizedCountsAreErrorThree) {
    const std::string cases[] = {
        "Material -1 {\r\n}\r\n",
        "Material 5 {\r\n\t\"m\"\r\n}\r\n",
        "Object \"o\" {\r\n\tvertex -3 {\r\n\t}\r\n}\r\n",
        "Object \"o\" {\r\n\tvertex 2000000000 {\r\n",
        "Object \"o\" {\r\n\tvertex 0 {\r\n\t}\r\n\tface 99999999999 {\r\n\t}\r\n}\r\n",
        "Object \"o\" {\r\n\tvertex 0 {\r\n\t}\r\n\tface -1 {\r\n\t}\r\n}\r\n",
    };
    for (const std::string& body : cases) {
        const Read r = readText(kHeader + body);
        if (body.find("2000000000") != std::string::npos) {
            EXPECT_EQ(r.result.code, kMqoTooManyVertices) << body;
        } else {
            EXPECT_EQ(r.result.code, kMqoMalformed) << body;
        }
        EXPECT_EQ(r.scene.objectCount, 0) << body;
        EXPECT_FALSE(r.result.message.empty());
    }
}

TEST(MqoReaderDamage, TruncatedFaceChunkIsErrorThreeWithItsLine) {
    const std::string object = "Object \"o\" {\r\n\tvertex 0 {\r\n\t}\r\n\tface 3 {\r\n";
    const Read r = readText(kHeader + object + "\t\t3 V(0 1 2)\r\n");
    EXPECT_EQ(r.result.code, kMqoMalformed);
    EXPECT_EQ(r.result.line, 7);
    // The chunk's shortfall is what is reported, even when one of the lines it has is damaged.
    const Read damaged = readText(kHeader + object + "\t\t3 V(0 1 2)\r\n\t\t-3 V(0 1 2)\r\n");
    EXPECT_EQ(damaged.result.line, 7);
    EXPECT_EQ(damaged.result.message, r.result.message);
    ASSERT_EQ(damaged.scene.objects.size(), 1u);
    EXPECT_EQ(damaged.scene.objects[0].faceCount, 0);
    EXPECT_TRUE(damaged.scene.objects[0].faces.empty());
    // With all its lines there, the damaged line is the one reported.
    const Read whole = readText(kHeader + object + "\t\t3 V(0 1 2)\r\n\t\t-3 V(0 1 2)\r\n\t\t3 V(0 1 2)\r\n");
    EXPECT_EQ(whole.result.line, 9);
    EXPECT_NE(whole.result.message, r.result.message);
}

TEST(MqoReaderDamage, CornerCountLargerThanItsLineIsErrorThree) {
    const Read huge = readText(kHeader + triangleObject("o", "1000000000 M(0)"));
    EXPECT_EQ(huge.result.code, kMqoMalformed);
    const Read negative = readText(kHeader + triangleObject("o", "-3 V(0 1 2)"));
    EXPECT_EQ(negative.result.code, kMqoMalformed);
    // The failing object is left without faces, so its counts still match its vectors.
    ASSERT_EQ(negative.scene.objects.size(), 1u);
    EXPECT_EQ(negative.scene.objects[0].faceCount, 0);
    EXPECT_TRUE(negative.scene.objects[0].faces.empty());
}

std::string repeated(std::string_view piece, std::size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

// A small file may declare tables of millions of records, each line only a line feed; what
// they would take is weighed against the file's size before anything is sized from it.
TEST(MqoReaderDamage, TablesBeyondWhatTheFileCanDescribeAreErrorThree) {
    const struct {
        std::string text;
        const char* table;
        int line;
    } cases[] = {
        {kHeader + "Material 1000000 {\n" + std::string(1000000, '\n'), "the materials", 4},
        {kHeader + "Object \"o\" {\n\tface 2000000 {\n" + repeated("1\n", 2000000), "the faces", 5},
    };
    for (const auto& c : cases) {
        largestAllocation = 0;
        const Read r = readText(c.text);
        EXPECT_EQ(r.result.code, kMqoMalformed) << c.table;
        EXPECT_EQ(r.result.line, c.line) << c.table;
        EXPECT_EQ(r.result.message.rfind(c.table, 0), 0u) << r.result.message;
        EXPECT_LT(largestAllocation, std::size_t{1} << 20) << c.table;
    }
    // The same tables at a size their file can describe are read.
    const Read fits = readText(kHeader + "Material 1000 {\n" + std::string(1000, '\n') + "}\n");
    EXPECT_TRUE(fits.result.ok()) << fits.result.message;
    EXPECT_EQ(fits.scene.materialCount, 1000);
}

TEST(MqoReaderDamage, FilesThatAreNoModelAtAll) {
    EXPECT_EQ(readText("").result.code, kMqoMalformed);
    EXPECT_EQ(readText("\xFF\xD8\xFF\xE0 JFIF binary\n\x00\x01").result.code, kMqoMalformed);
    EXPECT_EQ(readText("just some notes\nabout a model\n").result.code, kMqoMalformed);
    // A document header alone is an empty model, and a model without header is still read.
    EXPECT_TRUE(readText("Metasequoia Document\r\nFormat Text Ver 1.1\r\n\r\nEof\r\n").result.ok());
    EXPECT_TRUE(readText(triangleObject("o", "3 V(0 1 2)")).result.ok());
    EXPECT_TRUE(readText("\xEF\xBB\xBFMetasequoia Document\r\n").result.ok());
}

TEST(MqoReaderDamage, NumbersConvertAsTheCLibraryDoes) {
    const Read r = readText(kHeader + "Material 1 {\r\n\t\"m\" dif(0.5abc) amb(abc) spc(+0.25) power(-2e1)\r\n}\r\n" +
                            "Object \"o\" {\r\n\tvisible 7x\r\n\tvertex 1 {\r\n\t\t1e400 .5 -0\r\n\t}\r\n}\r\n");
    ASSERT_TRUE(r.result.ok());
    const QelMaterial& m = r.scene.materials[0];
    EXPECT_FLOAT_EQ(m.dif, 0.5f);
    EXPECT_FLOAT_EQ(m.amb, 0.0f);
    EXPECT_FLOAT_EQ(m.spc, 0.25f);
    EXPECT_FLOAT_EQ(m.power, -20.0f);
    EXPECT_EQ(r.scene.objects[0].visible, 7);
    EXPECT_TRUE(std::isinf(r.scene.objects[0].vertices[0].x));
    EXPECT_FLOAT_EQ(r.scene.objects[0].vertices[0].y, 0.5f);
}

// --- Code pages --------------------------------------------------------------------------

TEST(MqoReaderCodePage, DeclaredLineWins) {
    const Read utf8 = readText("Metasequoia Document\r\nFormat Text Ver 1.2\r\nCodePage utf8\r\n" +
                               triangleObject("\xE8\xA1\xA8", "3 V(0 1 2)"));
    EXPECT_EQ(utf8.scene.codePage, CodePage::Utf8);
    const Read cp932 = readText("Metasequoia Document\r\nFormat Text Ver 1.1\r\nCodePage 932\r\n" +
                                triangleObject("plain", "3 V(0 1 2)"));
    EXPECT_EQ(cp932.scene.codePage, CodePage::Cp932);
}

TEST(MqoReaderCodePage, DetectedFromTheTextsWithoutALine) {
    const Read sjis = readText(kHeader + "Material 1 {\r\n\t\"\x95\x5C\" tex(\"\x95\x5C\\w.jpg\")\r\n}\r\n");
    EXPECT_EQ(sjis.scene.codePage, CodePage::Cp932);
    // The trail byte 0x5C stays part of the name; the texts are the file's bytes.
    EXPECT_EQ(sjis.scene.materials[0].name, "\x95\x5C");
    EXPECT_EQ(sjis.scene.materials[0].tex, "\x95\x5C\\w.jpg");

    const Read utf8 = readText(kHeader + triangleObject("\xE8\xA1\xA8", "3 V(0 1 2)"));
    EXPECT_EQ(utf8.scene.codePage, CodePage::Utf8);
}

// --- Files -------------------------------------------------------------------------------

TEST(MqoReaderFiles, MissingFileOrFolderIsErrorOneAndTouchesNothing) {
    test::TempDir dir;
    QelScene scene;
    scene.materials.resize(2);
    scene.materialCount = 2;
    std::int32_t code = -1;
    EXPECT_FALSE(scene.LoadMQO(dir.file("missing.mqo"), &code));
    EXPECT_EQ(code, kMqoCannotOpen);
    EXPECT_EQ(scene.errorCode, 0);
    EXPECT_EQ(scene.materialCount, 2);
    EXPECT_FALSE(scene.LoadMQO(dir.folder(), &code));
    EXPECT_EQ(code, kMqoCannotOpen);
    // A FIFO that no program writes to is refused at once, not waited on; a device too.
    ASSERT_EQ(::mkfifo(dir.file("pipe.mqo").c_str(), 0600), 0);
    for (const std::string& path : {dir.file("pipe.mqo"), std::string("/dev/zero")}) {
        EXPECT_FALSE(scene.LoadMQO(path, &code));
        EXPECT_EQ(code, kMqoCannotOpen) << path;
    }
}

// A zipped model whose headers claim 4,000,000 compressed bytes inflating to 3.75 GiB, around
// a few bytes of real data.
void writeZipClaimingGigabytes(const std::string& path) {
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    zip_fileinfo info{};
    ASSERT_EQ(zipOpenNewFileInZip(zip, "model.mqo", &info, nullptr, 0, nullptr, 0, nullptr,
                                  Z_DEFLATED, 9),
              ZIP_OK);
    const std::string text = kHeader + "Eof\r\n";
    ASSERT_EQ(zipWriteInFileInZip(zip, text.data(), static_cast<unsigned>(text.size())), ZIP_OK);
    ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
    ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
    std::string bytes = test::readBytes(path);
    const std::size_t central = bytes.find("PK\x01\x02");
    ASSERT_NE(central, std::string::npos);
    for (const std::size_t sizes : {std::size_t{18}, central + 20}) {
        for (int i = 0; i < 4; ++i) {
            bytes[sizes + i] = static_cast<char>(4000000u >> (8 * i));
            bytes[sizes + 4 + i] = static_cast<char>(0xF0000000u >> (8 * i));
        }
    }
    test::writeBytes(path, bytes);
}

TEST(MqoReaderFiles, SizeClaimedByAZippedModelIsNotAllocated) {
    test::TempDir dir;
    writeZipClaimingGigabytes(dir.file("claims.mqoz"));
    QelScene scene;
    largestAllocation = 0;
    std::int32_t code = -1;
    scene.LoadMQO(dir.file("claims.mqoz"), &code);
    EXPECT_LT(largestAllocation, std::size_t{64} << 20);
}

// Zipped models that inflate far beyond what a model text compresses from: a gibibyte of
// zeros in one megabyte, and twenty million empty material lines in twenty kilobytes.
TEST(MqoReaderFiles, ZippedModelsInflatingFarBeyondTheirArchiveAreErrorThree) {
    test::TempDir dir;
    const std::pair<std::string, std::string> bombs[] = {
        {"zeros.mqoz", test::handMadeZip({test::deflatedZeros("zeros.mqo", 1024)})},
        {"materials.mqoz",
         test::handMadeZip({test::deflatedEntry(
             "m.mqo", kHeader + "Material 20000000 {\n" + std::string(20000000, '\n'))})},
    };
    for (const auto& [name, bytes] : bombs) {
        test::writeBytes(dir.file(name), bytes);
        QelScene scene;
        largestAllocation = 0;
        const MqoReadResult r = readMqoFile(scene, dir.file(name));
        EXPECT_EQ(r.code, kMqoMalformed) << name;
        EXPECT_NE(r.message.find("bytes may hold"), std::string::npos) << r.message;
        EXPECT_LT(largestAllocation, std::size_t{1} << 20) << name;
        EXPECT_EQ(test::readBytes(dir.file(name)), bytes);
    }
    // A model that compresses as real ones do is read from its archive.
    QelScene scene;
    const std::string model = kHeader + triangleObject("o", "3 V(0 1 2)");
    EXPECT_TRUE(readZippedMqo(scene, test::handMadeZip({test::deflatedEntry("a.mqo", model)})).ok());
    EXPECT_EQ(scene.objectCount, 1);
}

TEST(MqoReaderFiles, LoadMqoReadsAFileAndAppendsToTheScene) {
    test::TempDir dir;
    test::writeBytes(dir.file("a.mqo"), kHeader + triangleObject("o", "3 V(0 1 2)"));
    QelScene scene;
    std::int32_t code = -1;
    ASSERT_TRUE(scene.LoadMQO(dir.file("a.mqo"), &code));
    EXPECT_EQ(code, 0);
    ASSERT_TRUE(scene.LoadMQO(dir.file("a.mqo")));
    EXPECT_EQ(scene.objectCount, 2); // the caller empties the scene, not the reader
}

} // namespace
} // namespace vantor

#include <cstdlib>
#include <random>

#include "model/MqoTokens.h"

namespace vantor {
namespace {

// Numbers convert as atof does and are then narrowed, whichever path the conversion takes.
TEST(MqoTokens, NumbersConvertExactlyAsTheCLibraryWould) {
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<int> digitCount(1, 17);
    std::uniform_int_distribution<int> digit(0, 9);
    for (int i = 0; i < 200000; ++i) {
        std::string text = random() % 2 ? "-" : "";
        const int whole = digitCount(random) % 8;
        for (int k = 0; k < whole; ++k) {
            text += static_cast<char>('0' + digit(random));
        }
        if (random() % 4 != 0) {
            text += '.';
            const int fraction = digitCount(random);
            for (int k = 0; k < fraction; ++k) {
                text += static_cast<char>('0' + digit(random));
            }
        }
        if (random() % 16 == 0) {
            text += 'e';
            text += std::to_string(static_cast<int>(random() % 60) - 30);
        }
        const float expected = static_cast<float>(std::strtod(text.c_str(), nullptr));
        const float actual = parseTokenFloat(text);
        ASSERT_EQ(std::memcmp(&expected, &actual, sizeof expected), 0) << text;
    }
    for (const char* text : {"+-5", ".", "-", "", "1.2.3", "5.", "-.5", "1.5abc", "nan(", "1e400",
                             "0.000000000000000000000001", "123456789012345678"}) {
        const float expected = static_cast<float>(std::strtod(text, nullptr));
        const float actual = parseTokenFloat(text);
        EXPECT_TRUE(std::memcmp(&expected, &actual, sizeof expected) == 0 ||
                    (std::isnan(expected) && std::isnan(actual)))
            << text;
    }
}

} // namespace
} // namespace vantor
