#pragma once
// The in-memory form of one polygon model: a material table and a list of mesh objects, each
// with its own vertex table and face list. Plain value records; texts are byte strings in the
// code page of the file the scene was read from, never converted.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/CornerList.h"
#include "platform/CodePage.h"
#include "platform/Files.h"

namespace vantor {

struct QelMaterial {
    std::string name;
    // Base colour and opacity: red, green, blue, alpha. A new material holds the values a
    // modeller gives a fresh material, so a material line without a group keeps sane values.
    std::array<float, 4> col{1.0f, 1.0f, 1.0f, 1.0f};
    float dif = 0.8f;
    float amb = 0.6f;
    float spc = 0.0f;
    float power = 5.0f;
    float emi = 0.0f;
    std::string tex;    // texture image file name, empty when none
    std::string aplane; // alpha-plane image file name
    std::string bump;   // bump image file name
    std::string env;    // environment-map image file name
    float envPower = 1.0f;
};

struct QelVertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct QelFace {
    std::int32_t cornerCount = 0;
    // Index into the scene's materials; the scene's materialCount means "no material".
    std::int32_t material = 0;
    CornerList<std::int32_t> indices; // one vertex index per corner
    CornerList<float> u;              // one per corner, or empty when the face has no UVs
    CornerList<float> v;
};

struct QelObject {
    std::string name;
    std::int32_t visible = 15; // 15 shown, 0 hidden, as the modeller writes it
    std::uint16_t mirror = 0;
    std::uint16_t mirrorAxis = 0;
    float facet = 60.0f; // smoothing angle in degrees
    std::int32_t vertexCount = 0;
    std::vector<QelVertex> vertices;
    std::int32_t faceCount = 0;
    std::vector<QelFace> faces;
};

struct QelScene {
    // Reason of the last failed MQO read (see MqoError); 0 after a successful one.
    std::int32_t errorCode = 0;

    // Working state of the keyed stream while a package is written.
    std::int32_t streamSize = 0;
    std::int32_t streamPos = 0;
    std::array<std::int32_t, 4> streamKey{};
    std::uint32_t streamTransform = 0;

    // Working paths of the package writer.
    std::string tempPath;
    std::string workFolder;
    std::string packageName;

    std::int32_t materialCount = 0;
    std::vector<QelMaterial> materials;
    std::int32_t objectCount = 0;
    std::vector<QelObject> objects;

    std::string outputFolder;

    // Code page of the file the scene was read from; a new scene has the format's
    // traditional one.
    CodePage codePage = CodePage::Cp932;

    // Empties the material table and the object list; every other field keeps its value.
    void Clear();

    // Fills the scene from an MQO (or zipped .mqoz) file; does not empty it first. On failure
    // returns false and stores the error code (MqoError) in errorCode and *error.
    bool LoadMQO(const std::string& path, std::int32_t* error = nullptr);

    // Writes the scene as an MQO file. Returns false when the file could not be written
    // completely (the cause in *error); the file that was there is then left as it was.
    bool SaveMQO(const std::string& path, FileError* error = nullptr) const;
    // The same, with the failure described in English (describeFileError).
    bool SaveMQO(const std::string& path, std::string* error) const;
};

// Whether every text of the scene passes test: each material's name and its four image names,
// and each object's name. Stops at the first text that fails.
template <class Test>
bool allSceneTexts(const QelScene& scene, Test&& test) {
    for (const QelMaterial& material : scene.materials) {
        for (const std::string* text :
             {&material.name, &material.tex, &material.aplane, &material.bump, &material.env}) {
            if (!test(*text)) {
                return false;
            }
        }
    }
    for (const QelObject& object : scene.objects) {
        if (!test(object.name)) {
            return false;
        }
    }
    return true;
}

} // namespace vantor
