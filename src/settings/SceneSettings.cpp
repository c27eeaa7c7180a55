#include "settings/SceneSettings.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <type_traits>

#include "platform/NumberText.h"

namespace vantor {

namespace {

template <class T>
std::string formatValue(const T& field) {
    using Field = std::remove_cv_t<T>;
    if constexpr (std::is_same_v<Field, bool>) {
        return field ? "1" : "0";
    } else if constexpr (std::is_same_v<Field, float>) {
        return formatGeneral(static_cast<double>(field));
    } else if constexpr (std::is_same_v<Field, std::int32_t>) {
        return std::to_string(field);
    } else if constexpr (std::is_same_v<Field, std::string>) {
        return field;
    } else {
        // A colour: the integer of its 32 bits, as a signed value.
        return std::to_string(static_cast<std::int32_t>(field.value));
    }
}

// The float a settings value gives: nothing beyond the float range, which would read as an
// infinity that the page cannot use and the next save writes as text no load accepts. Values
// that round to the largest float (its own shortest text among them) are taken as it.
std::optional<float> floatOfReal(double value) {
    constexpr double kFirstOverflow = 0x1.ffffffp127; // half a step above the largest float
    if (!(std::fabs(value) < kFirstOverflow)) {
        return std::nullopt;
    }
    constexpr double kLargest = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(value, -kLargest, kLargest));
}

template <class T>
void readValue(const std::string& text, T& field) {
    if constexpr (std::is_same_v<T, bool>) {
        if (const auto value = parseProfileInteger(text)) {
            field = *value != 0;
        }
    } else if constexpr (std::is_same_v<T, float>) {
        if (const auto value = parseReal(text); value && floatOfReal(*value)) {
            field = *floatOfReal(*value);
        }
    } else if constexpr (std::is_same_v<T, std::int32_t>) {
        if (const auto value = parseProfileInteger(text)) {
            field = *value;
        }
    } else if constexpr (std::is_same_v<T, std::string>) {
        field = text;
    } else {
        if (const auto value = parseProfileInteger(text)) {
            field.value = static_cast<std::uint32_t>(*value);
        }
    }
}

template <class T>
T clampField(T value, const NumberFieldRange& range) {
    return static_cast<T>(std::clamp(static_cast<double>(value), range.min, range.max));
}

} // namespace

void writeSceneSettings(const QelParameter& parameters, ProfileFile& profile) {
    std::size_t keyCount = 0;
    visitSceneSettings(parameters, [&](const char*, const auto&) { ++keyCount; });
    std::vector<ProfileEntry> entries;
    entries.reserve(keyCount);
    visitSceneSettings(parameters, [&](const char* key, const auto& field) {
        entries.push_back({key, formatValue(field)});
    });
    profile.write(kSceneSettingsSection, entries);
}

void readSceneSettings(QelParameter& parameters, const ProfileFile& profile) {
    const ProfileSectionReader section = profile.sectionReader(kSceneSettingsSection);
    visitSceneSettings(parameters, [&](const char* key, auto&& field) {
        if (const auto text = section.read(key)) {
            readValue(*text, field);
        }
    });
}

bool saveSceneSettings(const QelParameter& parameters, const std::string& path, FileError* error) {
    std::optional<ProfileFile> profile = ProfileFile::loadForUpdate(path, error);
    if (!profile) {
        return false;
    }
    writeSceneSettings(parameters, *profile);
    return profile->save(path, error);
}

bool saveSceneSettings(const QelParameter& parameters, const std::string& path,
                       std::string* error) {
    FileError failure;
    if (saveSceneSettings(parameters, path, &failure)) {
        return true;
    }
    if (error != nullptr) {
        *error = describeFileError(failure);
    }
    return false;
}

bool loadSceneSettings(QelParameter& parameters, const std::string& path) {
    bool wasRead = false;
    readSceneSettings(parameters, ProfileFile::load(path, &wasRead));
    return wasRead;
}

void clampToEditorRanges(QelParameter& parameters) {
    parameters.Width = clampField(parameters.Width, kCanvasSizeRange);
    parameters.Height = clampField(parameters.Height, kCanvasSizeRange);
    parameters.FieldOfView = clampField(parameters.FieldOfView, kFieldOfViewRange);
    parameters.EdgePower = clampField(parameters.EdgePower, kEdgePowerRange);
    parameters.ProgBarPosition = clampField(parameters.ProgBarPosition, kProgBarPositionRange);
}

} // namespace vantor
