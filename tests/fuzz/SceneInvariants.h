#pragma once
// What every read must leave behind, whatever its input: the scene's counts in step with its
// vectors for every object it counted. A broken invariant ends the program, which the fuzzer
// reports.

#include <cstdlib>

#include "model/MqoReader.h"

namespace vantor::fuzz {

inline void checkSceneInvariants(const QelScene& scene, const MqoReadResult& result) {
    if (scene.materialCount != static_cast<std::int32_t>(scene.materials.size())) {
        std::abort();
    }
    if (result.ok() && scene.objectCount != static_cast<std::int32_t>(scene.objects.size())) {
        std::abort();
    }
    for (std::int32_t i = 0; i < scene.objectCount; ++i) {
        const QelObject& object = scene.objects[static_cast<std::size_t>(i)];
        if (object.vertexCount != static_cast<std::int32_t>(object.vertices.size()) ||
            object.faceCount != static_cast<std::int32_t>(object.faces.size())) {
            std::abort();
        }
        for (const QelFace& face : object.faces) {
            const auto corners = static_cast<std::size_t>(face.cornerCount);
            if (face.indices.size() != corners || face.u.size() != face.v.size() ||
                (!face.u.empty() && face.u.size() != corners)) {
                std::abort();
            }
        }
    }
}

} // namespace vantor::fuzz
