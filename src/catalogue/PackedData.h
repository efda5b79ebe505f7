#pragma once
// The compressed container of catalogue pictures, font files and the catalogue database:
// magic 0x033E0F0D, the unpacked size (signed 32-bit, little-endian), then one zlib stream.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace glyphwell::catalogue {

inline constexpr std::uint32_t kPackedDataMagic = 0x033E0F0D;
inline constexpr std::size_t kPackedDataHeaderSize = 8;
// The unpacked size comes from outside; a larger output area is refused rather than allocated.
inline constexpr std::int64_t kPackedDataMaxBound = std::int64_t{512} * 1024 * 1024;

// The bytes the stream inflates to, into an area of twice the recorded size; empty on any
// failure (short input, other magic, a bound <= 0 or over the cap, a stream that is damaged,
// does not end, or would not fit).
std::string UnpackData(std::string_view packed);

// Packs `bytes` with zlib's one-shot compression. Empty when `bytes` is too large to record.
std::string PackData(std::string_view bytes);

}  // namespace glyphwell::catalogue
