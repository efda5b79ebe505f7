#pragma once
// The install-path window: a folder chosen by the user, stored in ".\peizhi.ini".

#include <QDialog>
#include <functional>

class QLineEdit;

namespace glyphwell::ui {

class InstallPathWindow : public QDialog {
    Q_OBJECT
  public:
    // `chooseFolder` asks the user for a folder and returns an empty text on cancel.
    explicit InstallPathWindow(QWidget* owner, std::function<QString(QWidget*)> chooseFolder = {});

    QLineEdit& PathBox() { return *pathBox_; }
    void Choose();   // "选择"
    void Confirm();  // "确定": writes the box's text and stays open

  private:
    std::function<QString(QWidget*)> chooseFolder_;
    QLineEdit* pathBox_;
};

}  // namespace glyphwell::ui
