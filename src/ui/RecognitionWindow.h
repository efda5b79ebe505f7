#pragma once
// The font-recognition window: an outside site in a browser box. Created once, hidden; its
// close button hides it again so the page it shows is kept for the next showing.

#include <QWidget>

class QWebEngineView;

namespace glyphwell::ui {

class RecognitionWindow : public QWidget {
    Q_OBJECT
  public:
    RecognitionWindow(const QString& startAddress, QWidget* owner);

    QWebEngineView& Box() { return *box_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWebEngineView* box_;
};

}  // namespace glyphwell::ui
