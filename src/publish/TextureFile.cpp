#include "publish/TextureFile.h"

#include "platform/FileOps.h"
#include "platform/Files.h"
#include "platform/Limits.h"
#include "publish/ImageKind.h"

namespace vantor {

std::string buildTextureFile(std::string_view image, StreamKey key, bool transform) {
    KeyedStream stream(key, transform);
    stream.putBytes(image);
    return stream.takeBytes();
}

TextureFileStatus writeTextureFile(QelScene& scene, const std::string& imageFile,
                                   const std::string& texturePath, KeyGenerator& keys) {
    // Read, not mapped: an image that shrinks while it is copied must not stop the program.
    const ImageFile image = readImageFile(imageFile);
    if (image.status != ImageFileStatus::Ok) {
        return image.status == ImageFileStatus::NotAnImage ? TextureFileStatus::NotAnImage
                                                           : TextureFileStatus::CannotReadImage;
    }
    const StreamKey key = keys.nextKey();
    const std::string bytes = buildTextureFile(image.bytes, key, scene.streamTransform != 0);
    scene.streamKey = {key[0], key[1], key[2], key[3]};
    scene.streamPos = static_cast<std::int32_t>(image.bytes.size());
    return writeWholeFile(texturePath, bytes) ? TextureFileStatus::Ok
                                              : TextureFileStatus::CannotWrite;
}

} // namespace vantor
