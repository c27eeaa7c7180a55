#pragma once
// The applet page: the package's HTML file, made from a page template in which %1 becomes the
// applet block and %2 the package name. The applet block is the viewer's applet tag followed by
// one parameter line for every setting whose value differs from the one at which its line is
// left out, and the end tag; every line ends in CR LF.

#include "publish/QelParameter.h"

#include <string>
#include <string_view>

namespace vantor {

// text as the browser must read it in an HTML text or quoted attribute: "&", "<", ">" and
// '"' written as character references.
std::string htmlEscaped(std::string_view text);

// The applet block for the parameters; image names are the last path components of the stored
// names (system code page). A stored image name that ends in a separator names no file, and its
// line is left out.
std::string buildAppletBlock(const QelParameter& params, std::string_view packageName,
                             std::string_view archiveName);

enum class PageStatus {
    Ok,
    TemplateUnreadable, // missing, unreadable, not a regular file, or too large
    EmptyPage,          // the expanded template is empty: no page is written
    CannotWrite,
};

struct AppletPage {
    PageStatus status = PageStatus::TemplateUnreadable;
    std::string bytes; // the page, when status is Ok
};

// Reads the template and expands it. Nothing is converted: the page carries the template's bytes
// and line ends and the names as stored, except that %2 writes the characters & < > " of the
// package name as character references.
AppletPage makeAppletPage(const std::string& templatePath, std::string_view packageName,
                          std::string_view archiveName, const QelParameter& params);

// makeAppletPage, then writes the page at pagePath; a page that cannot be made or written leaves
// an existing page of that name as it was.
PageStatus writeAppletPage(const std::string& pagePath, std::string_view packageName,
                           std::string_view archiveName, const std::string& templatePath,
                           const QelParameter& params);

} // namespace vantor
