#include "publish/PackageDecoder.h"

#include "platform/Files.h"
#include "platform/Limits.h"
#include "platform/ZipReader.h"

#include <cstring>

namespace vantor {

std::optional<DecodedKeyedFile> decodeKeyedFile(std::string_view file) {
    if (file.size() < 4) {
        return std::nullopt;
    }
    DecodedKeyedFile decoded;
    for (int i = 0; i < 4; ++i) {
        decoded.key[i] = static_cast<std::uint8_t>(file[i]);
    }
    const unsigned k0 = decoded.key[0], k1 = decoded.key[1], k2 = decoded.key[2],
                   k3 = decoded.key[3];
    decoded.stream.resize(file.size() - 4);
    for (std::size_t p = 0; p < decoded.stream.size(); ++p) {
        const unsigned n = p % 256;
        const unsigned offset = (k0 + n) + (k1 + n) * n + (k2 + n) * n * n + (k3 + n) * n * n * n;
        decoded.stream[p] = static_cast<char>(static_cast<unsigned char>(file[4 + p]) - offset);
    }
    return decoded;
}

namespace {

// A failed decode: the message and the position it concerns.
struct DecodeError {
    std::string message;
    std::size_t position;
};

// A bounded cursor over one chunk's body.
class Reader {
public:
    Reader(std::string_view bytes, std::size_t base) : bytes_(bytes), base_(base) {}

    bool atEnd() const { return pos_ == bytes_.size(); }
    std::size_t position() const { return base_ + pos_; }
    std::size_t left() const { return bytes_.size() - pos_; }

    std::uint32_t u32() {
        need(4, "a 32-bit field runs past its chunk");
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = value << 8 | static_cast<unsigned char>(bytes_[pos_++]);
        }
        return value;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    float f32() {
        const std::uint32_t bits = u32();
        float value;
        std::memcpy(&value, &bits, 4);
        return value;
    }
    std::string tag() {
        need(4, "a chunk tag runs past its parent");
        const std::string text(bytes_.substr(pos_, 4));
        pos_ += 4;
        return text;
    }
    // One chunk: its tag and a reader over its body.
    std::pair<std::string, Reader> chunk() {
        const std::size_t start = position();
        std::string name = tag();
        const std::uint32_t length = u32();
        if (length < 8 || length - 8 > left()) {
            throw DecodeError{"chunk " + name + " has a length of " + std::to_string(length) +
                                  " that does not fit its parent",
                              start};
        }
        Reader body(bytes_.substr(pos_, length - 8), position());
        pos_ += length - 8;
        return {std::move(name), body};
    }
    std::string peekTag() const {
        return left() >= 4 ? std::string(bytes_.substr(pos_, 4)) : std::string();
    }
    // The whole rest as a zero-terminated text with no other zero byte.
    std::string text(const std::string& of) {
        const std::size_t zero = bytes_.find('\0', pos_);
        if (zero == std::string_view::npos) {
            fail(of + " has no terminating zero");
        }
        std::string value(bytes_.substr(pos_, zero - pos_));
        pos_ = zero + 1;
        return value;
    }
    void expectEnd(const std::string& of) {
        if (!atEnd()) {
            fail(of + " has " + std::to_string(left()) + " bytes too many");
        }
    }
    [[noreturn]] void fail(const std::string& message) const {
        throw DecodeError{message, position()};
    }

private:
    void need(std::size_t count, const char* message) const {
        if (left() < count) {
            fail(message);
        }
    }

