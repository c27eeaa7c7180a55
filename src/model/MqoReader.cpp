#include "model/MqoReader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <optional>

#include "model/MqoTokens.h"
#include "platform/Files.h"
#include "platform/Limits.h"
#include "platform/Memory.h"
#include "platform/ZipReader.h"

namespace vantor {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(word[i]);
        if ((a | 0x20) != (b | 0x20)) {
            return false;
        }
    }
    return true;
}

// Chunk headers are recognised by the first characters of the line, without regard to case,
// so "Materials" and "MATERIAL" open the material table too. MaterialEx2 holds shader
// settings in nested blocks; it is not the material table and is skipped whole.
bool isMaterialExHeader(std::string_view line) { return startsWithNoCase(line, "MaterialEx"); }
bool isMaterialHeader(std::string_view line) {
    return startsWithNoCase(line, "Material") && !isMaterialExHeader(line);
}
bool isObjectHeader(std::string_view line) { return startsWithNoCase(line, "Object"); }

std::string_view firstToken(std::string_view line) {
    std::string_view token;
    nextToken(line, 0, token);
    return token;
}

std::string_view secondToken(std::string_view line) {
    std::string_view token;
    nextToken(line, nextToken(line, 0, token), token);
    return token;
}

// Lines of an in-memory file. A line ends at a line feed; a carriage return before it is
// dropped, so CR LF and LF files read alike.
class LineReader {
public:
    explicit LineReader(std::string_view data) : data_(data) {}

    bool next(std::string_view& line) {
        if (pos_ >= data_.size()) {
            return false;
        }
        const char* start = data_.data() + pos_;
        const auto* newline =
            static_cast<const char*>(std::memchr(start, '\n', data_.size() - pos_));
        const std::size_t end =
            newline != nullptr ? static_cast<std::size_t>(newline - data_.data()) : data_.size();
        line = data_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        pos_ = newline != nullptr ? end + 1 : data_.size();
        ++lineNumber_;
        return true;
    }

    // Whether next() can return count more lines: what a chunk header declares is checked
    // before anything is sized from it. Looks no further than those lines, so the checks of
    // all chunks together pass over the file once at most.
    bool holdsLines(std::uint64_t count) const {
        if (count > remainingBytes()) {
            return false; // every line takes a byte at least
        }
        std::size_t pos = pos_;
        for (std::uint64_t found = 0; found < count; ++found) {
            if (pos >= data_.size()) {
                return false;
            }
            const auto* newline = static_cast<const char*>(
                std::memchr(data_.data() + pos, '\n', data_.size() - pos));
            pos = newline != nullptr ? static_cast<std::size_t>(newline - data_.data()) + 1
                                     : data_.size();
        }
        return true;
    }

    std::size_t remainingBytes() const { return data_.size() - pos_; }

    // Takes raw bytes (count <= remainingBytes()) that are not lines, such as binary vertices.
    std::string_view takeBytes(std::size_t count) {
        const std::string_view bytes = data_.substr(pos_, count);
        lineNumber_ += static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n'));
        pos_ += count;
        return bytes;
    }

    int lineNumber() const { return lineNumber_; }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
    int lineNumber_ = 0;
};

std::int32_t saturateToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

// True when a count from the file fits the scene's 32-bit count fields. Only a file of
// gigabytes can hold more lines (or a line more bytes) than that.
bool fitsCountField(std::int64_t count) {
    return count <= std::numeric_limits<std::int32_t>::max();
}

