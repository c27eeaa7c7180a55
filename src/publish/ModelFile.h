#pragma once
// The model file: the scene in the binary form the viewer loads. A sequence of tagged chunks
// ("Qel1", total length, one MATL per material, one OBJT per object) behind the keyed stream's
// four-byte key header; every chunk is a four-letter tag, a big-endian 32-bit length counting
// the whole chunk, and a body. Each object's faces are regrouped by material into MESH chunks
// with their own vertex tables, split where a vertex carries different texture coordinates.

#include "model/QelScene.h"
#include "publish/KeyedStream.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// The name under which the texture file of a material's map is stored beside the model file:
// the map's base name followed by ".jpx" ("C:\images\wood.bmp" gives "wood.jpx"). Nothing when
// the base name is empty or is not a plain file name: such a map is neither named in the model
// file nor packed.
std::optional<std::string> textureEntryName(std::string_view mapName, CodePage cp);

// The whole model file of the scene (key header and stream). Nothing when the stream would be
// longer than its 32-bit lengths can say (kMaxModelStreamBytes). The scene is not changed.
//
// Faces a viewer cannot draw are handled so that nothing is indexed out of range: a face whose
// material lies outside 0..materialCount joins the group without material; a face with a
// corner outside its object's vertex table, or whose corner list does not match its corner
// count, is left out of its mesh; a face whose texture coordinates do not match its corners
// counts as one without coordinates. In a group with texture coordinates, a face without them
// draws with (0, 0) at its corners, split off like any other differing pair, so that it never
// changes the coordinates of another face.
std::optional<std::string> buildModelFile(const QelScene& scene, StreamKey key, bool transform);

// The number of elements of a table that the model file takes: the declared count, held within
// the elements the table really has.
std::size_t writtenCount(std::int32_t count, std::size_t available);

// Whether the model file keeps a face of an object that has vertexCount vertices: its corner
// list matches its corner count and every corner lies in the vertex table.
bool isWrittenFace(const QelFace& face, std::size_t vertexCount);

enum class ModelFileStatus { Ok, TooLarge, CannotWrite };

// Builds the model file with scene.streamTransform and the next key of keys, and writes it at
// path in one step. Leaves the key in scene.streamKey, the stream length in scene.streamSize
// and scene.streamPos.
ModelFileStatus writeModelFile(QelScene& scene, const std::string& path, KeyGenerator& keys);

} // namespace vantor
