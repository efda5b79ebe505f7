#pragma once
// The questions and messages the pages put to the user: standard boxes over the window unless
// replaced (the window tests answer them).

#include <QString>

#include <functional>

class QWidget;

namespace glyphwell::ui {

inline constexpr const char* kMessageCaption = "信息：";

struct PageDialogs {
    // Yes and No under `caption`.
    std::function<bool(const QString& caption, const QString& question)> askYesNo;
    // OK and Cancel under the caption "信息：".
    std::function<bool(const QString& question)> askOkCancel;
    // A message with an OK button under `caption`.
    std::function<void(const QString& caption, const QString& message)> tell;
    // A folder the user picks, its path also typed into a box; empty when cancelled.
    std::function<QString(const QString& title)> chooseFolder;
};

PageDialogs StandardDialogs(QWidget& owner);

}  // namespace glyphwell::ui
