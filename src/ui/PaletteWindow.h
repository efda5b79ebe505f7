#pragma once
// The palette window: a small frameless window below the main window's palette button. The
// chooser decides the states; this widget paints them from a back buffer and forwards the
// mouse. Created anew on each opening, on the same chooser.

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

#include "app/Skin.h"
#include "ui/PaletteArtwork.h"
#include "ui/logic/PaletteChooser.h"

class QPushButton;

namespace glyphwell::ui {

class PaletteWindow : public QWidget, private PaletteView {
    Q_OBJECT
  public:
    using ApplySkinCallback =
        std::function<void(int skinNumber, bool applySkin, app::Colour colour, bool applyColour)>;

    // `owner` is the main window; `closeRequested` runs when "关" is clicked.
    PaletteWindow(PaletteChooser& chooser, const PaletteArtwork& artwork,
                  ApplySkinCallback applySkin, std::function<void()> closeRequested,
                  QWidget* owner);
    ~PaletteWindow() override;

    // Hangs the window below the palette button of `mainWindow`.
    void PlaceBelowPaletteButton(const QWidget& mainWindow);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void RedrawThumbnail(int thumbnail) override;
    void RedrawSwatch(int swatch) override;
    void RedrawTab(int tab) override;
    void RepaintPalette() override;
    void ApplySkin(int skinNumber, bool applySkin, app::Colour colour, bool applyColour) override;

    // Background, separator, tabs and the active tab's content, into the back buffer.
    void PaintPalette();
    void PaintElements(QPainter& painter) const;
    // A full repaint asked for earlier is done before the next paint or mouse event, so the
    // chooser sees its outcome in the order it would on screen.
    void SettleFullPaint();

    PaletteChooser& chooser_;
    const PaletteArtwork& artwork_;
    ApplySkinCallback applySkin_;
    std::function<void()> closeRequested_;
    QImage backBuffer_;
    bool backBufferStale_ = true;
    // What each element showed when it was last drawn, so any repaint shows the same.
    int paintedTab_ = kSkinsTab;
    std::array<int, kPaletteTabCount> shownTabs_{};
    std::array<int, kThumbnailCount> shownThumbnails_{};
    std::array<int, kSwatchCount> shownSwatches_{};
    QPushButton* closeButton_;
};

}  // namespace glyphwell::ui
