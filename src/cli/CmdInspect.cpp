// vantor-cli inspect: decodes a package archive, a model file or a texture file and prints its
// structure as JSON; --extract writes the decoded files.

#include "cli/Commands.h"
#include "cli/Json.h"
#include "platform/CodePage.h"
#include "platform/FileOps.h"
#include "platform/Files.h"
#include "platform/Limits.h"
#include "publish/PackageDecoder.h"
#include "publish/PathHelpers.h"

#include <cstdio>
#include <filesystem>
#include <optional>

namespace vantor::cli {

namespace {

// A package holds no note of its code page: names that are valid UTF-8 are taken as UTF-8,
// everything else as CP932.
CodePage guessCodePage(std::string_view text) {
    return isValidUtf8(text) ? CodePage::Utf8 : CodePage::Cp932;
}

std::string display(std::string_view text) {
    return decodeToUtf8(guessCodePage(text), text);
}

const char* imageKind(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xD8\xFF")) {
        return "jpeg";
    }
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) {
        return "gif";
    }
    if (bytes.starts_with("\x89PNG\r\n\x1A\n")) {
        return "png";
    }
    if (bytes.starts_with("BM")) {
        return "bmp";
    }
    return "unknown";
}

std::string dosTimeText(std::uint32_t dos) {
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", (dos >> 25) + 1980,
                  (dos >> 21) & 15, (dos >> 16) & 31, (dos >> 11) & 31, (dos >> 5) & 63,
                  (dos & 31) * 2);
    return text;
}

void writeKey(JsonWriter& json, const DecodedKeyedFile& file) {
    json.key("key").beginArray();
    for (const std::uint8_t k : file.key) {
        json.value(static_cast<std::int32_t>(k));
    }
    json.endArray();
}

void writeMaterial(JsonWriter& json, const DecodedMaterial& m) {
    json.beginObject();
    json.key("name").value(display(m.name));
    json.key("col").beginArray();
    for (const float channel : m.col) {
        json.value(channel);
    }
    json.endArray();
    json.key("amb").value(m.amb).key("dif").value(m.dif).key("spc").value(m.spc);
    json.key("power").value(m.power).key("emi").value(m.emi);
    const std::pair<const char*, const std::optional<std::string>*> maps[] = {
        {"CMAP", &m.colorMap}, {"AMAP", &m.alphaMap}, {"BMAP", &m.bumpMap}, {"EMAP", &m.envMap}};
    json.key("maps").beginObject();
    for (const auto& [tag, map] : maps) {
        if (*map) {
            json.key(tag).value(display(**map));
        }
    }
    json.endObject();
    if (m.envMap) {
        json.key("envPower").value(m.envPower);
    }
    json.endObject();
}

void writeObject(JsonWriter& json, const DecodedObject& o) {
    json.beginObject();
    json.key("name").value(display(o.name));
    json.key("visible").value(o.visible);
    json.key("smoothing").value(o.smoothing);
    json.key("mirror").value(o.mirror).key("mirrorAxis").value(o.mirrorAxis);
    json.key("meshes").beginArray();
    for (const DecodedMesh& mesh : o.meshes) {
        std::size_t corners = 0;
        for (const auto& face : mesh.faces) {
            corners += face.size();
        }
        json.beginObject();
        json.key("material").value(mesh.material);
        json.key("vertices").value(static_cast<std::uint64_t>(mesh.positions.size()));
        json.key("faces").value(static_cast<std::uint64_t>(mesh.faces.size()));
        json.key("corners").value(static_cast<std::uint64_t>(corners));
        json.key("uv").value(mesh.hasUV);
        json.endObject();
    }
    json.endArray();
    json.endObject();
}

enum class FileKind { Model, Texture, Other };

FileKind kindOfName(std::string_view name) {
    if (name.ends_with(".qel")) {
        return FileKind::Model;
    }
    if (name.ends_with(".jpx")) {
        return FileKind::Texture;
    }
    return FileKind::Other;
}

// Writes the description of one keyed file; false when it does not decode.
bool writeKeyedFile(JsonWriter& json, std::string_view bytes, FileKind kind) {
    const std::optional<DecodedKeyedFile> keyed = decodeKeyedFile(bytes);
    json.beginObject();
    if (!keyed) {
        json.key("error").value("shorter than its four-byte key header").endObject();
        return false;
    }
    if (kind == FileKind::Other) {
        kind = keyed->stream.starts_with("Qel1") ? FileKind::Model : FileKind::Texture;
    }
    json.key("kind").value(kind == FileKind::Model ? "model" : "texture");
    writeKey(json, *keyed);
    json.key("size").value(static_cast<std::uint64_t>(keyed->stream.size()));
    bool ok = true;
    if (kind == FileKind::Texture) {
        json.key("image").value(imageKind(keyed->stream));
    } else {
        const ModelDecodeResult model = decodeModelStream(keyed->stream);
        if (model.ok()) {
            json.key("materials").beginArray();
            for (const DecodedMaterial& m : model.model->materials) {
                writeMaterial(json, m);
            }
            json.endArray();
            json.key("objects").beginArray();
            for (const DecodedObject& o : model.model->objects) {
                writeObject(json, o);
            }
            json.endArray();
        } else {
            json.key("error").value(model.error);
            json.key("position").value(static_cast<std::uint64_t>(model.position));
            ok = false;
        }
    }
    json.endObject();
    return ok;
}

// The bytes --extract writes for a file: keyed files with their key undone.
std::string extractedBytes(std::string_view bytes, FileKind kind) {
    if (kind != FileKind::Other) {
        if (const auto keyed = decodeKeyedFile(bytes)) {
            return keyed->stream;
        }
    }
    return std::string(bytes);
}

