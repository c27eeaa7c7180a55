// Fuzz target of the MQO reader. Besides not crashing, a read must leave the scene's counts
// in step with its vectors for every object it counted.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/MqoReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vantor::QelScene scene;
    const vantor::MqoReadResult result =
        vantor::readMqo(scene, std::string_view(reinterpret_cast<const char*>(data), size));
    if (scene.materialCount != static_cast<std::int32_t>(scene.materials.size())) {
        std::abort();
    }
    if (result.ok() && scene.objectCount != static_cast<std::int32_t>(scene.objects.size())) {
        std::abort();
    }
    for (std::int32_t i = 0; i < scene.objectCount; ++i) {
        const vantor::QelObject& object = scene.objects[static_cast<std::size_t>(i)];
        if (object.vertexCount != static_cast<std::int32_t>(object.vertices.size()) ||
            object.faceCount != static_cast<std::int32_t>(object.faces.size())) {
            std::abort();
        }
        for (const vantor::QelFace& face : object.faces) {
            const auto corners = static_cast<std::size_t>(face.cornerCount);
            if (face.indices.size() != corners || face.u.size() != face.v.size() ||
                (!face.u.empty() && face.u.size() != corners)) {
                std::abort();
            }
        }
    }
    return 0;
}
