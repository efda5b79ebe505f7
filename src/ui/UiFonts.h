#pragma once
// The program's interface font. Its texts ask for "宋体"; on this desktop that name is
// substituted by a Song/Ming face that is installed with the program.

#include <QFont>

#include <string>

namespace glyphwell::ui {

inline constexpr const char* kSongFaceName = "宋体";

// Maps "宋体" (and its Latin name) onto the installed Ming faces, before any sans fallback.
// Runs once; later calls do nothing.
void InstallSongSubstitution();

// "宋体" at `pixelSize`: the Ming face it stands for by name, so Qt finds it at once.
QFont SongFont(int pixelSize);

inline constexpr int kInterfacePixelSize = 12;

// Makes "宋体" at 12 pixels the font of every control, as on the desktop the program was
// designed for; a desktop default without Chinese would send every label through the fallback
// search over all installed fonts. Call once the application object exists.
void UseInterfaceFont();

// The file of the face `font` is drawn in; empty when it is not installed.
std::string FaceFileOf(const QFont& font);

}  // namespace glyphwell::ui
