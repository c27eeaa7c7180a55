#include "publish/ModelFile.h"

#include "platform/FileOps.h"
#include "platform/Limits.h"
#include "publish/PathHelpers.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace vantor {

namespace {

// A texture coordinate at or above this value counts as not yet given; a fresh mesh vertex
// holds kUnsetCoordinate in both coordinates.
constexpr float kUnsetThreshold = 9000.0f;
constexpr float kUnsetCoordinate = 10000.0f;

constexpr std::uint32_t kChunkHeaderBytes = 8;
constexpr std::uint32_t kFloatChunkBytes = 12;

// A text field holds the bytes up to the first zero byte.
std::string_view zeroTerminated(const std::string& text) {
    return std::string_view(text).substr(0, text.find('\0'));
}

bool hasCoordinates(const QelFace& face) {
    const auto corners = static_cast<std::size_t>(face.cornerCount);
    return !face.u.empty() && face.u.size() == corners && face.v.size() == corners;
}

using UV = std::array<float, 2>;

// The working tables of one object's meshes, kept between objects so that they are allocated
// once per file.
constexpr std::size_t kNotWritten = static_cast<std::size_t>(-1);

struct MeshWorkspace {
    std::vector<std::pair<std::size_t, std::size_t>> groupedFaces; // (group, face index)
    std::vector<std::size_t> faceGroup;  // per face: its group, or kNotWritten
    std::vector<std::size_t> groupStart; // per group: where its faces start in groupedFaces
    std::vector<std::int32_t> meshNumber;   // per object vertex: its mesh vertex, or -1
    std::vector<std::int32_t> sourceVertex; // per mesh vertex: the object vertex it copies
    std::vector<UV> coordinates;            // per mesh vertex
    std::vector<std::int32_t> cornerMesh;   // per corner of the group's faces, in order
};

class ModelFileWriter {
public:
    ModelFileWriter(const QelScene& scene, StreamKey key, bool transform)
        : scene_(scene), stream_(key, transform),
          materialCount_(writtenCount(scene.materialCount, scene.materials.size())) {}

    std::optional<std::string> build() {
        stream_.reserve(estimatedStreamBytes());
        stream_.putTag("Qel1");
        stream_.putInt32(0u); // total length, patched at the end
        for (std::size_t i = 0; i < materialCount_; ++i) {
            writeMaterialChunk(scene_.materials[i]);
        }
        const std::size_t objectCount = writtenCount(scene_.objectCount, scene_.objects.size());
        for (std::size_t i = 0; i < objectCount; ++i) {
            writeObjectChunk(scene_.objects[i]);
            if (stream_.position() > kMaxModelStreamBytes) {
                return std::nullopt; // stop early: the rest cannot be written either
            }
        }
        if (stream_.position() > kMaxModelStreamBytes) {
            return std::nullopt;
        }
        stream_.patchInt32(4, static_cast<std::uint32_t>(stream_.position()));
        return stream_.takeBytes();
    }

private:
    std::size_t estimatedStreamBytes() const {
        std::size_t bytes = 8 + materialCount_ * 160;
        for (const QelObject& object : scene_.objects) {
            bytes += 128 + object.name.size() + object.vertices.size() * 20;
            for (const QelFace& face : object.faces) {
                bytes += (face.indices.size() + 1) * 4;
            }
        }
        return std::min<std::size_t>(bytes, kMaxModelStreamBytes);
    }

    void putTextChunk(const char (&tag)[5], std::string_view text) {
        stream_.putTag(tag);
        stream_.putInt32(static_cast<std::uint32_t>(kChunkHeaderBytes + text.size() + 1));
        stream_.putString(text);
    }

    void putFloatChunk(const char (&tag)[5], float value) {
        stream_.putTag(tag);
        stream_.putInt32(kFloatChunkBytes);
        stream_.putFloat32(value);
    }

    void putIntChunk(const char (&tag)[5], std::uint32_t value) {
        stream_.putTag(tag);
        stream_.putInt32(kFloatChunkBytes);
        stream_.putInt32(value);
    }

    void writeMaterialChunk(const QelMaterial& material) {
        const std::string_view name = zeroTerminated(material.name);
        const CodePage cp = scene_.codePage;
        const std::optional<std::string> maps[4] = {
            textureEntryName(zeroTerminated(material.tex), cp),
            textureEntryName(zeroTerminated(material.aplane), cp),
            textureEntryName(zeroTerminated(material.bump), cp),
            textureEntryName(zeroTerminated(material.env), cp),
        };
        std::size_t length = kChunkHeaderBytes + (name.size() + 9) + 24 + 5 * kFloatChunkBytes;
        for (int i = 0; i < 4; ++i) {
            if (maps[i]) {
                length += maps[i]->size() + (i == 3 ? 13 : 9);
            }
        }
        stream_.putTag("MATL");
        stream_.putInt32(static_cast<std::uint32_t>(length));
        putTextChunk("NAME", name);
        stream_.putTag("COLR");
        stream_.putInt32(24u);
        for (const float channel : material.col) {
            stream_.putFloat32(channel);
        }
        putFloatChunk("AMBI", material.amb);
        putFloatChunk("DIFF", material.dif);
        putFloatChunk("SPEC", material.spc);
        putFloatChunk("SPOW", material.power);
        putFloatChunk("LUMI", material.emi);
        if (maps[0]) {
            putTextChunk("CMAP", *maps[0]);
        }
        if (maps[1]) {
            putTextChunk("AMAP", *maps[1]);
        }
        if (maps[2]) {
            putTextChunk("BMAP", *maps[2]);
        }
        if (maps[3]) {
            stream_.putTag("EMAP");
            stream_.putInt32(static_cast<std::uint32_t>(maps[3]->size() + 13));
            stream_.putString(*maps[3]);
            stream_.putFloat32(material.envPower);
        }
    }

