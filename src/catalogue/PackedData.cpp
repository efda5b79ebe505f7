#include "catalogue/PackedData.h"

#include <zlib.h>

#include <limits>
#include <memory>

namespace glyphwell::catalogue {
namespace {

std::uint32_t ReadUint32(std::string_view bytes, std::size_t pos) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= std::uint32_t{static_cast<unsigned char>(bytes[pos + i])} << (8 * i);
    }
    return value;
}

void AppendUint32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

}  // namespace

std::string UnpackData(std::string_view packed) {
    if (packed.size() < kPackedDataHeaderSize || ReadUint32(packed, 0) != kPackedDataMagic) {
        return {};
    }
    // Bound is 2 x size in signed 32-bit arithmetic: a size of 2^30 or more gives a bound <= 0.
    const auto size = static_cast<std::int32_t>(ReadUint32(packed, 4));
    const auto bound = static_cast<std::int32_t>(static_cast<std::uint32_t>(size) * 2u);
    if (bound <= 0 || bound > kPackedDataMaxBound) {
        return {};
    }
    const std::string_view stream = packed.substr(kPackedDataHeaderSize);
    if (stream.size() > std::numeric_limits<uLong>::max()) {
        return {};
    }
    // Left uninitialised: a large bound costs nothing until the stream fills it.
    const auto area = std::make_unique_for_overwrite<Bytef[]>(static_cast<std::size_t>(bound));
    uLongf produced = static_cast<uLongf>(bound);
    const int result =
        uncompress(area.get(), &produced, reinterpret_cast<const Bytef*>(stream.data()),
                   static_cast<uLong>(stream.size()));
    if (result != Z_OK) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(area.get()), produced);
}

std::string PackData(std::string_view bytes) {
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return {};
    }
    uLongf packedSize = compressBound(static_cast<uLong>(bytes.size()));
    std::string out;
    out.reserve(kPackedDataHeaderSize + packedSize);
    AppendUint32(out, kPackedDataMagic);
    AppendUint32(out, static_cast<std::uint32_t>(bytes.size()));
    out.resize(kPackedDataHeaderSize + packedSize);
    const int result =
        compress(reinterpret_cast<Bytef*>(out.data() + kPackedDataHeaderSize), &packedSize,
                 reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()));
    if (result != Z_OK) {
        return {};
    }
    out.resize(kPackedDataHeaderSize + packedSize);
    return out;
}

}  // namespace glyphwell::catalogue
