#pragma once
// Texts between the window and the core. The core keeps texts as bytes: paths and names the
// program forms itself in the system code page, a scene's names in the code page of its file.
// The window shows and takes QString.

#include "platform/CodePage.h"

#include <QString>
#include <string>
#include <string_view>

namespace vantor {

// A text of the window as bytes in the system code page. A character that the code page
// cannot hold leaves the text in UTF-8, the form this machine's file names take.
std::string SystemText(const QString& text);

// Bytes in the system code page, for display.
QString FromSystemText(std::string_view bytes);

// Bytes in the given code page (a scene's names and image fields), for display.
QString FromCodePage(CodePage cp, std::string_view bytes);

// One of the window's own texts (MainStrings.h).
inline QString Ui(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace vantor
