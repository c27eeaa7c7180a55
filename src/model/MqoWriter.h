#pragma once
// Writes a QelScene back as MQO text, so a model whose materials were edited here opens again
// in the modeller and in this program. The text is built in memory and written in one step.

#include <string>

#include "model/QelScene.h"

namespace vantor {

// The whole MQO text of the scene, lines ending in CR LF, numbers in the C locale's form.
std::string formatMqo(const QelScene& scene);

// Writes formatMqo(scene) to path. The file is replaced only when the new one is complete, so
// a failed save leaves the file that was there. On failure returns false and sets *error.
bool writeMqoFile(const QelScene& scene, const std::string& path, FileError* error = nullptr);

} // namespace vantor
