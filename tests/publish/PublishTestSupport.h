#pragma once
// Scene builders and decoding shortcuts shared by the publishing tests.

#include "model/QelScene.h"
#include "publish/PackageDecoder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vantor::test {

inline QelFace face(std::int32_t material, CornerList<std::int32_t> indices,
                    CornerList<float> u = {}, CornerList<float> v = {}) {
    QelFace f;
    f.cornerCount = static_cast<std::int32_t>(indices.size());
    f.material = material;
    f.indices = std::move(indices);
    f.u = std::move(u);
    f.v = std::move(v);
    return f;
}

inline QelMaterial material(std::string name) {
    QelMaterial m;
    m.name = std::move(name);
    return m;
}

inline void addMaterial(QelScene& scene, QelMaterial m) {
    scene.materials.push_back(std::move(m));
    scene.materialCount = static_cast<std::int32_t>(scene.materials.size());
}

// Adds an object with `vertexCount` vertices (vertex i at (i, 2i, 3i)) and the faces given.
inline QelObject& addObject(QelScene& scene, std::string name, int vertexCount,
                            std::vector<QelFace> faces) {
    QelObject o;
    o.name = std::move(name);
    for (int i = 0; i < vertexCount; ++i) {
        o.vertices.push_back({float(i), float(2 * i), float(3 * i)});
    }
    o.vertexCount = vertexCount;
    o.faces = std::move(faces);
    o.faceCount = static_cast<std::int32_t>(o.faces.size());
    scene.objects.push_back(std::move(o));
    scene.objectCount = static_cast<std::int32_t>(scene.objects.size());
    return scene.objects.back();
}

// The scene of the 256-byte example: material "m" without maps, object "o" with three
// vertices and one triangle 2, 0, 1 of material 0 without texture coordinates.
inline QelScene exampleScene() {
    QelScene scene;
    QelMaterial m = material("m");
    m.col = {0.5f, 0.25f, 0.125f, 1.0f};
    m.dif = 0.8f;
    m.amb = 0.6f;
    m.spc = 0.1f;
    m.power = 5.0f;
    m.emi = 0.0f;
    addMaterial(scene, m);
    QelObject& o = addObject(scene, "o", 0, {face(0, {2, 0, 1})});
    o.vertices = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    o.vertexCount = 3;
    o.visible = 15;
    o.facet = 60.0f;
    return scene;
}

// Undoes the key of a model file and decodes it; fails the test when it does not decode.
inline DecodedModel decodeModelFile(const std::string& file) {
    const auto keyed = decodeKeyedFile(file);
    EXPECT_TRUE(keyed.has_value());
    if (!keyed) {
        return {};
    }
    const ModelDecodeResult result = decodeModelStream(keyed->stream);
    EXPECT_TRUE(result.ok()) << result.error << " at " << result.position;
    return result.model.value_or(DecodedModel{});
}

inline std::string plainStream(const std::string& file) {
    const auto keyed = decodeKeyedFile(file);
    return keyed ? keyed->stream : std::string();
}

inline std::uint32_t bigEndianAt(const std::string& bytes, std::size_t pos) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes.at(pos + i));
    }
    return value;
}

} // namespace vantor::test
