#pragma once
// The program's interface font. Its texts ask for "宋体"; on this desktop that name is
// substituted by a Song/Ming face that is installed with the program.

#include <QFont>

namespace glyphwell::ui {

inline constexpr const char* kSongFaceName = "宋体";

// Maps "宋体" (and its Latin name) onto the installed Ming faces, before any sans fallback.
// Runs once; later calls do nothing.
void InstallSongSubstitution();

// "宋体" at `pixelSize`.
QFont SongFont(int pixelSize);

}  // namespace glyphwell::ui
