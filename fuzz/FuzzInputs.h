#pragma once
// What each fuzz target does with one input. The libFuzzer targets and the corpus replay in the
// tests call the same functions, so a corpus file means the same to both.

#include <cstdint>
#include <span>

namespace glyphwell::fuzz {

using Input = std::span<const std::uint8_t>;

// Each returns false when the input broke a promise the code makes; a crash or a hang is a
// failure as well.

// A catalogue file as the server delivers it: every read must end, whatever the bytes.
bool ReadCatalogueFile(Input input);

// Unpacking takes whatever the network delivers; a result stays within its bound.
bool UnpackData(Input input);

// Settings files are edited by hand and by other programs: any bytes read safely, and a write
// reads back.
bool ReadAndWriteIniFile(Input input);

// A catalogue row's PCX sample picture: any bytes decode or are refused without a fault, and a
// decoded picture is whole, within the caps and opaque.
bool DecodePcxPicture(Input input);

// The display-name cache file is ours but sits in the user's cache folder: any bytes are
// refused or read, and what is read writes back to the same names.
bool ReadDisplayNameCache(Input input);

}  // namespace glyphwell::fuzz