    void writeObjectChunk(const QelObject& object) {
        const std::size_t start = stream_.position();
        stream_.putTag("OBJT");
        stream_.putInt32(0u); // patched when the meshes are written
        putTextChunk("NAME", zeroTerminated(object.name));
        putIntChunk("VISI", static_cast<std::uint32_t>(object.visible));
        putFloatChunk("SMAN", object.facet);
        putIntChunk("MIRR", object.mirror);
        putIntChunk("AXIS", object.mirrorAxis);

        const std::size_t vertexCount = writtenCount(object.vertexCount, object.vertices.size());
        const std::size_t faceCount = writtenCount(object.faceCount, object.faces.size());
        groupFaces(object, vertexCount, faceCount);
        work_.meshNumber.assign(vertexCount, -1);
        const auto& grouped = work_.groupedFaces;
        for (std::size_t first = 0; first < grouped.size();) {
            std::size_t end = first;
            while (end < grouped.size() && grouped[end].first == grouped[first].first) {
                ++end;
            }
            writeMeshChunk(object, grouped[first].first, first, end);
            first = end;
        }
        stream_.patchInt32(start + 4, static_cast<std::uint32_t>(stream_.position() - start));
    }

    // Every drawable face with its material group, ordered by group and then by face order; the
    // group without material (index materialCount) comes last. A counting sort: one pass to
    // count each group's faces, one to place them, in linear time.
    void groupFaces(const QelObject& object, std::size_t vertexCount, std::size_t faceCount) {
        auto& groupOf = work_.faceGroup;
        auto& groupStart = work_.groupStart;
        groupOf.assign(faceCount, kNotWritten);
        groupStart.assign(materialCount_ + 2, 0);
        std::size_t written = 0;
        for (std::size_t i = 0; i < faceCount; ++i) {
            const QelFace& face = object.faces[i];
            if (!isWrittenFace(face, vertexCount)) {
                continue;
            }
            const bool known =
                face.material >= 0 && static_cast<std::size_t>(face.material) <= materialCount_;
            groupOf[i] = known ? static_cast<std::size_t>(face.material) : materialCount_;
            ++groupStart[groupOf[i] + 1];
            ++written;
        }
        for (std::size_t g = 1; g < groupStart.size(); ++g) {
            groupStart[g] += groupStart[g - 1];
        }
        auto& grouped = work_.groupedFaces;
        grouped.resize(written);
        for (std::size_t i = 0; i < faceCount; ++i) {
            if (groupOf[i] != kNotWritten) {
                grouped[groupStart[groupOf[i]]++] = {groupOf[i], i};
            }
        }
    }

    // One MESH chunk for the faces grouped[first, end) of one material group.
    void writeMeshChunk(const QelObject& object, std::size_t group, std::size_t first,
                        std::size_t end) {
        auto& meshNumber = work_.meshNumber;
        auto& sourceVertex = work_.sourceVertex;
        auto& cornerMesh = work_.cornerMesh;
        sourceVertex.clear();
        cornerMesh.clear();

        // Mesh vertices are numbered in order of first use by the group's faces.
        std::size_t indexEntries = 0;
        bool groupHasCoordinates = false;
        for (std::size_t f = first; f < end; ++f) {
            const QelFace& face = object.faces[work_.groupedFaces[f].second];
            indexEntries += face.indices.size() + 1;
            groupHasCoordinates = groupHasCoordinates || hasCoordinates(face);
            for (const std::int32_t index : face.indices) {
                std::int32_t& number = meshNumber[static_cast<std::size_t>(index)];
                if (number < 0) {
                    number = static_cast<std::int32_t>(sourceVertex.size());
                    sourceVertex.push_back(index);
                }
                cornerMesh.push_back(number);
            }
        }
        if (groupHasCoordinates) {
            assignCoordinates(object, first, end);
        }

        const std::size_t meshVertices = sourceVertex.size();
        std::size_t length = 28 + 12 * meshVertices + 4 * indexEntries;
        if (groupHasCoordinates) {
            length += 8 + 8 * meshVertices;
        }
        stream_.putTag("MESH");
        stream_.putInt32(static_cast<std::uint32_t>(length));
        stream_.putInt32(group == materialCount_ ? -1 : static_cast<std::int32_t>(group));
        stream_.putTag("VXPT");
        stream_.putInt32(static_cast<std::uint32_t>(8 + 12 * meshVertices));
        KeyedStream::Int32Run positions = stream_.int32Run(3 * meshVertices);
        for (const std::int32_t index : sourceVertex) {
            const QelVertex& vertex = object.vertices[static_cast<std::size_t>(index)];
            positions.put(vertex.x);
            positions.put(vertex.y);
            positions.put(vertex.z);
        }
        if (groupHasCoordinates) {
            stream_.putTag("VXUV");
            stream_.putInt32(static_cast<std::uint32_t>(8 + 8 * meshVertices));
            KeyedStream::Int32Run coordinates = stream_.int32Run(2 * meshVertices);
            for (const UV& uv : work_.coordinates) {
                coordinates.put(uv[0]);
                coordinates.put(uv[1]);
            }
        }
        stream_.putTag("INDX");
        stream_.putInt32(static_cast<std::uint32_t>(8 + 4 * indexEntries));
        KeyedStream::Int32Run indices = stream_.int32Run(indexEntries);
        const std::int32_t* corner = cornerMesh.data();
        for (std::size_t f = first; f < end; ++f) {
            const QelFace& face = object.faces[work_.groupedFaces[f].second];
            indices.put(face.cornerCount);
            for (std::size_t l = 0; l < face.indices.size(); ++l) {
                indices.put(*corner++);
            }
        }

        // Each group numbers its mesh vertices from 0.
        for (const std::int32_t index : sourceVertex) {
            meshNumber[static_cast<std::size_t>(index)] = -1;
        }
    }

