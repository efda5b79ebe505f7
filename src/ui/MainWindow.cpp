#include "ui/MainWindow.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QTimer>
#include <QWindow>

#include <algorithm>

#include "app/StartupTimes.h"
#include "ui/BrowserBox.h"
#include "ui/FolderPage.h"
#include "ui/QtConversions.h"
#include "ui/SystemFontPage.h"
#include "ui/Tasks.h"
#include "ui/UiFonts.h"
#include "ui/catalogue/CataloguePage.h"
#include "ui/logic/PageControls.h"

namespace glyphwell::ui {
namespace {

QFont FrameFont() {
    return SongFont(13);
}

constexpr app::Colour kClientAreaColour = 0xECECEC;
constexpr int kStatusStripHeight = 27;

}  // namespace

MainWindow::MainWindow(app::ProgramState& state, std::function<void()> endProgram, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      state_(state),
      endProgram_(std::move(endProgram)),
      frame_(*this),
      fadeTimer_(new QTimer(this)),
      container_(new QStackedWidget(this)),
      paletteChooser_(state_.skin) {
    setObjectName(kMainWindowName);
    setWindowTitle(kProgramTitle);
    setFixedSize(kCreatedWidth, kCreatedHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);

    fadeTimer_->setObjectName(kFadeTimerName);
    connect(fadeTimer_, &QTimer::timeout, this, [this] { frame_.FadeTick(); });

    container_->setObjectName(kPageContainerName);
    pages_ = new MainPages(*container_, *this, state_.addresses);
    container_->installEventFilter(this);
}

MainWindow::~MainWindow() {
    state_.catalogueServerBase.Forget(serverBaseKnown_);
    // The pages' work ends before the pages it reports to.
    WaitForTasks();
}

void MainWindow::UseFlatControlStyle() {
    QApplication::setStyle(QStyleFactory::create("Fusion"));
}

void MainWindow::UseFontCollections(fonts::FontRegistry& registry,
                                    const std::filesystem::path& runDirectory) {
    pages_->UseFontCollections(registry, runDirectory);
    frame_.SetPageFillHooks({[this] { pages_->DownloadedFonts().ListFolder(); },
                             [this] { pages_->RecycleBin().ListFolder(); },
                             [this] { pages_->Backup().ListFolder(); }});
}

void MainWindow::PrepareArtwork() {
    artwork_ = DrawArtwork();
    paletteArtwork_ = DrawPaletteArtwork();
    frame_.Layout(width());
}

void MainWindow::ShowWaitingForCatalogueServerBase() {
    if (state_.catalogueServerBase.IfKnown()) {
        return;
    }
    // The window is usable meanwhile; the cursor says that something is still on its way.
    setCursor(Qt::BusyCursor);
    serverBaseKnown_ = state_.catalogueServerBase.WhenKnown(
        [this](const std::string&) { PostTo(*this, [this] { unsetCursor(); }); });
}

void MainWindow::TakeMouse() {
    setMouseTracking(true);
}

void MainWindow::MarkFirstItemSelected() {
    frame_.MarkFirstItemSelected();
}

void MainWindow::SkinChanged() {
    SettleBackgroundKind(state_.skin);
    RepaintWindow();
}

void MainWindow::CreateRecognitionWindow() {
    pages_->CreateRecognitionWindow();
}

void MainWindow::PrepareGridColumns() {
    pages_->PrepareGridColumns();
}

void MainWindow::ShowFontDownloadPage() {
    pages_->ShowPage(CataloguePage::kPageIndex);
}

void MainWindow::UseFirstSystemListMode() {
    pages_->SystemFonts().State().SetListMode(fonts::ListMode::ByLanguage);
}

void MainWindow::DrawStatusLine(app::Colour colour, bool useGivenColour) {
    statusColour_ = useGivenColour ? colour : state_.skin.skin.TextColour;
    statusText_ = QString::fromStdString(state_.versionLine.Text());
    statusShown_ = true;
    // The painted line is read to screen-reader users as the window's description.
    setAccessibleDescription(statusText_);
    update(StatusLineWindowRect());
}

void MainWindow::PostStatusLine() {
    PostTo(*this, [this] { DrawStatusLine(0, false); });
}

void MainWindow::DrawStatusLine() {
    DrawStatusLine(0, false);
}

QRect MainWindow::PageBarItemWindowRect(int item) const {
    return QRect(PageBarItemRect(item).x + 1, kPageBarOverlayTop + 1, kPageBarItemWidth,
                 kPageBarOverlayHeight);
}

QRect MainWindow::PaletteButtonWindowRect() const {
    return QRect(width() - 34, 78, 28, 22);
}

QRect MainWindow::StatusLineWindowRect() const {
    return QRect(6, height() - 21, width() - 17, 15);
}

void MainWindow::LayoutMainWindow() {
    const FrameLayout layout = LayoutFrame(width(), height());
    const QRect r = ToQRect(layout.region);
    // A rounded rectangle with 3 x 3 corner ellipses leaves out the corner pixels.
    setMask(QRegion(r.adjusted(1, 0, -1, 0)) + QRegion(r.adjusted(0, 1, 0, -1)));
    container_->setGeometry(ToQRect(layout.pageContainer));
    pages_->ApplyLayout(layout);
    frame_.Layout(width());
    RepaintWindow();
}

void MainWindow::resizeEvent(QResizeEvent*) {
    LayoutMainWindow();
}

void MainWindow::PaintBackBuffer() {
    const int w = width();
    const int h = height();
    backBuffer_ = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
    backBuffer_.fill(Qt::black);
    QPainter p(&backBuffer_);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::TextAntialiasing);

    const app::Skin& skin = state_.skin.skin;
    switch (TitleAreaFillOf(state_.skin)) {
        case TitleAreaFill::kPicture:
            if (skin.Picture >= 1 && skin.Picture <= 9) {
                if (skinPictureNumber_ != skin.Picture) {
                    skinPicture_ = DrawSkinPicture(skin.Picture);
                    skinPictureNumber_ = skin.Picture;
                }
                // Rows 5 to 107 of the picture fill the title area.
                p.drawImage(QRect(0, 0, w, kTitleAreaHeight), skinPicture_,
                            QRect(0, 5, kSkinPictureWidth, kTitleAreaHeight));
            }
            break;
        case TitleAreaFill::kColour:
            p.fillRect(QRect(0, 0, w, kTitleAreaHeight), ToQColor(skin.BackgroundColour));
            break;
        case TitleAreaFill::kNothing:
            break;
    }
    p.drawImage(QRect(10, 7, 16, 16), artwork_.logo);
    p.drawImage(QRect(w - 28, 81, 14, 14), artwork_.paletteIcon);

    p.setFont(FrameFont());
    for (int item = 1; item <= kPageBarItemCount; ++item) {
        const PageBarItemInfo& info = kPageBarItems[static_cast<std::size_t>(item - 1)];
        p.drawImage(ToQRect(PageBarItemRect(item)),
                    artwork_.pageBarIcons[static_cast<std::size_t>(item - 1)]);
        p.setPen(ToQColor(skin.TextColour));
        p.drawText(QRect(info.labelX, kPageBarLabelTop, kPageBarItemWidth, 16),
                   Qt::AlignLeft | Qt::AlignTop, QString::fromUtf8(info.label));
    }
    p.setPen(Qt::white);
    p.drawText(QRect(28, 9, 200, 16), Qt::AlignLeft | Qt::AlignTop, kProgramTitle);

    const QColor accent = ToQColor(skin.AccentColour);
    p.fillRect(QRect(1, kTitleAreaHeight, 3, h - kTitleAreaHeight), accent);
    p.fillRect(QRect(w - 4, kTitleAreaHeight, 3, h - kTitleAreaHeight), accent);
    p.fillRect(QRect(4, kTitleAreaHeight, w - 8, h - kStatusStripHeight - kTitleAreaHeight),
               ToQColor(kClientAreaColour));
    p.fillRect(QRect(4, h - kStatusStripHeight, w - 4, kStatusStripHeight - 1), accent);

    p.setBrush(Qt::NoBrush);
    p.setPen(QColor(0, 0, 0, 100));
    p.drawRect(3, 102, w - 7, h - 129);
    p.setPen(QColor(0, 0, 0, 155));
    p.drawRect(1, 1, w - 3, h - 5);
    p.setPen(QColor(255, 255, 255, 80));
    p.drawRect(2, 2, w - 5, h - 7);

    p.drawImage(QRect(w - 13, h - 14, 9, 8), artwork_.grip);
    if (frame_.TitleButtonState(kPaletteButton) == ButtonState::kPressed) {
        p.drawImage(QRect(w - 35, 77, 28, 22), artwork_.paletteOpenBackground);
        p.drawImage(QRect(w - 27, 82, 14, 14), artwork_.paletteIcon);
    }
}

QImage MainWindow::ComposeOverBackBuffer(const QRect& rect, const QImage& with) const {
    QImage image = backBuffer_.copy(rect);
    QPainter p(&image);
    p.drawImage(0, 0, with);
    return image;
}

void MainWindow::PaintElements(QPainter& painter) const {
    for (int item = 1; item <= kPageBarItemCount; ++item) {
        const ItemState shown = shownItems_[static_cast<std::size_t>(item - 1)];
        if (shown != ItemState::kHover && shown != ItemState::kSelected) {
            continue;
        }
        const QRect place = PageBarItemWindowRect(item);
        painter.drawImage(
            place.topLeft(),
            ComposeOverBackBuffer(place.translated(-1, -1), shown == ItemState::kHover
                                                                ? artwork_.pageBarHoverOverlay
                                                                : artwork_.pageBarSelectedOverlay));
    }
    for (int button = 1; button < kPaletteButton; ++button) {
        const ButtonImages& images = artwork_.titleButtons[static_cast<std::size_t>(button - 1)];
        const ShownButton& shown = shownButtons_[static_cast<std::size_t>(button - 1)];
        const QRect place = ToQRect(frame_.TitleButtonRectOf(button));
        const QRect under = place.translated(-1, -1);
        // What lay there before a fade: the button's normal look.
        painter.drawImage(place.topLeft(), ComposeOverBackBuffer(under, images.normal));
        if (shown.state == ButtonState::kNormal) {
            continue;
        }
        const QImage& look = shown.state == ButtonState::kHover ? images.hover : images.pressed;
        painter.setOpacity(std::min(shown.alpha, kOpaque) / 255.0);
        painter.drawImage(place.topLeft(), ComposeOverBackBuffer(under, look));
        painter.setOpacity(1.0);
    }
    if (shownPalette_ == ButtonState::kHover || shownPalette_ == ButtonState::kPressed) {
        const QRect place = PaletteButtonWindowRect();
        QImage image = backBuffer_.copy(place.translated(-1, -1));
        QPainter p(&image);
        if (shownPalette_ == ButtonState::kHover) {
            p.drawImage(0, 0, artwork_.paletteHoverBackground);
        } else {
            p.drawImage(0, 0, artwork_.paletteOpenBackground);
            p.drawImage(QRect(8, 5, 14, 14), artwork_.paletteIcon);
        }
        p.end();
        painter.drawImage(place.topLeft(), image);
    }
    if (statusShown_) {
        const QRect place = StatusLineWindowRect();
        painter.fillRect(place, ToQColor(state_.skin.skin.AccentColour));
        painter.setFont(FrameFont());
        painter.setPen(ToQColor(statusColour_));
        painter.drawText(place, Qt::AlignLeft | Qt::AlignVCenter, statusText_);
    }
}

void MainWindow::paintEvent(QPaintEvent*) {
    if (backBufferStale_ || backBuffer_.size() != size()) {
        PaintBackBuffer();
        backBufferStale_ = false;
        // A full paint covers every element, then puts back the selected item, the title
        // buttons at full strength, the palette button and the status line.
        const int selected = frame_.SelectedItem();
        for (int item = 1; item <= kPageBarItemCount; ++item) {
            shownItems_[static_cast<std::size_t>(item - 1)] =
                item == selected ? ItemState::kSelected : ItemState::kNormal;
        }
        for (int button = 1; button < kPaletteButton; ++button) {
            shownButtons_[static_cast<std::size_t>(button - 1)] = {frame_.TitleButtonState(button),
                                                                   kOpaque};
        }
        shownPalette_ = frame_.TitleButtonState(kPaletteButton);
        statusText_ = QString::fromStdString(state_.versionLine.Text());
        statusShown_ = !statusText_.isEmpty();
    }
    QPainter painter(this);
    painter.drawImage(QPoint(1, 1), backBuffer_, QRect(0, 0, width(), height() - 2));
    PaintElements(painter);
    if (!painted_) {
        painted_ = true;
        // The pages paint in the same pass, after the frame; then the browser boxes may start.
        QTimer::singleShot(0, this, [this] {
            app::MarkStartup("window-painted");
            StartBrowserBoxesSoon();
        });
    }
}

void MainWindow::RedrawTitleButton(int button, int alpha, bool fading) {
    shownButtons_[static_cast<std::size_t>(button - 1)] = {frame_.TitleButtonState(button),
                                                           fading ? alpha : kOpaque};
    update(ToQRect(frame_.TitleButtonRectOf(button)));
}

void MainWindow::RedrawPageBarItem(int item) {
    shownItems_[static_cast<std::size_t>(item - 1)] = frame_.PageBarItemState(item);
    update(PageBarItemWindowRect(item));
}

void MainWindow::RedrawPaletteButton() {
    shownPalette_ = frame_.TitleButtonState(kPaletteButton);
    update(PaletteButtonWindowRect());
}

void MainWindow::RepaintWindow() {
    backBufferStale_ = true;
    update();
}

void MainWindow::StartFadeTimer(int intervalMs) {
    fadeTimer_->start(intervalMs);
}

void MainWindow::StopFadeTimer() {
    fadeTimer_->stop();
}

void MainWindow::StartWindowDrag() {
    // The window manager moves the window where it can; otherwise follow the mouse.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
        return;
    }
    dragging_ = true;
    dragOffset_ = pressGlobalPos_ - pos();
    grabMouse();
}

