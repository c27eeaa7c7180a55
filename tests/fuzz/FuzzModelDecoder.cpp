// Fuzz target of the package decoder: model streams and archives of any content are
// refused or decoded, never read out of bounds.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "publish/PackageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto keyed = vantor::decodeKeyedFile(bytes)) {
        vantor::decodeModelStream(keyed->stream);
    }
    vantor::decodeModelStream(bytes);
    return 0;
}
