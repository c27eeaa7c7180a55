#include "publish/KeyedStream.h"

#include <random>
#include <stdexcept>

namespace vantor {

KeyGenerator KeyGenerator::unpredictable() {
    std::random_device device;
    const std::uint64_t seed = (std::uint64_t{device()} << 32) ^ device();
    return KeyGenerator(seed);
}

// splitmix64: small, fast, and fully specified, so seeded packages agree across machines.
std::uint64_t KeyGenerator::nextValue() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

StreamKey KeyGenerator::nextKey() {
    StreamKey key{};
    for (std::uint8_t& value : key) {
        value = static_cast<std::uint8_t>(nextValue() % 256);
    }
    return key;
}

KeyedStream::KeyedStream(StreamKey key, bool transform) {
    if (transform) {
        // offset(n) = t0 + t1 n + t2 n^2 + t3 n^3 with ti = ki + n; everything modulo 256.
        for (unsigned n = 0; n < 256; ++n) {
            const unsigned n2 = n * n;
            const unsigned n3 = n2 * n;
            offsets_[n] = static_cast<std::uint8_t>((key[0] + n) + (key[1] + n) * n +
                                                    (key[2] + n) * n2 + (key[3] + n) * n3);
            offsets_[n + 256] = offsets_[n];
        }
    }
    bytes_.assign(key.begin(), key.end());
}

void KeyedStream::putByte(std::uint8_t byte) {
    bytes_.push_back(static_cast<char>(transformed(byte, position())));
}

void KeyedStream::putBytes(std::string_view bytes) {
    const std::size_t start = bytes_.size();
    bytes_.resize(start + bytes.size());
    auto* out = reinterpret_cast<unsigned char*>(bytes_.data() + start);
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::uint8_t* offsets = offsets_.data() + ((start - kHeaderBytes) & 0xFF);
    // Runs of 256 bytes keep their starting phase, so each run adds the same stretch of
    // offsets; the loop over one run vectorises.
    for (std::size_t left = bytes.size(); left > 0;) {
        const std::size_t run = left < 256 ? left : 256;
        for (std::size_t i = 0; i < run; ++i) {
            out[i] = static_cast<unsigned char>(in[i] + offsets[i]);
        }
        out += run;
        in += run;
        left -= run;
    }
}

void KeyedStream::putString(std::string_view text) {
    putBytes(text.substr(0, text.find('\0')));
    putByte(0);
}

void KeyedStream::putTag(const char (&tag)[5]) {
    putBytes(std::string_view(tag, 4));
}

void KeyedStream::patchInt32(std::size_t position, std::uint32_t value) {
    if (position > this->position() || this->position() - position < 4) {
        throw std::out_of_range("patchInt32 beyond the bytes written");
    }
    char* out = bytes_.data() + kHeaderBytes + position;
    for (int i = 0; i < 4; ++i) {
        const auto byte = static_cast<std::uint8_t>(value >> (24 - 8 * i));
        out[i] = static_cast<char>(transformed(byte, position + i));
    }
}

} // namespace vantor
