#pragma once
// Texture files: every image a material names travels in the package as the image file itself,
// byte for byte, behind the keyed stream's four-byte key header. The image is not decoded or
// re-encoded; a texture file is exactly four bytes longer than its image.

#include "model/QelScene.h"
#include "publish/KeyedStream.h"

#include <string>
#include <string_view>

namespace vantor {

std::string buildTextureFile(std::string_view image, StreamKey key, bool transform);

enum class TextureFileStatus { Ok, CannotReadImage, NotAnImage, CannotWrite };

// Reads the image file (an existing path: the caller has resolved the stored name), refuses a
// file of no kind the viewer shows (see ImageKind.h), and writes
// its texture file at texturePath with scene.streamTransform and a key drawn from keys once the
// image has been read. Leaves the key in scene.streamKey and the stream length in
// scene.streamPos.
TextureFileStatus writeTextureFile(QelScene& scene, const std::string& imageFile,
                                   const std::string& texturePath, KeyGenerator& keys);

} // namespace vantor
