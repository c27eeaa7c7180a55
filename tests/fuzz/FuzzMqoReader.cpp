// Fuzz target of the MQO reader. Besides not crashing, a read must leave the scene's counts
// in step with its vectors for every object it counted.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "SceneInvariants.h"
#include "model/MqoReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vantor::QelScene scene;
    const vantor::MqoReadResult result =
        vantor::readMqo(scene, std::string_view(reinterpret_cast<const char*>(data), size));
    vantor::fuzz::checkSceneInvariants(scene, result);
    return 0;
}
