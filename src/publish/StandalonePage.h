#pragma once
// The single-file page: a published page with every file it loads carried inside it, so that
// it shows its model when opened straight from disk, sent as one attachment or copied alone.
// Each file rides in a script element of the type kEmbeddedFileType, named by its data-name
// attribute, its bytes in base64; the page's loader takes the files from there instead of
// reading them beside the page.

#include <string>
#include <string_view>
#include <vector>

namespace vantor {

inline constexpr const char* kEmbeddedFileType = "application/x-qel-file";

struct EmbeddedFile {
    std::string name;  // the name the page uses for the file
    std::string bytes;
};

// The standard base64 form of bytes (RFC 4648, with padding, without line breaks).
std::string base64Encoded(std::string_view bytes);

// The page with the files inserted before its </head> tag (or at its start when it has none).
// Only a tag that stands as markup counts: a "</head>" inside a comment, a script, a style or
// another element of text content ends no head.
std::string buildStandalonePage(std::string_view page, const std::vector<EmbeddedFile>& files);

// The single-file page's name for a package: "N.standalone.html".
std::string standalonePageName(std::string_view packageName);

} // namespace vantor
