#pragma once
// The reader's view of a package: undoes the key of a model or texture file, decodes a model
// file's chunks into plain records, and reads the entries of a package archive. It is written
// from the format alone, independently of the writers, so that the tests and `vantor-cli
// inspect` check the writers against it. Every length and count is checked against the bytes
// that hold it; a damaged file gives an error with the stream position where it was found.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

struct DecodedKeyedFile {
    std::array<std::uint8_t, 4> key{};
    std::string stream; // the bytes after the key header, with the key undone
};

// Nothing when the file is shorter than its four-byte key header.
std::optional<DecodedKeyedFile> decodeKeyedFile(std::string_view file);

struct DecodedMaterial {
    std::string name;
    std::array<float, 4> col{};
    float amb = 0, dif = 0, spc = 0, power = 0, emi = 0;
    std::optional<std::string> colorMap; // CMAP
    std::optional<std::string> alphaMap; // AMAP
    std::optional<std::string> bumpMap;  // BMAP
    std::optional<std::string> envMap;   // EMAP
    float envPower = 0;                  // with EMAP
};

struct DecodedMesh {
    std::int32_t material = 0; // -1: no material
    std::vector<std::array<float, 3>> positions;
    bool hasUV = false;
    std::vector<std::array<float, 2>> uvs;
    std::vector<std::vector<std::int32_t>> faces; // mesh vertex numbers per face
};

struct DecodedObject {
    std::string name;
    std::int32_t visible = 0;
    float smoothing = 0;
    std::uint32_t mirror = 0;
    std::uint32_t mirrorAxis = 0;
    std::vector<DecodedMesh> meshes;
};

struct DecodedModel {
    std::vector<DecodedMaterial> materials;
    std::vector<DecodedObject> objects;
};

struct ModelDecodeResult {
    std::optional<DecodedModel> model;
    std::string error;        // what is wrong, when model is empty
    std::size_t position = 0; // stream position of the fault
    bool ok() const { return model.has_value(); }
};

// Decodes a model stream (the bytes after the key header, with the key undone).
ModelDecodeResult decodeModelStream(std::string_view stream);

// The fault of a model stream's header (its tag "Qel1" and its total length), given the first
// kModelStreamHeaderBytes bytes of a stream of streamSize bytes; nothing when it is sound. A
// large file that is no model is thus refused before it is read whole.
inline constexpr std::size_t kModelStreamHeaderBytes = 8;
std::optional<ModelDecodeResult> modelStreamHeaderFault(std::string_view head,
                                                        std::uint64_t streamSize);

struct ArchiveEntry {
    std::string name;
    bool deflated = false; // stored otherwise
    std::uint32_t dosTime = 0;
    std::uint64_t compressedSize = 0;
    std::string data; // the entry's bytes, inflated and checked against their CRC
};

struct ArchiveReadResult {
    bool ok = false;
    std::string error;
    std::vector<ArchiveEntry> entries; // in archive order
};

// Reads the entries of a zip archive in memory one at a time, handing each to visit (which
// returns false to stop) before the next is inflated, so that only one entry's bytes are held
// at once; the result's entries stay empty. Entries may inflate to what the package writer
// packs: kMaxArchiveEntryBytes each and kMaxArchiveInputBytes in all; entries that share their
// data, as in an archive made to inflate without end, are refused.
ArchiveReadResult visitArchive(std::string_view archive,
                               const std::function<bool(ArchiveEntry&)>& visit);

// Reads every entry of a zip archive in memory, or of a zip file.
ArchiveReadResult readArchiveBytes(std::string_view archive);
ArchiveReadResult readArchive(const std::string& path);

} // namespace vantor
