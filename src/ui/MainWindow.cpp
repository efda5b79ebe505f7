#include "ui/MainWindow.h"

#include <QPainter>

namespace glyphwell::ui {

MainWindow::MainWindow(app::ProgramState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName("启动窗口");
    setWindowTitle("Glyphwell2014");
    setFixedSize(744, 620);
}

void MainWindow::MainWindowCreated() {
    app::PrepareWorkingFolders(state_);
    app::BuildStartupVersionLine(state_);
    app::FetchStartupCatalogueServerBase(state_);
    app::ApplyStartupSkin(state_, [this] { update(); });
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const app::Colour accent = state_.skin.skin.AccentColour;
    painter.fillRect(rect(), QColor(0xEC, 0xEC, 0xEC));
    painter.fillRect(QRect(0, 0, width(), 108),
                     QColor(app::RedOf(accent), app::GreenOf(accent), app::BlueOf(accent)));
    painter.fillRect(QRect(0, height() - 24, width(), 24),
                     QColor(app::RedOf(accent), app::GreenOf(accent), app::BlueOf(accent)));
    const app::Colour text = state_.skin.skin.TextColour;
    painter.setPen(QColor(app::RedOf(text), app::GreenOf(text), app::BlueOf(text)));
    painter.drawText(QRect(8, height() - 24, width() - 16, 24), Qt::AlignVCenter | Qt::AlignLeft,
                     QString::fromStdString(state_.versionLine.Text()));
}

}  // namespace glyphwell::ui