void MainWindow::OpenPalette() {
    auto applySkin = [this](int skinNumber, bool withSkin, app::Colour colour, bool withColour) {
        // The status text takes the new skin's text colour at once (black on skins 2 and 9).
        app::ApplySkin(state_.skin, state_.settings, skinNumber, withSkin, colour, withColour,
                       [this] {
                           SkinChanged();
                           DrawStatusLine(0, false);
                       });
    };
    // "关" closes the window only; the palette button stays drawn open until the next press
    // on the main window.
    palette_ = std::make_unique<PaletteWindow>(
        paletteChooser_, paletteArtwork_, applySkin, [this] { palette_.reset(); }, this);
    palette_->show();
}

void MainWindow::ClosePalette() {
    palette_.reset();
}

void MainWindow::RunTitleButtonAction(int button) {
    switch (button) {
        case kCloseButton:
            if (endProgram_) {
                endProgram_();
            }
            break;
        case kMinimiseButton:
            showMinimized();
            break;
        case kMoveButton: {
            const QSize screenSize = screen()->geometry().size();
            const Point target = MoveButtonTarget({x(), y()}, {width(), height()},
                                                  {screenSize.width(), screenSize.height()});
            move(target.x, target.y);
            break;
        }
        case kMenuButton:
            pages_->ControlMenu().popup(QCursor::pos());
            break;
        default:  // the maximise button only gives feedback
            break;
    }
}

void MainWindow::ShowPage(int pageIndex) {
    pages_->ShowPage(pageIndex);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        move(event->globalPosition().toPoint() - dragOffset_);
        return;
    }
    const QPoint p = event->position().toPoint();
    frame_.MouseMove(p.x(), p.y());
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    pressGlobalPos_ = event->globalPosition().toPoint();
    const QPoint p = event->position().toPoint();
    frame_.LeftPress(p.x(), p.y());
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    // The release that ends a drag belongs to the drag.
    if (dragging_) {
        dragging_ = false;
        releaseMouse();
        return;
    }
    const QPoint p = event->position().toPoint();
    frame_.LeftRelease(p.x(), p.y());
}

void MainWindow::leaveEvent(QEvent*) {
    frame_.MouseLeave();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == container_ && event->type() == QEvent::MouseButtonPress) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            frame_.PageContainerPressed(palette_ != nullptr);
        }
        // The container handles its own presses; they do not drag the window.
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace glyphwell::ui
