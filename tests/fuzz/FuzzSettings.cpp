// Fuzz target of the settings-file reader: any text loads without harm, and what a save of a
// loaded record gives is a fixed point: saving and loading it again changes nothing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/SceneSettings.h"

namespace {

vantor::QelParameter saveAndLoad(const vantor::QelParameter& parameters) {
    vantor::ProfileFile profile = vantor::ProfileFile::parse("");
    vantor::writeSceneSettings(parameters, profile);
    vantor::QelParameter loaded;
    vantor::readSceneSettings(loaded, vantor::ProfileFile::parse(profile.text()));
    return loaded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vantor::QelParameter loaded;
    vantor::readSceneSettings(loaded, vantor::ProfileFile::parse(text));
    const vantor::QelParameter once = saveAndLoad(loaded);
    if (!(saveAndLoad(once) == once)) {
        std::abort();
    }
    return 0;
}
