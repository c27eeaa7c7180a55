#pragma once
// What kind of image a file holds, told from its bytes (signature and header), never from its
// name. Only images of a kind the viewer shows leave the disk in a package: as a texture file,
// as a copy beside the page, or inside the single-file page. Anything else that a model or a
// settings file names (a text, a key, a document) stays where it is.

#include <string>
#include <string_view>

namespace vantor {

// The kinds the viewer shows: the browser's own (JPEG, PNG, GIF, BMP, WebP) and those it
// decodes itself (TGA, DDS, PSD).
enum class ImageKind { None, Jpeg, Png, Gif, Bmp, WebP, Tga, Dds, Psd };

// The kind of image the whole content of a file holds; None when it is no image the viewer
// shows (TGA has no signature: a header whose fields all make sense, with the bytes it
// announces, is taken for one).
ImageKind imageKindOf(std::string_view bytes);

enum class ImageFileStatus { Ok, Unreadable, NotAnImage };

struct ImageFile {
    ImageFileStatus status = ImageFileStatus::Unreadable;
    std::string bytes; // the whole file when Ok
};

// Reads an image file whole (up to kMaxImageFileBytes) and checks its kind; what is packaged is
// these bytes, so a file changed after the check is never packaged unchecked.
ImageFile readImageFile(const std::string& path);

} // namespace vantor
