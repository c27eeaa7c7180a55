// Fuzz target of the settings-file reader: any text loads without harm, and a loaded record
// survives a save: loading what it saves gives the record again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/SceneSettings.h"

namespace {

vantor::QelParameter load(std::string_view text) {
    vantor::QelParameter parameters;
    vantor::readSceneSettings(parameters, vantor::ProfileFile::parse(text));
    return parameters;
}

std::string save(const vantor::QelParameter& parameters) {
    vantor::ProfileFile profile = vantor::ProfileFile::parse("");
    vantor::writeSceneSettings(parameters, profile);
    return profile.text();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vantor::QelParameter loaded = load(text);
    const std::string saved = save(loaded);
    if (!(load(saved) == loaded)) {
        std::abort();
    }
    return 0;
}
