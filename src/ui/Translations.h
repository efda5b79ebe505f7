#pragma once
// Qt's own words (standard buttons, file and folder dialogs) in Chinese, like every other text
// of the program.

namespace glyphwell::ui {

// Loads Qt's Chinese translations once the application object exists; false when they are not
// installed (the standard dialogs then stay in English).
bool UseChineseQtTexts();

}  // namespace glyphwell::ui
