#pragma once
// Every limit the program imposes on its inputs, in one place. Past a limit is a reported
// error, never a silent truncation.

#include <cstddef>
#include <cstdint>

namespace vantor {

// An object may hold at most this many vertices: the reader refuses a larger object with
// error 2, whose message names the number.
inline constexpr std::int32_t kMaxObjectVertices = 65536;

// An MQO file (or the model inside an .mqoz archive) larger than this is refused before it
// is read into memory.
inline constexpr std::uint64_t kMaxModelFileBytes = std::uint64_t{4} << 30;

// A zipped model (.mqoz) may inflate to at most this many times the size of its archive, or
// to kZippedModelInflationFloor when that is more: model texts compress some 3 to 25 times,
// and a model that needs more than this is refused before it fills memory.
inline constexpr std::uint64_t kMaxZippedModelInflation = 256;
inline constexpr std::uint64_t kZippedModelInflationFloor = std::uint64_t{16} << 20;

// The tables of a model being read (materials, objects, vertices, faces and their corner
// lists) may take at most this many bytes of memory per byte of model text, plus the floor.
// A count in the file that asks for more than its bytes can describe is refused with error 3
// before anything is sized from it; real models need less than 3 bytes per byte.
inline constexpr std::uint64_t kModelReadMemoryPerByte = 16;
inline constexpr std::uint64_t kModelReadMemoryFloor = std::uint64_t{64} << 20;

// A model file holds its lengths as signed 32-bit numbers, so its stream (everything after the
// four key bytes) may be at most this long; a larger scene is refused, never written wrapped.
inline constexpr std::uint64_t kMaxModelStreamBytes = 0x7FFFFFFF;

// An image that becomes a texture file, and a page template, are read whole into memory; larger
// files are refused.
inline constexpr std::uint64_t kMaxImageFileBytes = std::uint64_t{1} << 30;
inline constexpr std::uint64_t kMaxTemplateBytes = std::uint64_t{16} << 20;

// The archive is written without the 64-bit extension, so the files packed into it may add up
// to at most this many bytes (room is left below 4 GiB for headers and stored overhead).
inline constexpr std::uint64_t kMaxArchiveInputBytes = std::uint64_t{0xF0000000};

// A package archive is read (inspected, extracted) up to what the package writer packs: its
// entries may inflate to kMaxArchiveInputBytes in all, and one entry to the largest file the
// writer packs, a model file with its key header.
inline constexpr std::uint64_t kMaxArchiveEntryBytes = kMaxModelStreamBytes + 4;

// A package archive is at most 4 GiB: the writer uses no 64-bit extension.
inline constexpr std::uint64_t kMaxArchiveBytes = std::uint64_t{4} << 30;

// A package archive read back may inflate to at most this many times its own size, or to
// kPackageInflationFloor when that is more (and never beyond kMaxArchiveInputBytes): its keyed
// files hardly compress, some 2 times, so an archive that claims more was made to fill memory.
inline constexpr std::uint64_t kMaxPackageInflation = 64;
inline constexpr std::uint64_t kPackageInflationFloor = std::uint64_t{64} << 20;

// A package name becomes the file names N.html and N.zip, and a file name holds at most 255
// bytes; with the single-file page it also becomes N.standalone.html.
inline constexpr std::size_t kMaxPackageNameBytes = 250;
inline constexpr std::size_t kMaxSingleFilePackageNameBytes = 255 - 16;

// A stored file name (a material's map, an image of the settings), and the path it forms with
// the model's folder, may be at most this long, the longest path the system opens: a longer one
// names no file and is never walked component by component.
inline constexpr std::size_t kMaxStoredPathBytes = 4096;

// A scene settings file is a few kilobytes; a file larger than this is not read.
inline constexpr std::uint64_t kMaxSettingsFileBytes = std::uint64_t{16} << 20;

} // namespace vantor
