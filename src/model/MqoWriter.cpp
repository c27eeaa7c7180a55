#include "model/MqoWriter.h"

#include <charconv>
#include <cstddef>
#include <string_view>

#include "platform/Files.h"
#include "platform/NumberText.h"

namespace vantor {

namespace {

// Appends numbers without the C library's locale: the file always uses a period.
class MqoText {
public:
    std::string& out;

    MqoText& operator<<(std::string_view text) {
        out += text;
        return *this;
    }
    MqoText& integer(long long value) {
        char buffer[24];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        out.append(buffer, result.ptr);
        return *this;
    }
    // The value with exactly `decimals` digits after the period, as "%.Nf" prints it.
    MqoText& fixed(float value, int decimals) {
        appendFixed(out, static_cast<double>(value), decimals);
        return *this;
    }
};

void writeHeader(MqoText& text, const QelScene& scene) {
    text << "Metasequoia Document\r\n";
    // The traditional header suits every scene that Shift-JIS readers read right: one in CP932,
    // or one whose texts are plain ASCII. Only UTF-8 beyond ASCII needs the newer header that
    // names its code page, or older readers would take the names for Shift-JIS.
    if (scene.codePage == CodePage::Utf8 && !allSceneTexts(scene, isAscii)) {
        text << "Format Text Ver 1.2\r\nCodePage utf8\r\n";
    } else {
        text << "Format Text Ver 1.0\r\n";
    }
}

void writeMaterial(MqoText& text, const QelMaterial& m) {
    text << "\t\"" << m.name << "\" col(";
    text.fixed(m.col[0], 3) << " ";
    text.fixed(m.col[1], 3) << " ";
    text.fixed(m.col[2], 3) << " ";
    text.fixed(m.col[3], 3) << ") dif(";
    text.fixed(m.dif, 3) << ") amb(";
    text.fixed(m.amb, 3) << ") emi(";
    text.fixed(m.emi, 3) << ") spc(";
    text.fixed(m.spc, 3) << ") power(";
    text.fixed(m.power, 3) << ")";
    if (!m.tex.empty()) {
        text << " tex(\"" << m.tex << "\")";
    }
    if (!m.aplane.empty()) {
        text << " aplane(\"" << m.aplane << "\")";
    }
    if (!m.bump.empty()) {
        text << " bump(\"" << m.bump << "\")";
    }
    if (!m.env.empty()) {
        text << " env(\"" << m.env << "\", ";
        text.fixed(m.envPower, 3) << ")";
    }
    text << "\r\n";
}

void writeFace(MqoText& text, const QelFace& face) {
    const auto corners = static_cast<std::size_t>(face.cornerCount > 0 ? face.cornerCount : 0);
    text << "\t\t";
    text.integer(face.cornerCount) << " V(";
    for (std::size_t k = 0; k < corners; ++k) {
        text.integer(k < face.indices.size() ? face.indices[k] : 0) << (k + 1 < corners ? " " : "");
    }
    text << ") M(";
    text.integer(face.material) << ") UV(";
    // A face without texture coordinates is written with 0 for every corner.
    const bool hasUV = face.u.size() >= corners && face.v.size() >= corners;
    for (std::size_t k = 0; k < corners; ++k) {
        text.fixed(hasUV ? face.u[k] : 0.0f, 5) << " ";
        text.fixed(hasUV ? face.v[k] : 0.0f, 5) << (k + 1 < corners ? " " : "");
    }
    text << ")\r\n";
}

void writeObject(MqoText& text, const QelObject& object) {
    text << "Object \"" << object.name << "\" {\r\n\tfacet ";
    text.fixed(object.facet, 1) << "\r\n";
    // Visibility is kept, so hidden objects stay hidden when the file is read back.
    text << "\tvisible ";
    text.integer(object.visible) << "\r\n";
    if (object.mirror != 0) {
        text << "\tmirror ";
        text.integer(object.mirror) << "\r\n\tmirror_axis ";
        text.integer(object.mirrorAxis) << "\r\n";
    }
    text << "\tvertex ";
    text.integer(static_cast<long long>(object.vertices.size())) << " {\r\n";
    for (const QelVertex& vertex : object.vertices) {
        text << "\t\t";
        text.fixed(vertex.x, 4) << " ";
        text.fixed(vertex.y, 4) << " ";
        text.fixed(vertex.z, 4) << "\r\n";
    }
    text << "\t}\r\n\tface ";
    text.integer(static_cast<long long>(object.faces.size())) << " {\r\n";
    for (const QelFace& face : object.faces) {
        writeFace(text, face);
    }
    text << "\t}\r\n}\r\n";
}

std::size_t estimatedSize(const QelScene& scene) {
    std::size_t bytes = 256 + scene.materials.size() * 256;
    for (const QelObject& object : scene.objects) {
        bytes += 128 + object.vertices.size() * 36;
        for (const QelFace& face : object.faces) {
            bytes += 24 + face.indices.size() * 24;
        }
    }
    return bytes;
}

} // namespace

std::string formatMqo(const QelScene& scene) {
    std::string out;
    out.reserve(estimatedSize(scene));
    MqoText text{out};
    writeHeader(text, scene);
    text << "Material ";
    text.integer(static_cast<long long>(scene.materials.size())) << " {\r\n";
    for (const QelMaterial& material : scene.materials) {
        writeMaterial(text, material);
    }
    text << "}\r\n";
    for (const QelObject& object : scene.objects) {
        writeObject(text, object);
    }
    text << "Eof\r\n";
    return out;
}

bool writeMqoFile(const QelScene& scene, const std::string& path, FileError* error) {
    return writeFileReplacing(path, formatMqo(scene), error);
}

bool QelScene::SaveMQO(const std::string& path, FileError* error) const {
    return writeMqoFile(*this, path, error);
}

bool QelScene::SaveMQO(const std::string& path, std::string* error) const {
    FileError failure;
    if (SaveMQO(path, &failure)) {
        return true;
    }
    if (error != nullptr) {
        *error = describeFileError(failure);
    }
    return false;
}

} // namespace vantor
