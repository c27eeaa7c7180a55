#pragma once
// Reads a model in the Metasequoia text format (MQO) into a QelScene. The reader works on a
// byte buffer; readMqoFile is the thin wrapper that loads a file (or the model inside a
// zipped .mqoz archive) and hands it over.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/QelScene.h"

namespace vantor {

// Error codes of a failed read, stored in QelScene::errorCode.
enum MqoError : std::int32_t {
    kMqoOk = 0,
    kMqoCannotOpen = 1,        // the file cannot be opened
    kMqoTooManyVertices = 2,   // an object declares more than kMaxObjectVertices vertices
    kMqoMalformed = 3,         // a damaged or truncated file, or not an MQO file at all
};

struct MqoReadResult {
    std::int32_t code = kMqoOk;
    int line = 0;        // 1-based line of the file where reading stopped; 0 when not known
    std::string message; // short English description of the failure, empty on success
    // The bytes are no model at all (no header, material or object; an archive without a
    // .mqo entry), as opposed to a model that is damaged at line.
    bool notModel = false;
    bool ok() const { return code == kMqoOk; }
};

// Reads the MQO text in bytes into the scene, after what it already holds (the caller empties
// it first). On failure the scene keeps what was read before the failing chunk: the materials,
// the completed objects, and the failing object at the end of objects, not counted in
// objectCount. Sets scene.errorCode and scene.codePage.
MqoReadResult readMqo(QelScene& scene, std::string_view bytes);

// Reads the first .mqo entry of a zipped model (.mqoz) in memory with readMqo. The entry may
// inflate to at most kMaxZippedModelInflation times the archive's size (or to
// kZippedModelInflationFloor); beyond that, and for a damaged archive, the code is 3.
MqoReadResult readZippedMqo(QelScene& scene, std::string_view archive);

// Reads the bytes of an MQO file or of a zipped .mqoz archive, whichever they are: what
// readMqoFile does with a file's bytes, for callers that hold them already.
MqoReadResult readMqoBytes(QelScene& scene, std::string_view bytes);

// Reads an MQO file, or the first .mqo entry of a zipped .mqoz archive, with readMqo.
MqoReadResult readMqoFile(QelScene& scene, const std::string& path);

} // namespace vantor
