// vantor-cli settings: shows a scene settings file as JSON, or writes the editor's start-up
// settings as a new file.

#include <cstdio>
#include <type_traits>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "platform/CodePage.h"
#include "settings/SceneSettings.h"

namespace vantor::cli {

namespace {

std::string settingsJson(const QelParameter& parameters) {
    JsonWriter json;
    json.beginObject();
    visitSceneSettings(parameters, [&](const char* key, const auto& field) {
        using Field = std::remove_cv_t<std::remove_reference_t<decltype(field)>>;
        json.key(key);
        if constexpr (std::is_same_v<Field, std::string>) {
            json.value(decodeToUtf8(systemCodePage(), field));
        } else if constexpr (std::is_same_v<Field, bool> || std::is_same_v<Field, float> ||
                             std::is_same_v<Field, std::int32_t>) {
            json.value(field);
        } else {
            json.value(static_cast<std::int64_t>(field.value)); // a colour, RGB form
        }
    });
    json.endObject();
    return json.text();
}

int runSettings(const Arguments& args) {
    if (handleHelp(kSettingsCommand, args)) {
        return kExitOk;
    }
    if (args.size() == 2 && args[0] == "--defaults") {
        std::string error;
        if (!saveSceneSettings(editorStartupParameters(), args[1], &error)) {
            return reportFailure("cannot write " + error);
        }
        return kExitOk;
    }
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
        return reportUsage(kSettingsCommand, "a settings file is needed");
    }
    // Keys the file lacks show the values a new record starts with, as loading does.
    QelParameter parameters;
    if (!loadSceneSettings(parameters, args[0])) {
        return reportFailure("cannot read " + args[0]);
    }
    std::printf("%s\n", settingsJson(parameters).c_str());
    return kExitOk;
}

} // namespace

const Command kSettingsCommand{
    "settings",
    "show a scene settings file as JSON, or write the start-up settings",
    "usage: vantor-cli settings FILE | vantor-cli settings --defaults OUT\n"
    "\n"
    "With FILE, loads the section \"QelScene\" of the settings file as the editor's \"load scene\n"
    "information\" does (a missing or malformed key takes the value a new record starts with)\n"
    "and prints every setting as JSON under its key; colours are integers of their RGB form.\n"
    "With --defaults, writes the editor's start-up settings into OUT (other sections and keys\n"
    "of an existing OUT are kept).\n",
    runSettings,
};

} // namespace vantor::cli
