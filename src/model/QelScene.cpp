#include "model/QelScene.h"

#include "model/MqoReader.h"

namespace vantor {

void QelScene::Clear() {
    materialCount = 0;
    materials.clear();
    objectCount = 0;
    objects.clear();
}

bool QelScene::LoadMQO(const std::string& path, std::int32_t* error) {
    const MqoReadResult result = readMqoFile(*this, path);
    if (error != nullptr) {
        *error = result.code;
    }
    return result.ok();
}

} // namespace vantor
