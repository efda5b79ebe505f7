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

// Before the application object: Qt lists the desktop's system fonts and the interface face
// only, for the whole run. Qt reads its list whole at the first text, which with thousands of
// user fonts holds up the first paint and, later, every default-family look-up. Nothing Qt draws
// is in a user's font apart from what LetQtDrawFace hands it: the lists draw their samples from
// the files. Needs the interface face installed.
void LimitQtFontList();

// Gives the browser engine every installed font before its first page, and Qt the user's fonts
// among the faces fontconfig prefers for the engine's five default families, so they come out
// as with Qt's whole list. Once; the first call may take tens of milliseconds.
void ShareWholeFontList();

// Qt draws in the face of `file` from now on when its list is limited (added once).
void LetQtDrawFace(const std::string& file);

}  // namespace glyphwell::ui