    // Gives every mesh vertex one coordinate pair. A corner whose pair differs from the one its
    // vertex already holds gets a copy of the vertex with its own pair; copies are never
    // shared, so a later corner with the same differing pair makes another one. The corners of
    // a face without coordinates take the pair (0, 0) by the same rule: overwriting the vertex's
    // pair instead would take an earlier textured face's coordinates away from it.
    void assignCoordinates(const QelObject& object, std::size_t first, std::size_t end) {
        auto& coordinates = work_.coordinates;
        auto& sourceVertex = work_.sourceVertex;
        auto& cornerMesh = work_.cornerMesh;
        coordinates.assign(sourceVertex.size(), UV{kUnsetCoordinate, kUnsetCoordinate});
        std::size_t corner = 0;
        for (std::size_t f = first; f < end; ++f) {
            const QelFace& face = object.faces[work_.groupedFaces[f].second];
            const bool faceHasCoordinates = hasCoordinates(face);
            for (std::size_t l = 0; l < face.indices.size(); ++l, ++corner) {
                const auto m = static_cast<std::size_t>(cornerMesh[corner]);
                const UV pair = faceHasCoordinates ? UV{face.u[l], face.v[l]} : UV{0.0f, 0.0f};
                if (coordinates[m][0] >= kUnsetThreshold || coordinates[m][1] >= kUnsetThreshold) {
                    coordinates[m] = pair;
                } else if (coordinates[m][0] != pair[0] || coordinates[m][1] != pair[1]) {
                    cornerMesh[corner] = static_cast<std::int32_t>(sourceVertex.size());
                    sourceVertex.push_back(sourceVertex[m]);
                    coordinates.push_back(pair);
                }
            }
        }
    }

    const QelScene& scene_;
    KeyedStream stream_;
    const std::size_t materialCount_;
    MeshWorkspace work_;
};

} // namespace

std::size_t writtenCount(std::int32_t count, std::size_t available) {
    return count <= 0 ? 0 : std::min(static_cast<std::size_t>(count), available);
}

bool isWrittenFace(const QelFace& face, std::size_t vertexCount) {
    if (face.cornerCount < 0 || face.indices.size() != static_cast<std::size_t>(face.cornerCount)) {
        return false;
    }
    return std::all_of(face.indices.begin(), face.indices.end(), [&](std::int32_t index) {
        return index >= 0 && static_cast<std::size_t>(index) < vertexCount;
    });
}

std::optional<std::string> textureEntryName(std::string_view mapName, CodePage cp) {
    std::optional<std::string> base = baseNameOfPath(mapName, cp);
    if (!base) {
        return std::nullopt;
    }
    *base += ".jpx";
    if (!isPlainFileName(*base, cp)) {
        return std::nullopt;
    }
    return base;
}

std::optional<std::string> buildModelFile(const QelScene& scene, StreamKey key, bool transform) {
    return ModelFileWriter(scene, key, transform).build();
}

ModelFileStatus writeModelFile(QelScene& scene, const std::string& path, KeyGenerator& keys) {
    const StreamKey key = keys.nextKey();
    const std::optional<std::string> bytes = buildModelFile(scene, key, scene.streamTransform != 0);
    if (!bytes) {
        return ModelFileStatus::TooLarge;
    }
    const auto streamBytes = static_cast<std::int32_t>(bytes->size() - KeyedStream::kHeaderBytes);
    scene.streamKey = {key[0], key[1], key[2], key[3]};
    scene.streamSize = streamBytes;
    scene.streamPos = streamBytes;
    return writeWholeFile(path, *bytes) ? ModelFileStatus::Ok : ModelFileStatus::CannotWrite;
}

} // namespace vantor