    std::string_view bytes_;
    std::size_t base_;
    std::size_t pos_ = 0;
};

Reader expectChunk(Reader& parent, const char* expected) {
    const std::size_t at = parent.position();
    auto [name, body] = parent.chunk();
    if (name != expected) {
        throw DecodeError{std::string("expected chunk ") + expected + ", found " + name, at};
    }
    return body;
}

float floatChunk(Reader& parent, const char* tag) {
    Reader body = expectChunk(parent, tag);
    const float value = body.f32();
    body.expectEnd(tag);
    return value;
}

std::string textChunk(Reader& parent, const char* tag) {
    Reader body = expectChunk(parent, tag);
    std::string value = body.text(tag);
    body.expectEnd(tag);
    return value;
}

DecodedMaterial decodeMaterial(Reader& body) {
    DecodedMaterial m;
    m.name = textChunk(body, "NAME");
    Reader colour = expectChunk(body, "COLR");
    for (float& channel : m.col) {
        channel = colour.f32();
    }
    colour.expectEnd("COLR");
    m.amb = floatChunk(body, "AMBI");
    m.dif = floatChunk(body, "DIFF");
    m.spc = floatChunk(body, "SPEC");
    m.power = floatChunk(body, "SPOW");
    m.emi = floatChunk(body, "LUMI");
    if (body.peekTag() == "CMAP") {
        m.colorMap = textChunk(body, "CMAP");
    }
    if (body.peekTag() == "AMAP") {
        m.alphaMap = textChunk(body, "AMAP");
    }
    if (body.peekTag() == "BMAP") {
        m.bumpMap = textChunk(body, "BMAP");
    }
    if (body.peekTag() == "EMAP") {
        Reader env = expectChunk(body, "EMAP");
        m.envMap = env.text("EMAP");
        m.envPower = env.f32();
        env.expectEnd("EMAP");
    }
    body.expectEnd("MATL");
    return m;
}

DecodedMesh decodeMesh(Reader& body) {
    DecodedMesh mesh;
    mesh.material = body.i32();
    Reader points = expectChunk(body, "VXPT");
    if (points.left() % 12 != 0) {
        points.fail("VXPT holds no whole number of positions");
    }
    mesh.positions.resize(points.left() / 12);
    for (auto& position : mesh.positions) {
        position = {points.f32(), points.f32(), points.f32()};
    }
    if (body.peekTag() == "VXUV") {
        Reader uvs = expectChunk(body, "VXUV");
        if (uvs.left() != mesh.positions.size() * 8) {
            uvs.fail("VXUV does not hold one pair per position");
        }
        mesh.hasUV = true;
        mesh.uvs.resize(mesh.positions.size());
        for (auto& uv : mesh.uvs) {
            uv = {uvs.f32(), uvs.f32()};
        }
    }
    Reader indices = expectChunk(body, "INDX");
    while (!indices.atEnd()) {
        const std::size_t countAt = indices.position();
        const std::int32_t count = indices.i32();
        if (count < 0 || static_cast<std::size_t>(count) > indices.left() / 4) {
            throw DecodeError{"a face has a corner count of " + std::to_string(count) +
                                  " that does not fit INDX",
                              countAt};
        }
        std::vector<std::int32_t>& face = mesh.faces.emplace_back();
        face.reserve(static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count; ++i) {
            const std::size_t indexAt = indices.position();
            const std::int32_t index = indices.i32();
            if (index < 0 || static_cast<std::size_t>(index) >= mesh.positions.size()) {
                throw DecodeError{"corner " + std::to_string(index) + " is not one of the " +
                                      std::to_string(mesh.positions.size()) + " mesh vertices",
                                  indexAt};
            }
            face.push_back(index);
        }
    }
    body.expectEnd("MESH");
    return mesh;
}

DecodedObject decodeObject(Reader& body) {
    DecodedObject o;
    o.name = textChunk(body, "NAME");
    Reader visible = expectChunk(body, "VISI");
    o.visible = visible.i32();
    visible.expectEnd("VISI");
    o.smoothing = floatChunk(body, "SMAN");
    Reader mirror = expectChunk(body, "MIRR");
    o.mirror = mirror.u32();
    mirror.expectEnd("MIRR");
    Reader axis = expectChunk(body, "AXIS");
    o.mirrorAxis = axis.u32();
    axis.expectEnd("AXIS");
    while (!body.atEnd()) {
        Reader mesh = expectChunk(body, "MESH");
        o.meshes.push_back(decodeMesh(mesh));
    }
    return o;
}

// The stream's tag and total length, which must be that of the whole stream.
void checkHeader(Reader& top, std::uint64_t streamSize) {
    if (top.tag() != "Qel1") {
        throw DecodeError{"the stream does not start with Qel1", 0};
    }
    const std::uint32_t total = top.u32();
    if (total != streamSize) {
        throw DecodeError{"the total length " + std::to_string(total) + " is not the " +
                              std::to_string(streamSize) + " bytes of the stream",
                          4};
    }
}

} // namespace

std::optional<ModelDecodeResult> modelStreamHeaderFault(std::string_view head,
                                                        std::uint64_t streamSize) {
    try {
        Reader top(head.substr(0, kModelStreamHeaderBytes), 0);
        checkHeader(top, streamSize);
        return std::nullopt;
    } catch (const DecodeError& error) {
        ModelDecodeResult result;
        result.error = error.message;
        result.position = error.position;
        return result;
    }
}

ModelDecodeResult decodeModelStream(std::string_view stream) {
    ModelDecodeResult result;
    try {
        Reader top(stream, 0);
        checkHeader(top, stream.size());
        DecodedModel model;
        while (!top.atEnd()) {
            const std::size_t at = top.position();
            auto [name, body] = top.chunk();
            if (name == "MATL" && model.objects.empty()) {
                model.materials.push_back(decodeMaterial(body));
            } else if (name == "OBJT") {
                model.objects.push_back(decodeObject(body));
            } else {
                throw DecodeError{"unexpected top-level chunk " + name, at};
            }
        }
        result.model = std::move(model);
    } catch (const DecodeError& error) {
        result.error = error.message;
        result.position = error.position;
    }
    return result;
}

ArchiveReadResult visitArchive(std::string_view archive,
                               const std::function<bool(ArchiveEntry&)>& visit) {
    ArchiveReadResult result;
    const std::uint64_t limit =
        std::min(kMaxArchiveInputBytes,
                 std::max(kPackageInflationFloor, kMaxPackageInflation * archive.size()));
    ZipReader zip(archive, limit);
    if (zip.claimedBytes() > limit) {
        result.error = "the entries claim to inflate to " + std::to_string(zip.claimedBytes()) +
                       " bytes, more than the " + std::to_string(limit) +
                       " a package of this size holds";
        return result;
    }
    ZipEntryInfo info;
    ArchiveEntry entry;
    while (zip.next(info)) {
        entry.name = std::move(info.name);
        entry.deflated = info.deflated;
        entry.dosTime = info.dosTime;
        entry.compressedSize = info.compressedSize;
        if (!zip.read(entry.data, kMaxArchiveEntryBytes) || !visit(entry)) {
            break;
        }
    }
    result.error = zip.error();
    result.ok = result.error.empty();
    return result;
}

ArchiveReadResult readArchiveBytes(std::string_view archive) {
    std::vector<ArchiveEntry> entries;
    ArchiveReadResult result = visitArchive(archive, [&](ArchiveEntry& entry) {
        entries.push_back(std::move(entry));
        return true;
    });
    result.entries = std::move(entries);
    return result;
}

ArchiveReadResult readArchive(const std::string& path) {
    const MappedFile file = MappedFile::open(path, kMaxArchiveBytes);
    if (!file.ok()) {
        ArchiveReadResult result;
        result.error = "cannot be read";
        return result;
    }
    ArchiveReadResult result = readArchiveBytes(file.bytes());
    if (!file.intact()) {
        result.ok = false;
        result.error = "the file changed or failed while it was read";
    }
    return result;
}

} // namespace vantor
