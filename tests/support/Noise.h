#pragma once
// Bytes that do not compress, the same for the same seed: pictures that need long-value pages.

#include <cstdint>
#include <string>

namespace glyphwell::test {

inline std::string Noise(std::size_t size, std::uint32_t seed) {
    std::string bytes;
    bytes.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes.push_back(static_cast<char>(seed >> 24));
    }
    return bytes;
}

}  // namespace glyphwell::test
