#include "app/SystemText.h"

namespace vantor {

std::string SystemText(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const std::string_view bytes(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    if (std::optional<std::string> encoded = encodeFromUtf8(systemCodePage(), bytes)) {
        return std::move(*encoded);
    }
    return std::string(bytes);
}

QString FromSystemText(std::string_view bytes) {
    return FromCodePage(systemCodePage(), bytes);
}

QString FromCodePage(CodePage cp, std::string_view bytes) {
    const std::string utf8 = decodeToUtf8(cp, bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace vantor
