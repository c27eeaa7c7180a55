#pragma once
// Shared helpers of the C++ tests: a fresh temporary folder per test, whole-file helpers and
// the location of the shared corpus of real MQO files.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace vantor::test {

// A folder that exists for the lifetime of the object and is removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantor-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder with a trailing "/", as the program forms folders.
    std::string folder() const { return path_.string() + "/"; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Path of a file of the shared corpus of real MQO files; empty when the corpus is missing.
inline std::string corpusFile(std::string_view name) {
    const std::filesystem::path path = std::filesystem::path(VANTOR_CORPUS_DIR) / name;
    return std::filesystem::exists(path) ? path.string() : std::string();
}

inline std::string testDataFile(std::string_view name) {
    return (std::filesystem::path(VANTOR_TEST_DATA_DIR) / name).string();
}

} // namespace vantor::test

// Skips the current test when the corpus file is missing, saying why.
#define VANTOR_REQUIRE_CORPUS_FILE(var, name)                                                   \
    const std::string var = ::vantor::test::corpusFile(name);                                   \
    if (var.empty()) {                                                                          \
        GTEST_SKIP() << "shared corpus file " << (name) << " is missing (" VANTOR_CORPUS_DIR ")"; \
    }