// The components of an entry name (separated by backslashes or slashes), or nothing when one
// of them would leave the extraction folder.
std::optional<std::vector<std::string>> safeComponents(const std::string& name) {
    const CodePage cp = guessCodePage(name);
    std::vector<std::string> parts;
    std::string rest = name;
    while (true) {
        const std::optional<std::string> folder = folderOfPath(rest, cp);
        const std::string last = folder ? rest.substr(folder->size()) : rest;
        if (!isPlainFileName(last, cp)) {
            return std::nullopt;
        }
        parts.insert(parts.begin(), last);
        if (!folder) {
            return parts;
        }
        rest = folder->substr(0, folder->size() - 1);
    }
}

bool extractFile(const std::string& folder, const std::string& name, std::string_view bytes,
                 FileKind kind) {
    const auto parts = safeComponents(name);
    if (!parts) {
        return false;
    }
    std::string path = folder;
    for (std::size_t i = 0; i + 1 < parts->size(); ++i) {
        path += (*parts)[i] + "/";
        std::error_code ignored;
        std::filesystem::create_directory(path, ignored);
    }
    return writeWholeFile(path + parts->back(), extractedBytes(bytes, kind));
}

bool startsWithZipSignature(const std::string& path) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) {
        return false;
    }
    char head[2] = {};
    const bool zip = std::fread(head, 1, 2, in) == 2 && head[0] == 'P' && head[1] == 'K';
    std::fclose(in);
    return zip;
}

int runInspect(const Arguments& args) {
    if (handleHelp(kInspectCommand, args)) {
        return kExitOk;
    }
    std::string path;
    std::optional<std::string> extractFolder;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--extract" && i + 1 < args.size()) {
            extractFolder = args[++i];
        } else if (path.empty() && !args[i].empty() && !args[i].starts_with("--")) {
            path = args[i];
        } else {
            return reportUsage(kInspectCommand, "unexpected argument " + args[i]);
        }
    }
    if (path.empty()) {
        return reportUsage(kInspectCommand, "a file is needed");
    }
    // An archive is read entry by entry; only a model or texture file is read whole. A file
    // named as a model or texture file is one even when its random key bytes spell "PK".
    const std::string name = fileNameOfPath(path, systemCodePage()).value_or("decoded");
    const FileKind kind = kindOfName(name);
    const bool isArchive = kind == FileKind::Other && startsWithZipSignature(path);
    const FileContents file =
        isArchive ? FileContents{ReadStatus::Ok, {}} : readFile(path, kMaxModelStreamBytes + 4);
    if (!file.ok()) {
        return reportFailure("cannot read " + path);
    }
    if (extractFolder) {
        std::error_code error;
        std::filesystem::create_directories(*extractFolder, error);
        if (error) {
            return reportFailure("cannot create the folder " + *extractFolder);
        }
        if (!extractFolder->ends_with('/')) {
            *extractFolder += '/';
        }
    }

    JsonWriter json;
    bool ok = true;
    std::string failure;
    if (isArchive) {
        const ArchiveReadResult archive = readArchive(path);
        json.beginObject().key("kind").value("archive");
        json.key("entries").beginArray();
        for (const ArchiveEntry& entry : archive.entries) {
            const FileKind entryKind = kindOfName(entry.name);
            json.beginObject();
            json.key("name").value(display(entry.name));
            json.key("method").value(entry.deflated ? "deflated" : "stored");
            json.key("size").value(static_cast<std::uint64_t>(entry.data.size()));
            json.key("compressedSize").value(entry.compressedSize);
            json.key("date").value(dosTimeText(entry.dosTime));
            if (entryKind != FileKind::Other) {
                json.key("content");
                if (!writeKeyedFile(json, entry.data, entryKind)) {
                    ok = false;
                    failure = "entry " + display(entry.name) + " does not decode";
                }
            }
            json.endObject();
            if (extractFolder && !extractFile(*extractFolder, entry.name, entry.data, entryKind)) {
                ok = false;
                failure = "cannot extract entry " + display(entry.name);
            }
        }
        json.endArray();
        if (!archive.ok) {
            json.key("error").value(archive.error);
            ok = false;
            failure = path + ": " + archive.error;
        }
        json.endObject();
    } else {
        if (!writeKeyedFile(json, file.bytes, kind)) {
            ok = false;
            failure = path + " does not decode";
        }
        const FileKind written = kind == FileKind::Other ? FileKind::Texture : kind;
        if (extractFolder && !extractFile(*extractFolder, name, file.bytes, written)) {
            ok = false;
            failure = "cannot write the decoded file into " + *extractFolder;
        }
    }
    std::printf("%s\n", json.text().c_str());
    return ok ? kExitOk : reportFailure(failure);
}

} // namespace

const Command kInspectCommand{
    "inspect",
    "decode a package archive, model file or texture file and print its structure as JSON",
    "usage: vantor-cli inspect FILE [--extract DIR]\n"
    "\n"
    "FILE is a package archive (.zip), a model file (.qel) or a texture file (.jpx). Prints one\n"
    "JSON object: for an archive its entries (name, stored or deflated, sizes, date) with the\n"
    "decoded content of each model and texture file; for a model file its key, materials with\n"
    "their maps, and objects with their meshes (material, vertex, face and corner counts,\n"
    "whether texture coordinates are present); for a texture file its key, size and image\n"
    "type. --extract DIR writes the decoded files into DIR: model and texture files with their\n"
    "key undone, an archive's entries in folders named by their paths.\n"
    "Exit status 1 when the file cannot be read or does not decode, 2 for wrong arguments.\n",
    runInspect,
};

} // namespace vantor::cli
