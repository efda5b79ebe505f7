#pragma once
// The main window. For now a plain frame that shows the version line; the custom-drawn window
// with its pages replaces it.

#include <QWidget>

#include "app/Startup.h"

namespace glyphwell::ui {

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(app::ProgramState& state, QWidget* parent = nullptr);

    // The window's created step: the start-up steps in their order.
    void MainWindowCreated();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    app::ProgramState& state_;
};

}  // namespace glyphwell::ui
