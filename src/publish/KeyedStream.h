#pragma once
// The keyed byte stream under the model file and the texture files. A file starts with four key
// bytes in the clear; every byte after them is written through a position-dependent offset
// derived from the key, and every number inside the stream is big-endian. The file is built in
// memory and written in one step by its caller.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vantor {

// The bits of a float as an integer (std::bit_cast, which not every standard library has yet).
inline std::uint32_t floatBits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The four key values k0..k3 of one file, each 0 to 255.
using StreamKey = std::array<std::uint8_t, 4>;

// Draws the key values of the files of one package. The same seed always gives the same
// sequence of keys, on every machine, so a package written with a fixed seed is byte-identical
// from run to run.
class KeyGenerator {
public:
    explicit KeyGenerator(std::uint64_t seed) : state_(seed) {}
    // A generator seeded from the system's source of randomness.
    static KeyGenerator unpredictable();

    // The key of the next file: four values drawn in the order k0, k1, k2, k3.
    StreamKey nextKey();

private:
    std::uint64_t nextValue();
    std::uint64_t state_;
};

class KeyedStream {
public:
    // Starts a file: writes the key header and sets the stream position to 0. With transform
    // off the bytes after the header are written as they are.
    explicit KeyedStream(StreamKey key, bool transform = true);

    void putByte(std::uint8_t byte);
    // Bytes in order, each through putByte.
    void putBytes(std::string_view bytes);
    // A run of 32-bit values written in sequence into room made for them at once, without the
    // bookkeeping of a put per value: the long tables of a model file. Exactly count values
    // are to be put, before anything else is written to the stream.
    class Int32Run {
    public:
        // As putInt32 and putFloat32.
        void put(std::uint32_t value) {
            const std::uint8_t* offsets = offsets_ + (position_ & 0xFF);
            out_[0] = static_cast<unsigned char>((value >> 24) + offsets[0]);
            out_[1] = static_cast<unsigned char>((value >> 16) + offsets[1]);
            out_[2] = static_cast<unsigned char>((value >> 8) + offsets[2]);
            out_[3] = static_cast<unsigned char>(value + offsets[3]);
            out_ += 4;
            position_ += 4;
        }
        void put(std::int32_t value) { put(static_cast<std::uint32_t>(value)); }
        void put(float value) { put(floatBits(value)); }

    private:
        friend class KeyedStream;
        Int32Run(unsigned char* out, std::size_t position, const std::uint8_t* offsets)
            : out_(out), position_(position), offsets_(offsets) {}
        unsigned char* out_;
        std::size_t position_;
        const std::uint8_t* offsets_;
    };
    Int32Run int32Run(std::size_t count) {
        const std::size_t start = bytes_.size();
        bytes_.resize(start + 4 * count);
        return Int32Run(reinterpret_cast<unsigned char*>(bytes_.data() + start),
                        start - kHeaderBytes, offsets_.data());
    }

    // A 32-bit value, most significant byte first; signed and unsigned values alike.
    void putInt32(std::uint32_t value) { int32Run(1).put(value); }
    void putInt32(std::int32_t value) { putInt32(static_cast<std::uint32_t>(value)); }
    // The bit pattern of a single-precision float, sign and exponent byte first.
    void putFloat32(float value) { putInt32(floatBits(value)); }
    // The bytes of the text up to its first zero byte, then one zero byte.
    void putString(std::string_view text);
    // Four ASCII characters in reading order.
    void putTag(const char (&tag)[5]);

    // Rewrites the 32-bit field written earlier at stream position `position`, each byte with
    // the offset of its own position, as if it had been written there in sequence.
    void patchInt32(std::size_t position, std::uint32_t value);
    void patchInt32(std::size_t position, std::int32_t value) {
        patchInt32(position, static_cast<std::uint32_t>(value));
    }

    // Stream position of the next byte: the number of bytes written after the key header.
    std::size_t position() const { return bytes_.size() - kHeaderBytes; }
    // The whole file: key header and stream.
    const std::string& bytes() const { return bytes_; }
    std::string takeBytes() { return std::move(bytes_); }
    // Reserves room for a stream of the given length.
    void reserve(std::size_t streamBytes) { bytes_.reserve(kHeaderBytes + streamBytes); }

    static constexpr std::size_t kHeaderBytes = 4;

private:
    std::uint8_t transformed(std::uint8_t byte, std::size_t position) const {
        return static_cast<std::uint8_t>(byte + offsets_[position & 0xFF]);
    }

    // The offset added at each stream position modulo 256; it repeats with period 256. Two
    // periods are held so that a run of up to 256 bytes reads its offsets from one contiguous
    // stretch, whatever position it starts at.
    std::array<std::uint8_t, 512> offsets_{};
    std::string bytes_;
};

} // namespace vantor
