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
    // Before something is removed or deleted: Yes and No under `caption`, No the default
    // button, with `details` (what it acts on) below the question.
    std::function<bool(const QString& caption, const QString& question, const QString& details)>
        confirmRemoval;
    // OK and Cancel under the caption "信息：", Cancel the default button, with `details` below
    // the question.
    std::function<bool(const QString& question, const QString& details)> askOkCancel;
    // A message with an OK button under `caption`.
    std::function<void(const QString& caption, const QString& message)> tell;
    // A folder the user picks, its path also typed into a box; empty when cancelled.
    std::function<QString(const QString& title)> chooseFolder;
};

PageDialogs StandardDialogs(QWidget& owner);

}  // namespace glyphwell::ui
