// Fuzz target of the package decoder's archive step: archives of any content are refused or
// read entry by entry, and each entry is decoded as inspect decodes it. No entry may come out
// larger than the limit of one entry.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/Limits.h"
#include "publish/PackageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    vantor::visitArchive(bytes, [](vantor::ArchiveEntry& entry) {
        if (entry.data.size() > vantor::kMaxArchiveEntryBytes) {
            std::abort();
        }
        if (const auto keyed = vantor::decodeKeyedFile(entry.data)) {
            if (!vantor::modelStreamHeaderFault(keyed->stream, keyed->stream.size())) {
                vantor::decodeModelStream(keyed->stream);
            }
        }
        return true;
    });
    return 0;
}
