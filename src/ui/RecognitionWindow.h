#pragma once
// The font-recognition window: an outside site in a browser box. Created once, hidden; its
// close button hides it again so the page it shows is kept for the next showing.

#include <QWidget>

namespace glyphwell::ui {

class BrowserBox;

class RecognitionWindow : public QWidget {
    Q_OBJECT
  public:
    RecognitionWindow(const QString& startAddress, QWidget* owner);

    BrowserBox& Box() { return *box_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    BrowserBox* box_;
};

}  // namespace glyphwell::ui
