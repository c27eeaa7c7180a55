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
#include <set>

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

// The kind of a keyed file whose name says nothing: a model when its stream starts as one.
FileKind kindOfContent(std::string_view streamHead) {
    return streamHead.starts_with("Qel1") ? FileKind::Model : FileKind::Texture;
}

// Writes the description of one keyed file; false when it does not decode. Only a model file
// is decoded whole, and only once its header has shown that it is one.
bool writeKeyedFile(JsonWriter& json, std::string_view bytes, FileKind kind) {
    const std::optional<DecodedKeyedFile> head =
        decodeKeyedFile(bytes.substr(0, 4 + kModelStreamHeaderBytes));
    json.beginObject();
    if (!head) {
        json.key("error").value("shorter than its four-byte key header").endObject();
        return false;
    }
    if (kind == FileKind::Other) {
        kind = kindOfContent(head->stream);
    }
    const std::uint64_t streamSize = bytes.size() - 4;
    json.key("kind").value(kind == FileKind::Model ? "model" : "texture");
    writeKey(json, *head);
    json.key("size").value(streamSize);
    bool ok = true;
    if (kind == FileKind::Texture) {
        json.key("image").value(imageKind(head->stream));
    } else {
        std::optional<ModelDecodeResult> model = modelStreamHeaderFault(head->stream, streamSize);
        if (!model) {
            model = decodeModelStream(decodeKeyedFile(bytes)->stream);
        }
        if (model->ok()) {
            json.key("materials").beginArray();
            for (const DecodedMaterial& m : model->model->materials) {
                writeMaterial(json, m);
            }
            json.endArray();
            json.key("objects").beginArray();
            for (const DecodedObject& o : model->model->objects) {
                writeObject(json, o);
            }
            json.endArray();
        } else {
            json.key("error").value(model->error);
            json.key("position").value(static_cast<std::uint64_t>(model->position));
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

// --extract: writes the files into one folder and nowhere else. Extraction stops at the first
// file that cannot be written (a name that would leave the folder, a symbolic link on its
// path, a name given twice, a full disk), and the report says how far it came.
class Extraction {
public:
    explicit Extraction(std::string folder) : folder_(std::move(folder)) {}

    void write(const std::string& name, std::string_view bytes, FileKind kind) {
        ++offered_;
        if (!problem_.empty()) {
            return;
        }
        const auto parts = safeComponents(name);
        if (!parts) {
            problem_ = "entry " + display(name) + " would leave the folder";
            return;
        }
        std::string path;
        for (const std::string& part : *parts) {
            path += (path.empty() ? "" : "/") + part;
        }
        if (!written_.insert(path).second) {
            problem_ = "the name " + display(name) + " is given twice";
            return;
        }
        std::string cause;
        switch (writeFileBeneath(folder_, *parts, extractedBytes(bytes, kind), &cause)) {
        case BeneathStatus::Ok:
            return;
        case BeneathStatus::CrossesLink:
            problem_ = "the path of " + display(name) + " crosses a symbolic link";
            break;
        case BeneathStatus::CannotWrite:
            problem_ = "cannot write " + cause;
            break;
        }
        written_.erase(path);
    }

    bool ok() const { return problem_.empty(); }

    // How far it came when the archive itself failed on the way.
    std::string progress() const {
        return std::to_string(written_.size()) + " files had been extracted into " + folder_;
    }

    // What went wrong, and how many of the files were written.
    std::string report() const {
        return "extraction into " + folder_ + " stopped: " + problem_ + "; " +
               std::to_string(written_.size()) + " of " + std::to_string(offered_) +
               " files were extracted";
    }

private:
    std::string folder_;
    std::set<std::string> written_;
    std::size_t offered_ = 0;
    std::string problem_;
};

// Lists the entries of an archive, decoding its model and texture files; false, with the
// reason in failure, when an entry does not decode or the archive is damaged or refused.
bool writeArchive(JsonWriter& json, std::string_view archive, const std::string& path,
                  Extraction* extraction, std::string& failure) {
    bool ok = true;
    json.beginObject().key("kind").value("archive");
    json.key("entries").beginArray();
    const ArchiveReadResult read = visitArchive(archive, [&](ArchiveEntry& entry) {
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
        if (extraction != nullptr) {
            extraction->write(entry.name, entry.data, entryKind);
        }
        return true;
    });
    json.endArray();
    if (!read.ok) {
        json.key("error").value(read.error);
        ok = false;
        failure = path + ": " + read.error;
    }
    json.endObject();
    return ok;
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
    // The file is mapped, not read: an archive is inflated entry by entry, and a model file is
    // read whole only after its header. A file named as a model or texture file is one even
    // when its random key bytes spell "PK".
    const std::string name = fileNameOfPath(path, systemCodePage()).value_or("decoded");
    const FileKind kind = kindOfName(name);
    const MappedFile file = MappedFile::open(path, kMaxArchiveBytes);
    const bool isArchive = kind == FileKind::Other && file.bytes().starts_with("PK");
    if (!file.ok()) {
        return reportFailure("cannot read " + path);
    }
    if (!isArchive && file.bytes().size() > kMaxModelStreamBytes + 4) {
        return reportFailure(path + " is larger than a model or texture file can be");
    }
    std::optional<Extraction> extraction;
    if (extractFolder) {
        std::error_code error;
        std::filesystem::create_directories(*extractFolder, error);
        if (error) {
            return reportFailure("cannot create the folder " + *extractFolder);
        }
        if (!extractFolder->ends_with('/')) {
            *extractFolder += '/';
        }
        extraction.emplace(*extractFolder);
    }

    JsonWriter json;
    bool ok = true;
    std::string failure;
    Extraction* extract = extraction ? &*extraction : nullptr;
    if (isArchive) {
        ok = writeArchive(json, file.bytes(), path, extract, failure);
    } else {
        if (!writeKeyedFile(json, file.bytes(), kind)) {
            ok = false;
            failure = path + " does not decode";
        }
        if (extract != nullptr) {
            const FileKind written = kind == FileKind::Other ? FileKind::Texture : kind;
            extract->write(name, file.bytes(), written);
        }
    }
    if (!file.intact()) {
        return reportFailure(path + " changed or failed while it was read");
    }
    std::printf("%s\n", json.text().c_str());
    if (extraction && !extraction->ok()) {
        return reportFailure(ok ? extraction->report() : failure + "; " + extraction->report());
    }
    if (!ok && extraction) {
        return reportFailure(failure + "; " + extraction->progress());
    }
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
    "type. An archive is read one entry at a time; one whose entries share their data or\n"
    "inflate to more than a package holds (3.75 GiB in all, 2 GiB an entry) is refused.\n"
    "\n"
    "--extract DIR writes the decoded files into DIR: model and texture files with their key\n"
    "undone, an archive's entries in folders named by their paths. Each file is written anew\n"
    "and replaces what bore its name, a symbolic link too, which is never written through.\n"
    "The first entry that cannot be extracted stops the extraction: a name that would leave\n"
    "DIR or that an earlier entry had, a path that crosses a symbolic link, a failed write\n"
    "(a full disk); the message then says how many files were extracted.\n"
    "\n"
    "Exit status 1 when the file cannot be read, does not decode or cannot be extracted, 2\n"
    "for wrong arguments.\n",
    runInspect,
};

} // namespace vantor::cli
