#pragma once
// The pinyin initials of the GB2312 hanzi, for ordering Chinese font names by initial.

namespace glyphwell::fonts {

// The first letter, upper case, of the first-listed Mandarin reading of the GB2312 hanzi whose
// GBK bytes are `lead` (0xB0..0xF7) and `trail` (0xA1..0xFE); 0 for any other pair and for a
// position that holds no character.
char PinyinInitial(unsigned char lead, unsigned char trail);

}  // namespace glyphwell::fonts
