// Fuzz target of the zipped model (.mqoz) reader: archives of any content are refused or read,
// never read out of bounds, and what is read keeps the scene's invariants.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "SceneInvariants.h"
#include "model/MqoReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vantor::QelScene scene;
    const vantor::MqoReadResult result =
        vantor::readZippedMqo(scene, std::string_view(reinterpret_cast<const char*>(data), size));
    vantor::fuzz::checkSceneInvariants(scene, result);
    return 0;
}
