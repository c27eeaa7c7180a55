// vantor-cli info: reads a model and prints a summary of the scene as JSON.

#include <cstdio>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "model/MqoReader.h"
#include "publish/BuildOutput.h"
#include "publish/PathHelpers.h"

#include <filesystem>

namespace vantor::cli {

namespace {

// "texFound" and the like: where the map's image is read from, or null when it cannot be.
void writeFound(JsonWriter& json, const char* key, const QelScene& scene,
                const std::string& stored, const std::string& modelFolder) {
    json.key(key);
    ImageReference image;
    image.stored = stored.substr(0, stored.find('\0'));
    image.cp = scene.codePage;
    const std::optional<std::string> found =
        image.stored.empty() ? std::nullopt : readableImage(image, modelFolder);
    if (found) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(*found, error);
        json.value(decodeToUtf8(systemCodePage(),
                                error ? *found : absolute.lexically_normal().string()));
    } else {
        json.null();
    }
}

void writeMaterial(JsonWriter& json, const QelScene& scene, const QelMaterial& material,
                   const std::string& modelFolder) {
    auto text = [&](const std::string& bytes) { return decodeToUtf8(scene.codePage, bytes); };
    json.beginObject();
    json.key("name").value(text(material.name));
    json.key("col").beginArray();
    for (const float channel : material.col) {
        json.value(channel);
    }
    json.endArray();
    json.key("dif").value(material.dif);
    json.key("amb").value(material.amb);
    json.key("emi").value(material.emi);
    json.key("spc").value(material.spc);
    json.key("power").value(material.power);
    json.key("tex").value(text(material.tex));
    json.key("aplane").value(text(material.aplane));
    json.key("bump").value(text(material.bump));
    json.key("env").value(text(material.env));
    json.key("envPower").value(material.envPower);
    writeFound(json, "texFound", scene, material.tex, modelFolder);
    writeFound(json, "aplaneFound", scene, material.aplane, modelFolder);
    writeFound(json, "bumpFound", scene, material.bump, modelFolder);
    writeFound(json, "envFound", scene, material.env, modelFolder);
    json.endObject();
}

void writeObject(JsonWriter& json, const QelScene& scene, const QelObject& object) {
    std::int64_t corners = 0;
    std::int64_t uvFaces = 0;
    for (const QelFace& face : object.faces) {
        corners += face.cornerCount;
        uvFaces += face.u.empty() ? 0 : 1;
    }
    json.beginObject();
    json.key("name").value(decodeToUtf8(scene.codePage, object.name));
    json.key("visible").value(object.visible);
    json.key("facet").value(object.facet);
    json.key("mirror").value(static_cast<std::int32_t>(object.mirror));
    json.key("mirrorAxis").value(static_cast<std::int32_t>(object.mirrorAxis));
    json.key("vertices").value(object.vertexCount);
    json.key("faces").value(object.faceCount);
    json.key("corners").value(corners);
    json.key("uvFaces").value(uvFaces);
    json.endObject();
}

int runInfo(const Arguments& args) {
    if (handleHelp(kInfoCommand, args)) {
        return kExitOk;
    }
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
        return reportUsage(kInfoCommand, args.empty() ? "a model file is needed" : "");
    }
    const std::string& path = args[0];
    QelScene scene;
    const MqoReadResult result = readMqoFile(scene, path);
    JsonWriter json;
    if (!result.ok()) {
        json.beginObject().key("error").value(result.code).endObject();
        std::printf("%s\n", json.text().c_str());
        return reportModelFailure(path, result);
    }
    json.beginObject();
    json.key("codePage").value(codePageName(scene.codePage));
    json.key("materials").beginArray();
    const std::string modelFolder = folderOfPath(path, systemCodePage()).value_or("./");
    for (const QelMaterial& material : scene.materials) {
        writeMaterial(json, scene, material, modelFolder);
    }
    json.endArray();
    json.key("objects").beginArray();
    for (const QelObject& object : scene.objects) {
        writeObject(json, scene, object);
    }
    json.endArray();
    json.endObject();
    std::printf("%s\n", json.text().c_str());
    return kExitOk;
}

} // namespace

const Command kInfoCommand{
    "info",
    "read a model and print a summary of its scene as JSON",
    "usage: vantor-cli info MODEL.mqo\n"
    "\n"
    "Reads MODEL (an MQO file, or a zipped .mqoz) and prints one JSON object: the code page\n"
    "of its texts, every material with its colour, factors and image names, and every object\n"
    "with its settings and its vertex, face and corner counts. Texts are shown in UTF-8. For\n"
    "each image name, \"texFound\" (\"aplaneFound\", \"bumpFound\", \"envFound\") gives the\n"
    "absolute path of the file a publish reads for it, or null when none can be read.\n"
    "On failure prints {\"error\":CODE} (1 cannot open, 2 more than 65536 vertices in one\n"
    "object, 3 damaged or not a model) and a message on standard error, and exits with 1.\n",
    runInfo,
};

} // namespace vantor::cli
