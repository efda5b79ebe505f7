#pragma once
// Settings the browser boxes' engine reads once, before the application object exists.

namespace glyphwell::ui {

// Call before constructing the QApplication. The engine draws its pages in software: the
// program paints with the CPU anyway, and a desktop OpenGL driver costs tens of megabytes of
// memory for nothing. All boxes share one page process. GLYPHWELL_GPU=1 keeps Qt's own choice
// of drawing; settings the user made in QT_XCB_GL_INTEGRATION, QT_QUICK_BACKEND or
// QTWEBENGINE_CHROMIUM_FLAGS are kept.
void PrepareBrowserEngine();

// Keeps Qt's and the engine's routine notes (the engine's settings, pages' script messages,
// a desktop without OpenGL) off the console, so that what shows there is worth reading.
// GLYPHWELL_VERBOSE=1 lets everything through.
void KeepConsoleQuiet();

}  // namespace glyphwell::ui
