#pragma once
// The main window: frameless and custom-drawn. MainFrame decides the states of the title
// buttons, page bar and palette button; this widget paints them and carries out the actions.

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

#include "app/Startup.h"
#include "ui/Artwork.h"
#include "ui/MainPages.h"
#include "ui/PaletteArtwork.h"
#include "ui/PaletteWindow.h"
#include "ui/logic/MainFrame.h"
#include "ui/logic/PaletteChooser.h"

class QStackedWidget;
class QTimer;

namespace glyphwell::ui {

class MainWindow : public QWidget, public app::StartupWindow, private MainFrameView {
    Q_OBJECT
  public:
    // `endProgram` runs when the close button is clicked.
    explicit MainWindow(
        app::ProgramState& state, std::function<void()> endProgram = [] { app::EndProgram(); },
        QWidget* parent = nullptr);
    ~MainWindow() override;

    // With useGivenColour false the skin's text colour is used; either way it is remembered
    // for the next full paint.
    void DrawStatusLine(app::Colour colour, bool useGivenColour);
    // Callable from any thread: the status line is redrawn on the interface thread with the
    // version line as it is then.
    void PostStatusLine();

    const MainFrame& Frame() const { return frame_; }
    MainPages& Pages() { return *pages_; }
    // The open palette window, nullptr while it is closed.
    PaletteWindow* Palette() const { return palette_.get(); }
    // The folder pages list the run directory's three folders, on choosing their page-bar items
    // as well; their operations change `registry`'s fonts.
    void UseFontCollections(fonts::FontRegistry& registry,
                            const std::filesystem::path& runDirectory);

    // What start-up asks of the window (app::MainWindowCreated).
    void UseFlatControlStyle() override;
    void PrepareArtwork() override;
    void ShowWaitingForCatalogueServerBase() override;
    void TakeMouse() override;
    void MarkFirstItemSelected() override;
    void SkinChanged() override;
    void DrawStatusLine() override;
    void CreateRecognitionWindow() override;
    void PrepareGridColumns() override;
    void ShowFontDownloadPage() override;
    void UseFirstSystemListMode() override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What the frame's rules ask of the window.
    void RedrawTitleButton(int button, int alpha, bool fading) override;
    void RedrawPageBarItem(int item) override;
    void RedrawPaletteButton() override;
    void RepaintWindow() override;
    void StartFadeTimer(int intervalMs) override;
    void StopFadeTimer() override;
    void StartWindowDrag() override;
    void OpenPalette() override;
    void ClosePalette() override;
    void RunTitleButtonAction(int button) override;
    void ShowPage(int pageIndex) override;

    void LayoutMainWindow();
    // Everything that does not depend on element states, into the back buffer.
    void PaintBackBuffer();
    void PaintElements(QPainter& painter) const;
    // `rect` in back-buffer coordinates, `with` drawn over it.
    QImage ComposeOverBackBuffer(const QRect& rect, const QImage& with) const;
    QRect PageBarItemWindowRect(int item) const;
    QRect PaletteButtonWindowRect() const;
    QRect StatusLineWindowRect() const;

    // What each element showed when it was last drawn, so any repaint shows the same.
    struct ShownButton {
        ButtonState state = ButtonState::kNormal;
        int alpha = kOpaque;
    };

    app::ProgramState& state_;
    std::function<void()> endProgram_;
    MainFrame frame_;
    Artwork artwork_;
    QImage skinPicture_;  // the picture of skin skinPictureNumber_, drawn on first use
    int skinPictureNumber_ = 0;
    QImage backBuffer_;
    bool backBufferStale_ = true;
    bool painted_ = false;  // once, for the start-up measurement
    std::array<ShownButton, kPaletteButton - 1> shownButtons_{};
    std::array<ItemState, kPageBarItemCount> shownItems_{};
    ButtonState shownPalette_ = ButtonState::kNormal;
    bool statusShown_ = false;
    QString statusText_;
    app::Colour statusColour_ = 0xFFFFFF;
    bool dragging_ = false;  // following the mouse where the window manager cannot move us
    QPoint dragOffset_;
    QPoint pressGlobalPos_;
    QTimer* fadeTimer_;
    int serverBaseKnown_ = 0;  // the wait that ends the busy cursor once the address is known
    QStackedWidget* container_;
    MainPages* pages_ = nullptr;
    // The palette's choice and states last the whole run; its window only while open.
    PaletteChooser paletteChooser_;
    PaletteArtwork paletteArtwork_;
    std::unique_ptr<PaletteWindow> palette_;
};

}  // namespace glyphwell::ui
