#include "LargeModel.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>
#include <stdlib.h>

namespace vantor::bench {

namespace {

constexpr int kColumns = 250;
constexpr int kRows = 240; // 250 x 240 = 60,000 vertices per object

void appendObject(std::string& out, int index) {
    char line[256];
    std::snprintf(line, sizeof line, "Object \"grid%d\" {\r\n\tvisible 15\r\n\tfacet 59.5\r\n", index);
    out += line;
    std::snprintf(line, sizeof line, "\tvertex %d {\r\n", kColumns * kRows);
    out += line;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const double height = 20.0 * std::sin(column * 0.1 + index) * std::cos(row * 0.13);
            std::snprintf(line, sizeof line, "\t\t%.4f %.4f %.4f\r\n", column * 10.0 - 1250.0,
                          height, row * 10.0 - 1200.0);
            out += line;
        }
    }
    out += "\t}\r\n";
    const int faces = (kColumns - 1) * (kRows - 1);
    std::snprintf(line, sizeof line, "\tface %d {\r\n", faces);
    out += line;
    for (int row = 0; row + 1 < kRows; ++row) {
        for (int column = 0; column + 1 < kColumns; ++column) {
            const int a = row * kColumns + column;
            const double u0 = column / double(kColumns - 1);
            const double u1 = (column + 1) / double(kColumns - 1);
            const double v0 = row / double(kRows - 1);
            const double v1 = (row + 1) / double(kRows - 1);
            std::snprintf(line, sizeof line,
                          "\t\t4 V(%d %d %d %d) M(%d) UV(%.5f %.5f %.5f %.5f %.5f %.5f %.5f %.5f)\r\n",
                          a, a + 1, a + 1 + kColumns, a + kColumns, index % 2, u0, v0, u1, v0, u1,
                          v1, u0, v1);
            out += line;
        }
    }
    out += "\t}\r\n}\r\n";
}

} // namespace

std::string makeLargeMqo(std::size_t targetBytes) {
    std::string out = "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\n"
                      "Material 2 {\r\n"
                      "\t\"ground\" col(0.800 0.800 0.800 1.000) dif(0.800) amb(0.600) emi(0.000) "
                      "spc(0.000) power(5.00) tex(\"ground.jpg\")\r\n"
                      "\t\"stone\" col(0.500 0.500 0.500 1.000) dif(0.800) amb(0.600) emi(0.000) "
                      "spc(0.200) power(10.00) tex(\"stone.jpg\")\r\n"
                      "}\r\n";
    int index = 0;
    do {
        appendObject(out, index++);
    } while (out.size() < targetBytes);
    out += "Eof\r\n";
    return out;
}

const std::filesystem::path& benchFolder() {
    struct Folder {
        std::filesystem::path path;
        Folder() {
            std::string pattern =
                (std::filesystem::temp_directory_path() / "vantor-bench-XXXXXX").string();
            if (::mkdtemp(pattern.data()) == nullptr) {
                throw std::runtime_error("cannot create the benchmark folder");
            }
            path = pattern;
        }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder folder;
    return folder.path;
}

const std::string& largeMqoFile(const std::string& path, std::size_t targetBytes) {
    static std::map<std::string, std::string> written;
    auto found = written.find(path);
    if (found == written.end()) {
        const std::string text = makeLargeMqo(targetBytes);
        std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
        found = written.emplace(path, path).first;
    }
    return found->second;
}

} // namespace vantor::bench