float readLittleEndianFloat(const char* p) {
    const std::uint32_t bits = static_cast<std::uint32_t>(static_cast<unsigned char>(p[0])) |
                               static_cast<std::uint32_t>(static_cast<unsigned char>(p[1])) << 8 |
                               static_cast<std::uint32_t>(static_cast<unsigned char>(p[2])) << 16 |
                               static_cast<std::uint32_t>(static_cast<unsigned char>(p[3])) << 24;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The memory the scene's tables may take while a text of textBytes bytes is read
// (kModelReadMemoryPerByte): whatever a count asks for is taken from it before anything is
// sized from that count, so a small file cannot make the reader allocate gigabytes.
class MemoryBudget {
public:
    explicit MemoryBudget(std::size_t textBytes)
        : left_(kModelReadMemoryFloor + std::uint64_t{textBytes} * kModelReadMemoryPerByte) {}

    // Takes count records of recordBytes bytes each; false when they do not fit what is left.
    bool take(std::uint64_t count, std::uint64_t recordBytes) {
        if (recordBytes != 0 && count > left_ / recordBytes) {
            return false;
        }
        left_ -= count * recordBytes;
        return true;
    }

private:
    std::uint64_t left_;
};

// Room for count records in an empty table that is about to be filled whole. Each record is
// made where it is read, so the table is written once, not zeroed first.
template <class T>
void reserveTable(std::vector<T>& table, std::size_t count) {
    table.reserve(count);
    populateForWriting(table.data(), count * sizeof(T));
}

// What a corner list (indices, u or v) of a face takes besides the face record: nothing when
// its corners fit the list itself, else a heap block and the allocation's own bookkeeping.
template <class T>
std::uint64_t cornerListHeapBytes(std::size_t corners) {
    constexpr std::uint64_t kAllocationOverheadBytes = 16;
    return corners <= CornerList<T>::kInlineCapacity
               ? 0
               : kAllocationOverheadBytes + std::uint64_t{corners} * sizeof(T);
}

class MqoParser {
public:
    MqoParser(QelScene& scene, std::string_view bytes)
        : scene_(scene), in_(bytes), budget_(bytes.size()) {}

    MqoReadResult run();

private:
    bool nextLine(std::string_view& line);
    void pushBack(std::string_view line) {
        pending_ = line;
        hasPending_ = true;
    }
    bool fail(std::int32_t code, std::string message) {
        return failAt(in_.lineNumber(), code, std::move(message));
    }
    bool failAt(int line, std::int32_t code, std::string message) {
        result_.code = code;
        result_.line = line;
        result_.message = std::move(message);
        return false;
    }
    bool failOverBudget(const char* what) {
        return fail(kMqoMalformed,
                    std::string(what) + " ask for more memory than a file of this size can describe");
    }

    void skipNestedChunk(std::string_view header);
    bool readMaterialChunk(std::string_view header);
    void readMaterialLine(std::string_view line, QelMaterial& material);
    bool readObjectChunk(std::string_view header);
    bool readVertexChunk(QelObject& object, std::string_view header);
    bool readBinaryVertexChunk(QelObject& object, std::string_view header);
    bool readFaceChunk(QelObject& object, std::string_view header);
    bool readFaceLine(std::string_view line, QelFace& face);
    void decideCodePage();

    QelScene& scene_;
    LineReader in_;
    MemoryBudget budget_;
    MqoReadResult result_;
    std::string_view pending_;
    bool hasPending_ = false;
    bool sawChunk_ = false;
    std::optional<CodePage> declaredCodePage_;
};

bool MqoParser::nextLine(std::string_view& line) {
    if (hasPending_) {
        hasPending_ = false;
        line = pending_;
        return true;
    }
    return in_.next(line);
}

MqoReadResult MqoParser::run() {
    std::string_view line;
    bool sawDocumentHeader = false;
    if (nextLine(line)) {
        if (line.substr(0, 3) == "\xEF\xBB\xBF") {
            line.remove_prefix(3);
        }
        sawDocumentHeader = line.substr(0, 20) == "Metasequoia Document";
        pushBack(line);
    }
    bool ok = true;
    while (ok && nextLine(line)) {
        if (isMaterialExHeader(line)) {
            skipNestedChunk(line);
        } else if (isMaterialHeader(line)) {
            sawChunk_ = true;
            ok = readMaterialChunk(line);
        } else if (isObjectHeader(line)) {
            sawChunk_ = true;
            ok = readObjectChunk(line);
        } else if (firstToken(line) == "CodePage") {
            const std::string_view value = secondToken(line);
            if (value == "utf8") {
                declaredCodePage_ = CodePage::Utf8;
            } else if (value == "932") {
                declaredCodePage_ = CodePage::Cp932;
            }
        }
    }
    if (ok && !sawDocumentHeader && !sawChunk_) {
        fail(kMqoMalformed, "not an MQO file: no document header, materials or objects");
        result_.notModel = true;
    }
    decideCodePage();
    scene_.errorCode = result_.code;
    return result_;
}

void MqoParser::skipNestedChunk(std::string_view header) {
    int depth = braceBalance(header);
    std::string_view line;
    while (depth > 0 && in_.next(line)) {
        depth += braceBalance(line);
    }
}

bool MqoParser::readMaterialChunk(std::string_view header) {
    std::string_view token;
    std::size_t pos = nextToken(header, 0, token);
    pos = nextToken(header, pos, token);
    const std::int64_t count = parseTokenInteger(token);

    // One exporter writes a one-material table on a single line: the first material then
    // stands after the "{" of the header itself.
    std::string_view inlineMaterial;
    const std::size_t brace = header.find('{', std::min(pos, header.size()));
    if (brace != std::string_view::npos) {
        const std::string_view rest = header.substr(brace + 1);
        const std::string_view core = trimDelimiters(rest);
        if (!core.empty() && core != "}") {
            inlineMaterial = rest;
        }
    }
    const bool hasInline = !inlineMaterial.empty();

    if (count < 0) {
        return fail(kMqoMalformed, "negative material count");
    }
    const auto linesNeeded = static_cast<std::uint64_t>(count) - (hasInline && count > 0 ? 1 : 0);
    if (!fitsCountField(count) || !in_.holdsLines(linesNeeded)) {
        return fail(kMqoMalformed, "the material table declares more lines than the file holds");
    }
    if (!budget_.take(static_cast<std::uint64_t>(count), sizeof(QelMaterial))) {
        return failOverBudget("the materials");
    }
    scene_.materialCount = static_cast<std::int32_t>(count);
    scene_.materials.resize(static_cast<std::size_t>(count));

    std::string_view line = header;
    for (std::size_t i = 0; i < scene_.materials.size(); ++i) {
        if (i == 0 && hasInline) {
            line = inlineMaterial;
        } else {
            in_.next(line);
        }
        readMaterialLine(line, scene_.materials[i]);
    }
    // The line that held the last material is looked at once more as an object header, so a
    // table that declares one line too many still lets that object be read.
    if (isObjectHeader(line)) {
        pushBack(line);
    }
    return true;
}

void MqoParser::readMaterialLine(std::string_view line, QelMaterial& material) {
    std::string_view token;
    std::size_t pos = nextToken(line, 0, token);
    material.name.assign(token);
    material.tex.clear();
    material.aplane.clear();
    material.bump.clear();
    material.env.clear();
    material.envPower = 1.0f;

    // A group that stops short of its values (env("sky.jpg") without a strength, say) leaves
    // the missing ones as they were, and the keyword after it is still read as a keyword.
    bool present = false;
    auto readFloat = [&](float& target) {
        pos = nextGroupValue(line, pos, token, present);
        if (present) {
            target = parseTokenFloat(token);
        }
    };
    auto readText = [&](std::string& target) {
        pos = nextGroupValue(line, pos, token, present);
        if (present) {
            target.assign(token);
        }
    };

    while (pos < line.size()) {
        pos = nextToken(line, pos, token);
        if (pos > line.size()) {
            break; // a keyword at the very end of the line has no values to read
        }
        if (token == "col") {
            for (float& channel : material.col) {
                readFloat(channel);
            }
        } else if (token == "dif") {
            readFloat(material.dif);
        } else if (token == "amb") {
            readFloat(material.amb);
        } else if (token == "spc") {
            readFloat(material.spc);
        } else if (token == "power") {
            readFloat(material.power);
        } else if (token == "emi") {
            readFloat(material.emi);
        } else if (token == "tex") {
            readText(material.tex);
        } else if (token == "aplane") {
            readText(material.aplane);
        } else if (token == "bump") {
            readText(material.bump);
        } else if (token == "env") {
            readText(material.env);
            readFloat(material.envPower);
        }
    }
}

bool MqoParser::readObjectChunk(std::string_view header) {
    if (!budget_.take(1, sizeof(QelObject))) {
        return failOverBudget("the objects");
    }
    scene_.objects.emplace_back();
    QelObject& object = scene_.objects.back();
    object.name.assign(secondToken(header));

    std::string_view line;
    while (in_.next(line)) {
        // An object without a face chunk ends where the next object or the file ends.
        if (isObjectHeader(line)) {
            pushBack(line);
            break;
        }
        std::string_view keyword;
        const std::size_t pos = nextToken(line, 0, keyword);
        std::string_view value;
        nextToken(line, pos, value);
        if (keyword == "Eof") {
            pushBack(line);
            break;
        }
        if (keyword == "visible") {
            object.visible = saturateToInt32(parseTokenInteger(value));
        } else if (keyword == "facet") {
            object.facet = parseTokenFloat(value);
        } else if (keyword == "mirror") {
            object.mirror = static_cast<std::uint16_t>(parseTokenInteger(value));
        } else if (keyword == "mirror_axis") {
            object.mirrorAxis = static_cast<std::uint16_t>(parseTokenInteger(value));
        } else if (keyword == "vertex") {
            if (!readVertexChunk(object, line)) {
                return false;
            }
        } else if (keyword == "BVertex") {
            if (!readBinaryVertexChunk(object, line)) {
                return false;
            }
        } else if (keyword == "face") {
            if (!readFaceChunk(object, line)) {
                return false;
            }
            break;
        }
    }
    ++scene_.objectCount;
    return true;
}

bool MqoParser::readVertexChunk(QelObject& object, std::string_view header) {
    const std::int64_t count = parseTokenInteger(secondToken(header));
    if (count > kMaxObjectVertices) {
        object.vertexCount = saturateToInt32(count);
        return fail(kMqoTooManyVertices, "an object declares more than 65536 vertices");
    }
    if (count < 0) {
        return fail(kMqoMalformed, "negative vertex count");
    }
    if (!in_.holdsLines(static_cast<std::uint64_t>(count))) {
        return fail(kMqoMalformed, "the vertex chunk declares more lines than the file holds");
    }
    if (!budget_.take(static_cast<std::uint64_t>(count), sizeof(QelVertex))) {
        return failOverBudget("the vertices");
    }
    object.vertexCount = static_cast<std::int32_t>(count);
    object.vertices.clear();
    reserveTable(object.vertices, static_cast<std::size_t>(count));
    std::string_view line;
    std::string_view token;
    for (std::int64_t i = 0; i < count; ++i) {
        in_.next(line);
        QelVertex& vertex = object.vertices.emplace_back();
        std::size_t pos = nextToken(line, 0, token);
        vertex.x = parseTokenFloat(token);
        pos = nextToken(line, pos, token);
        vertex.y = parseTokenFloat(token);
        nextToken(line, pos, token);
        vertex.z = parseTokenFloat(token);
    }
    return true;
}

// "BVertex N {", then "Vector N [BYTES]" and BYTES raw bytes: little-endian 32-bit floats,
// x, y and z per vertex. The raw bytes may hold any value, line feeds included, so they are
// taken by their count, never as lines.
bool MqoParser::readBinaryVertexChunk(QelObject& object, std::string_view header) {
    const std::int64_t declared = parseTokenInteger(secondToken(header));
    if (declared > kMaxObjectVertices) {
        object.vertexCount = saturateToInt32(declared);
        return fail(kMqoTooManyVertices, "an object declares more than 65536 vertices");
    }
    std::string_view line;
    if (!in_.next(line) || firstToken(line) != "Vector") {
        return fail(kMqoMalformed, "BVertex chunk without its Vector line");
    }
    std::string_view token;
    std::size_t pos = nextToken(line, 0, token);
    pos = nextToken(line, pos, token);
    const std::int64_t count = parseTokenInteger(token);
    nextToken(line, pos, token);
    if (!token.empty() && token.front() == '[') {
        token.remove_prefix(1);
    }
    const std::int64_t byteCount = parseTokenInteger(token);
    if (count > kMaxObjectVertices) {
        object.vertexCount = saturateToInt32(count);
        return fail(kMqoTooManyVertices, "an object declares more than 65536 vertices");
    }
    if (count < 0 || byteCount != count * 12) {
        return fail(kMqoMalformed, "BVertex byte count does not match its vertex count");
    }
    if (static_cast<std::uint64_t>(byteCount) > in_.remainingBytes()) {
        return fail(kMqoMalformed, "the BVertex chunk declares more bytes than the file holds");
    }
    if (!budget_.take(static_cast<std::uint64_t>(count), sizeof(QelVertex))) {
        return failOverBudget("the vertices");
    }
    object.vertexCount = static_cast<std::int32_t>(count);
    object.vertices.resize(static_cast<std::size_t>(count));
    const std::string_view raw = in_.takeBytes(static_cast<std::size_t>(byteCount));
    const char* p = raw.data();
    for (QelVertex& vertex : object.vertices) {
        vertex.x = readLittleEndianFloat(p);
        vertex.y = readLittleEndianFloat(p + 4);
        vertex.z = readLittleEndianFloat(p + 8);
        p += 12;
    }
    return true;
}

// Whether the file holds the lines the header declares is seen as they are read, so the face
// table, most of a model's text, is passed over once. A chunk that falls short fails at its
// header all the same, whatever its lines hold.
bool MqoParser::readFaceChunk(QelObject& object, std::string_view header) {
    const std::int64_t count = parseTokenInteger(secondToken(header));
    if (count < 0) {
        return fail(kMqoMalformed, "negative face count");
    }
    const auto declared = static_cast<std::uint64_t>(count);
    const LineReader atHeader = in_;
    auto failShort = [&] {
        object.faces.clear();
        object.faceCount = 0;
        return failAt(atHeader.lineNumber(), kMqoMalformed,
                      "the face chunk declares more lines than the file holds");
    };
    if (!fitsCountField(count) || declared > in_.remainingBytes()) {
        return failShort(); // every line takes a byte at least
    }
    if (!budget_.take(declared, sizeof(QelFace))) {
        return in_.holdsLines(declared) ? failOverBudget("the faces") : failShort();
    }
    object.faceCount = static_cast<std::int32_t>(count);
    reserveTable(object.faces, static_cast<std::size_t>(count));
    std::string_view line;
    for (std::uint64_t i = 0; i < declared; ++i) {
        if (!in_.next(line)) {
            return failShort();
        }
        if (!readFaceLine(line, object.faces.emplace_back())) {
            if (!atHeader.holdsLines(declared)) {
                return failShort();
            }
            object.faces.clear();
            object.faceCount = 0;
            return false;
        }
    }
    return true;
}

bool MqoParser::readFaceLine(std::string_view line, QelFace& face) {
    std::string_view token;
    std::size_t pos = nextToken(line, 0, token);
    const std::int64_t corners = parseTokenInteger(token);
    // Every corner takes at least one byte of the line, so a larger count is damage, and
    // refusing it keeps a damaged count from sizing the index lists.
    if (corners < 0 || static_cast<std::uint64_t>(corners) > line.size() ||
        !fitsCountField(corners)) {
        return fail(kMqoMalformed, "a face declares more corners than its line holds");
    }
    const auto cornerCount = static_cast<std::size_t>(corners);
    if (!budget_.take(1, cornerListHeapBytes<std::int32_t>(cornerCount))) {
        return failOverBudget("the face corners");
    }
    face.cornerCount = static_cast<std::int32_t>(corners);
    face.material = scene_.materialCount;
    bool sawIndices = false;

    while (pos < line.size()) {
        pos = nextToken(line, pos, token);
        if (pos > line.size()) {
            break;
        }
        // A group with fewer values than corners gives 0 for the missing ones, and the group
        // after it is still read.
        bool present = false;
        auto readInteger = [&]() {
            pos = nextGroupValue(line, pos, token, present);
            return present ? saturateToInt32(parseTokenInteger(token)) : 0;
        };
        auto readFloat = [&]() {
            pos = nextGroupValue(line, pos, token, present);
            return present ? parseTokenFloat(token) : 0.0f;
        };
        if (token == "V") {
            face.indices.resize(cornerCount);
            for (std::int32_t& index : face.indices) {
                index = readInteger();
            }
            sawIndices = true;
        } else if (token == "M") {
            const std::int32_t material = readInteger();
            if (present) {
                face.material = material;
            }
        } else if (token == "UV") {
            if (face.u.empty() && !budget_.take(2, cornerListHeapBytes<float>(cornerCount))) {
                return failOverBudget("the face corners");
            }
            face.u.resize(cornerCount);
            face.v.resize(cornerCount);
            for (std::size_t k = 0; k < cornerCount; ++k) {
                face.u[k] = readFloat();
                face.v[k] = readFloat();
            }
        }
    }
    if (!sawIndices) {
        // Without a V group the corners point at vertex 0, so every face keeps as many
        // indices as it has corners.
        face.indices.assign(cornerCount, 0);
    }
    return true;
}

// The code page a "CodePage" line names; without one, UTF-8 when every text of the scene is
// valid UTF-8, else CP932 (Shift-JIS).
void MqoParser::decideCodePage() {
    if (declaredCodePage_) {
        scene_.codePage = *declaredCodePage_;
        return;
    }
    scene_.codePage = allSceneTexts(scene_, isValidUtf8) ? CodePage::Utf8 : CodePage::Cp932;
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           startsWithNoCase(text.substr(text.size() - suffix.size()), suffix);
}

MqoReadResult malformed(QelScene& scene, std::string message) {
    scene.errorCode = kMqoMalformed;
    return MqoReadResult{kMqoMalformed, 0, std::move(message)};
}

// Inflates the first .mqo entry of a zipped model (.mqoz) into text; a failed result when the
// archive holds none, or it is damaged or inflates to more than a model text compresses from.
std::optional<MqoReadResult> extractModelFromArchive(QelScene& scene, std::string_view archive,
                                                     std::string& text) {
    const std::uint64_t limit =
        std::min(kMaxModelFileBytes, std::max(kZippedModelInflationFloor,
                                              archive.size() * kMaxZippedModelInflation));
    ZipReader zip(archive, limit);
    ZipEntryInfo entry;
    while (zip.next(entry)) {
        if (!endsWithNoCase(entry.name, ".mqo")) {
            continue;
        }
        if (entry.size > limit) {
            return malformed(scene, "the zipped model inflates to " + std::to_string(entry.size) +
                                        " bytes, more than the " + std::to_string(limit) +
                                        " bytes a model zipped into " +
                                        std::to_string(archive.size()) + " bytes may hold");
        }
        if (!zip.read(text, limit)) {
            return malformed(scene, "the zipped model cannot be read: " + zip.error());
        }
        return std::nullopt;
    }
    if (zip.error().empty()) {
        MqoReadResult none = malformed(scene, "the archive holds no .mqo model");
        none.notModel = true;
        return none;
    }
    return malformed(scene, "the archive cannot be read: " + zip.error());
}

bool isZipArchive(std::string_view bytes) {
    return bytes.starts_with("PK\x03\x04") || bytes.starts_with("PK\x05\x06");
}

} // namespace

