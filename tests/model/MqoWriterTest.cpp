#include <gtest/gtest.h>

#include <csignal>
#include <clocale>
#include <sys/resource.h>

#include "TestSupport.h"
#include "model/MqoReader.h"
#include "model/MqoWriter.h"

namespace vantor {
namespace {

QelMaterial material(const std::string& name) {
    QelMaterial m;
    m.name = name;
    m.col = {1.0f, 0.5f, 0.25f, 1.0f};
    m.dif = 0.8f;
    m.amb = 0.6f;
    m.emi = 0.0f;
    m.spc = 0.0f;
    m.power = 5.0f;
    return m;
}

QelFace face(CornerList<std::int32_t> indices, std::int32_t materialIndex,
             CornerList<float> u = {}, CornerList<float> v = {}) {
    QelFace f;
    f.cornerCount = static_cast<std::int32_t>(indices.size());
    f.indices = std::move(indices);
    f.material = materialIndex;
    f.u = std::move(u);
    f.v = std::move(v);
    return f;
}

QelObject triangleObject() {
    QelObject o;
    o.name = "tri";
    o.facet = 59.5f;
    o.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    o.vertexCount = 3;
    o.faces = {face({0, 1, 2}, 0, {0, 1, 0}, {0, 0, 1})};
    o.faceCount = 1;
    return o;
}

TEST(MqoWriterLines, EmptySceneIsHeaderEmptyTableAndEof) {
    EXPECT_EQ(formatMqo(QelScene{}),
              "Metasequoia Document\r\nFormat Text Ver 1.0\r\nMaterial 0 {\r\n}\r\nEof\r\n");
}

TEST(MqoWriterLines, ObjectExampleIsWrittenByteForByte) {
    QelScene scene;
    scene.objects.push_back(triangleObject());
    scene.objectCount = 1;
    const std::string expected = "Metasequoia Document\r\nFormat Text Ver 1.0\r\n"
                                 "Material 0 {\r\n}\r\n"
                                 "Object \"tri\" {\r\n"
                                 "\tfacet 59.5\r\n"
                                 "\tvisible 15\r\n"
                                 "\tvertex 3 {\r\n"
                                 "\t\t0.0000 0.0000 0.0000\r\n"
                                 "\t\t1.0000 0.0000 0.0000\r\n"
                                 "\t\t0.0000 1.0000 0.0000\r\n"
                                 "\t}\r\n"
                                 "\tface 1 {\r\n"
                                 "\t\t3 V(0 1 2) M(0) UV(0.00000 0.00000 1.00000 0.00000 0.00000 1.00000)\r\n"
                                 "\t}\r\n"
                                 "}\r\n"
                                 "Eof\r\n";
    EXPECT_EQ(formatMqo(scene), expected);
}

TEST(MqoWriterLines, MaterialGroupsInTheirOrderAndMapsOnlyWhenSet) {
    QelScene scene;
    QelMaterial plain = material("plain");
    plain.emi = 0.25f;
    plain.spc = 0.125f;
    plain.power = 12.0f;
    QelMaterial envOnly = material("env only");
    envOnly.env = "sky.jpg";
    envOnly.envPower = 2.5f;
    QelMaterial all = material("all");
    all.tex = "t.jpg";
    all.aplane = "a.gif";
    all.bump = "b.jpg";
    all.env = "e.jpg";
    scene.materials = {plain, envOnly, all};
    const std::string text = formatMqo(scene);
    EXPECT_NE(text.find("Material 3 {\r\n"
                        "\t\"plain\" col(1.000 0.500 0.250 1.000) dif(0.800) amb(0.600) emi(0.250) "
                        "spc(0.125) power(12.000)\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\t\"env only\" col(1.000 0.500 0.250 1.000) dif(0.800) amb(0.600) emi(0.000) "
                        "spc(0.000) power(5.000) env(\"sky.jpg\", 2.500)\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("power(5.000) tex(\"t.jpg\") aplane(\"a.gif\") bump(\"b.jpg\") "
                        "env(\"e.jpg\", 1.000)\r\n"),
              std::string::npos);
}

TEST(MqoWriterLines, MirrorLinesOnlyWithAMirrorMode) {
    QelScene scene;
    QelObject unmirrored = triangleObject();
    unmirrored.mirrorAxis = 3;
    QelObject mirrored = triangleObject();
    mirrored.mirror = 1;
    mirrored.mirrorAxis = 65535;
    scene.objects = {unmirrored, mirrored};
    const std::string text = formatMqo(scene);
    const std::size_t second = text.find("Object", text.find("Object") + 1);
    EXPECT_EQ(text.substr(0, second).find("mirror"), std::string::npos);
    EXPECT_NE(text.find("\tvisible 15\r\n\tmirror 1\r\n\tmirror_axis 65535\r\n\tvertex 3 {"), std::string::npos);
}

TEST(MqoWriterLines, QuadsAndFacesWithoutUVs) {
    QelScene scene;
    QelObject o = triangleObject();
    o.vertices.push_back({1, 1, 0});
    o.faces = {face({0, 1, 3, 2}, 1, {0, 1, 1, 0}, {0, 0, 1, 1}), face({2, 1, 0}, 7)};
    scene.objects = {o};
    const std::string text = formatMqo(scene);
    EXPECT_NE(text.find("\t\t4 V(0 1 3 2) M(1) UV(0.00000 0.00000 1.00000 0.00000 1.00000 1.00000 "
                        "0.00000 1.00000)\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\t\t3 V(2 1 0) M(7) UV(0.00000 0.00000 0.00000 0.00000 0.00000 0.00000)\r\n"),
              std::string::npos);
}

TEST(MqoWriterLines, NumbersUseAPeriodWhateverTheLocale) {
    QelScene scene;
    QelObject o = triangleObject();
    o.vertices[0] = {-1.25f, 1234567.0f, -0.00001f};
    scene.objects = {o};
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    const std::string text = formatMqo(scene);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_NE(text.find("\t\t-1.2500 1234567.0000 -0.0000\r\n"), std::string::npos) << german;
}

TEST(MqoWriterCodePage, HeaderNamesUtf8OnlyForUtf8TextsBeyondAscii) {
    const std::string ver10 = "Metasequoia Document\r\nFormat Text Ver 1.0\r\nMaterial 1 {\r\n";
    const std::string ver12 =
        "Metasequoia Document\r\nFormat Text Ver 1.2\r\nCodePage utf8\r\nMaterial 1 {\r\n";
    const auto startsWith = [](const std::string& text, const std::string& head) {
        return text.compare(0, head.size(), head) == 0;
    };

    // Plain ASCII keeps the traditional header in either code page, also read from a file.
    QelScene ascii;
    ascii.materials = {material("plain")};
    ascii.objects = {triangleObject()};
    for (const CodePage cp : {CodePage::Cp932, CodePage::Utf8}) {
        ascii.codePage = cp;
        EXPECT_TRUE(startsWith(formatMqo(ascii), ver10)) << codePageName(cp);
    }
    QelScene read;
    ASSERT_TRUE(readMqo(read, formatMqo(ascii)).ok());
    EXPECT_TRUE(startsWith(formatMqo(read), ver10));

    // Shift-JIS names are written byte for byte under the traditional header.
    QelScene sjis = ascii;
    sjis.codePage = CodePage::Cp932;
    sjis.materials = {material("\x95\x5C a, (b)")};
    sjis.objects[0].name = "\x83\x7D\x83\x65";
    const std::string text = formatMqo(sjis);
    EXPECT_TRUE(startsWith(text, ver10));
    EXPECT_NE(text.find("\t\"\x95\x5C a, (b)\" col("), std::string::npos);
    EXPECT_NE(text.find("Object \"\x83\x7D\x83\x65\" {"), std::string::npos);

    // One Japanese UTF-8 text anywhere names the code page.
    const std::string japanese = "\xE8\xA1\xA8\xE7\xA4\xBA";
    for (std::string QelMaterial::*field : {&QelMaterial::name, &QelMaterial::tex,
                                            &QelMaterial::aplane, &QelMaterial::bump,
                                            &QelMaterial::env}) {
        QelScene utf8 = ascii;
        utf8.codePage = CodePage::Utf8;
        utf8.materials[0].*field = japanese + ".jpg";
        EXPECT_TRUE(startsWith(formatMqo(utf8), ver12)) << utf8.materials[0].*field;
    }
    QelScene utf8 = ascii;
    utf8.codePage = CodePage::Utf8;
    utf8.objects[0].name = japanese;
    EXPECT_TRUE(startsWith(formatMqo(utf8), ver12));
}

// --- Round trips --------------------------------------------------------------------------

void expectSameScene(const QelScene& a, const QelScene& b) {
    EXPECT_EQ(a.codePage, b.codePage);
    ASSERT_EQ(a.materialCount, b.materialCount);
    for (std::size_t i = 0; i < a.materials.size(); ++i) {
        const QelMaterial& x = a.materials[i];
        const QelMaterial& y = b.materials[i];
        EXPECT_EQ(x.name, y.name);
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(x.col[c], y.col[c], 5e-4);
        }
        EXPECT_NEAR(x.dif, y.dif, 5e-4);
        EXPECT_NEAR(x.amb, y.amb, 5e-4);
        EXPECT_NEAR(x.emi, y.emi, 5e-4);
        EXPECT_NEAR(x.spc, y.spc, 5e-4);
        EXPECT_NEAR(x.power, y.power, 5e-4);
        EXPECT_EQ(x.tex, y.tex);
        EXPECT_EQ(x.aplane, y.aplane);
        EXPECT_EQ(x.bump, y.bump);
        EXPECT_EQ(x.env, y.env);
        EXPECT_NEAR(x.envPower, y.envPower, 5e-4);
    }
    ASSERT_EQ(a.objectCount, b.objectCount);
    for (std::size_t i = 0; i < a.objects.size(); ++i) {
        const QelObject& x = a.objects[i];
        const QelObject& y = b.objects[i];
        EXPECT_EQ(x.name, y.name);
        EXPECT_EQ(x.visible, y.visible);
        EXPECT_NEAR(x.facet, y.facet, 0.05);
        EXPECT_EQ(x.mirror, y.mirror);
        EXPECT_EQ(x.mirror != 0 ? x.mirrorAxis : 0, y.mirror != 0 ? y.mirrorAxis : 0);
        ASSERT_EQ(x.vertexCount, y.vertexCount);
        for (std::size_t k = 0; k < x.vertices.size(); ++k) {
            const float tolerance = 5e-5f + 1e-6f * std::abs(x.vertices[k].x);
            EXPECT_NEAR(x.vertices[k].x, y.vertices[k].x, tolerance);
            EXPECT_NEAR(x.vertices[k].y, y.vertices[k].y, 5e-5f + 1e-6f * std::abs(x.vertices[k].y));
            EXPECT_NEAR(x.vertices[k].z, y.vertices[k].z, 5e-5f + 1e-6f * std::abs(x.vertices[k].z));
        }
        ASSERT_EQ(x.faceCount, y.faceCount);
        for (std::size_t k = 0; k < x.faces.size(); ++k) {
            const QelFace& f = x.faces[k];
            const QelFace& g = y.faces[k];
            EXPECT_EQ(f.cornerCount, g.cornerCount);
            EXPECT_EQ(f.indices, g.indices);
            EXPECT_EQ(f.material, g.material);
            // A face read without UVs comes back with zero UVs: the writer always writes them.
            ASSERT_EQ(g.u.size(), static_cast<std::size_t>(f.cornerCount));
            for (std::size_t c = 0; c < f.u.size(); ++c) {
                EXPECT_NEAR(f.u[c], g.u[c], 5e-6);
                EXPECT_NEAR(f.v[c], g.v[c], 5e-6);
            }
        }
    }
}

QelScene readBack(const QelScene& scene, const test::TempDir& dir) {
    const std::string path = dir.file("round.mqo");
    std::string error;
    EXPECT_TRUE(scene.SaveMQO(path, &error)) << error;
    QelScene again;
    const MqoReadResult result = readMqoFile(again, path);
    EXPECT_TRUE(result.ok()) << result.message;
    return again;
}

TEST(MqoWriterRoundTrip, SampleModelReadsBackTheSame) {
    test::TempDir dir;
    QelScene scene;
    ASSERT_TRUE(scene.LoadMQO(std::string(VANTOR_SOURCE_DIR) + "/examples/house/house.mqo"));
    expectSameScene(scene, readBack(scene, dir));
}

TEST(MqoWriterRoundTrip, CorpusModelsReadBackTheSame) {
    test::TempDir dir;
    const char* names[] = {
        "binzume__mqo-jsmacro-plugin__scripts__csg_test.mqo",
        "nutti__blender-mqo__tests__python__blender_mqo_test__mqo_files__mirrored_multiple_axes.mqo",
        "nutti__blender-mqo__tests__python__blender_mqo_test__mqo_files__single_object_with_bvertex.mqo",
        "Kotatsu-RTM__mqoIO__src__test__resources__dev__siro256__mqoio__MqoIOTest__case5.mqoz",
        "Kotatsu-RTM__mqoIO__src__test__resources__dev__siro256__mqoio__MqoIOTest__case7.mqo",
    };
    for (const char* name : names) {
        VANTOR_REQUIRE_CORPUS_FILE(path, name);
        QelScene scene;
        ASSERT_TRUE(scene.LoadMQO(path)) << name;
        SCOPED_TRACE(name);
        expectSameScene(scene, readBack(scene, dir));
    }
}

TEST(MqoWriterRoundTrip, GeneratedScenesWithShiftJisAndUtf8Names) {
    test::TempDir dir;
    for (const CodePage cp : {CodePage::Cp932, CodePage::Utf8}) {
        const std::string name = cp == CodePage::Cp932 ? "\x95\x5C\x8E\xA6" : "\xE8\xA1\xA8\xE7\xA4\xBA";
        QelScene scene;
        scene.codePage = cp;
        QelMaterial m = material(name);
        m.tex = name + "\\tex.jpg";
        scene.materials = {m, material("second")};
        scene.materialCount = 2;
        QelObject o = triangleObject();
        o.name = name + " obj";
        o.visible = 0;
        o.mirror = 2;
        o.mirrorAxis = 5;
        o.faces.push_back(face({2, 0}, 2)); // no material, no UVs
        o.faceCount = 2;
        scene.objects = {o, triangleObject()};
        scene.objectCount = 2;
        SCOPED_TRACE(codePageName(cp));
        expectSameScene(scene, readBack(scene, dir));
    }
}

// --- Failures ------------------------------------------------------------------------------

TEST(MqoWriterFailure, UnwritablePlacesReturnFalse) {
    test::TempDir dir;
    QelScene scene;
    std::string error;
    EXPECT_FALSE(scene.SaveMQO(dir.file("no/such/folder/a.mqo"), &error));
    EXPECT_FALSE(error.empty());
    test::writeBytes(dir.file("file"), "x");
    EXPECT_FALSE(scene.SaveMQO(dir.file("file/a.mqo")));
    std::filesystem::create_directory(dir.path() / "folder.mqo");
    EXPECT_FALSE(scene.SaveMQO(dir.file("folder.mqo")));
}

TEST(MqoWriterFailure, FullDiskKeepsTheFileTheUserHad) {
    test::TempDir dir;
    const std::string path = dir.file("model.mqo");
    test::writeBytes(path, "the user's model");
    QelScene scene;
    QelObject big = triangleObject();
    big.vertices.assign(2000, QelVertex{1, 2, 3});
    scene.objects = {big};

    // A file-size limit makes the write fail part way, as a full disk would.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = scene.SaveMQO(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(test::readBytes(path), "the user's model");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1); // no temporary file left behind
}

} // namespace
} // namespace vantor