MqoReadResult readMqo(QelScene& scene, std::string_view bytes) {
    scene.errorCode = kMqoOk;
    try {
        return MqoParser(scene, bytes).run();
    } catch (const std::bad_alloc&) {
        scene.errorCode = kMqoMalformed;
        return MqoReadResult{kMqoMalformed, 0, "not enough memory to read the model"};
    }
}

MqoReadResult readZippedMqo(QelScene& scene, std::string_view archive) {
    scene.errorCode = kMqoOk;
    std::string text;
    if (std::optional<MqoReadResult> failed = extractModelFromArchive(scene, archive, text)) {
        return *failed;
    }
    return readMqo(scene, text);
}

MqoReadResult readMqoBytes(QelScene& scene, std::string_view bytes) {
    return isZipArchive(bytes) ? readZippedMqo(scene, bytes) : readMqo(scene, bytes);
}

MqoReadResult readMqoFile(QelScene& scene, const std::string& path) {
    scene.errorCode = kMqoOk;
    // The file is mapped rather than copied: large models are parsed where they lie.
    const MappedFile mapped = MappedFile::open(path, kMaxModelFileBytes);
    switch (mapped.status()) {
    case ReadStatus::Ok:
        break;
    case ReadStatus::TooLarge:
        return malformed(scene, "the model is larger than 4 GiB");
    case ReadStatus::ReadError:
        return malformed(scene, "the file could not be read to its end");
    case ReadStatus::CannotOpen:
        // The scene's own code stays 0 here: nothing of the file was read.
        return MqoReadResult{kMqoCannotOpen, 0, "the file cannot be opened"};
    }
    const std::string_view bytes = mapped.bytes();
    MqoReadResult result = readMqoBytes(scene, bytes);
    if (!mapped.intact()) {
        result = malformed(scene, "the file changed or failed while it was read");
    }
    return result;
}

} // namespace vantor
