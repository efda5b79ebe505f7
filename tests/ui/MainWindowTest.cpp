#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTimer>

#include <memory>
#include <thread>

#include <QPushButton>

#include "platform/Files.h"
#include "support/LocalHttpServer.h"
#include "support/TempDir.h"
#include "ui/TestApplication.h"

namespace glyphwell::ui {
namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { test::TestApplication(); }

    void Start(const std::string& settings = "") {
        if (!settings.empty()) {
            ASSERT_TRUE(platform::WriteWholeFile(runDir_ / "pos.ini", settings));
        }
        window_.reset();  // a window goes before the state it was made on
        state_ = test::TestProgramState(runDir_.Path());
        window_ = std::make_unique<MainWindow>(*state_, [this] { ++endProgramCalls_; });
        app::MainWindowCreated(*state_, *window_);
        window_->show();
        QApplication::processEvents();
    }

    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton) {
        test::SendMouse(*window_, type, at, button);
    }
    // A move or release at a screen position, wherever the window is by then.
    void SendGlobal(QEvent::Type type, QPoint global, Qt::MouseButton button) {
        const QPoint at = window_->mapFromGlobal(global);
        QMouseEvent event(
            type, QPointF(at), QPointF(global), button,
            type == QEvent::MouseMove ? Qt::MouseButtons(Qt::LeftButton) : Qt::MouseButtons(),
            Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &event);
    }
    void Move(QPoint at) { Send(QEvent::MouseMove, at); }
    void Press(QPoint at) { Send(QEvent::MouseButtonPress, at, Qt::LeftButton); }
    void Release(QPoint at) { Send(QEvent::MouseButtonRelease, at, Qt::LeftButton); }

    QColor PixelAt(QPoint at) const { return window_->grab().toImage().pixelColor(at); }
    QPoint Corner(int button) const {
        const Rect r = window_->Frame().TitleButtonRectOf(button);
        return {r.x + 3, r.y + 3};  // off the glyph, on the button's backing
    }
    QPoint Middle(const Rect& r) const { return {r.x + r.width / 2, r.y + r.height / 2}; }
    QTimer* FadeTimer() const { return window_->findChild<QTimer*>("时钟1"); }
    void Tick() { QMetaObject::invokeMethod(FadeTimer(), "timeout"); }

    test::TempDir runDir_;
    std::unique_ptr<app::ProgramState> state_;
    std::unique_ptr<MainWindow> window_;
    int endProgramCalls_ = 0;
};

TEST_F(MainWindowTest, CreatedWindowHasItsPartsInPlace) {
    Start();
    EXPECT_EQ(window_->size(), QSize(744, 620));
    EXPECT_TRUE(window_->windowFlags().testFlag(Qt::FramelessWindowHint));
    auto* pages = window_->findChild<QStackedWidget*>("选择夹1");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->count(), 8);
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_EQ(pages->geometry(), QRect(5, 104, 736, 490));
    auto* menu = window_->findChild<QMenu*>("控制菜单");
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 4);
    EXPECT_EQ(menu->actions()[0]->text(), "检测更新");
    EXPECT_EQ(menu->actions()[3]->text(), "综合设置");
    ASSERT_NE(FadeTimer(), nullptr);
    EXPECT_FALSE(FadeTimer()->isActive());
    EXPECT_EQ(window_->Frame().SelectedItem(), 1);
    // The corner pixels fall outside the rounded region.
    EXPECT_FALSE(window_->mask().contains(QPoint(2, 2)));
    EXPECT_TRUE(window_->mask().contains(QPoint(3, 2)));
    EXPECT_FALSE(window_->mask().contains(QPoint(743, 300)));
}

TEST_F(MainWindowTest, SkinColoursReachTheFrame) {
    struct Case {
        const char* settings;
        app::Colour accent;
    } cases[] = {
        {"[potpz]\npf=1\n", 0xDEA64D},
        {"[potpz]\npf=3\nlb=1\n", 0x2BB06F},
        {"[potpz]\npf=9\n", 0xA786F8},
    };
    for (const Case& c : cases) {
        Start(c.settings);
        const QColor accent(app::RedOf(c.accent), app::GreenOf(c.accent), app::BlueOf(c.accent));
        EXPECT_EQ(PixelAt({400, 611}), accent) << c.settings;  // status strip
        // The client area where no page control covers it: right of the category tabs.
        EXPECT_EQ(PixelAt({730, 110}), QColor(0xEC, 0xEC, 0xEC)) << c.settings;
        const QColor title = PixelAt({560, 10});
        if (c.accent == 0xDEA64D) {
            EXPECT_EQ(title, accent);  // skin 1 is a plain colour
        } else {
            EXPECT_NE(title, accent);
        }
    }
}

TEST_F(MainWindowTest, HoverFadesInAndSnapsBack) {
    Start();
    const QPoint corner = Corner(kCloseButton);
    const QColor normal = PixelAt(corner);
    Move(corner);
    EXPECT_TRUE(FadeTimer()->isActive());
    EXPECT_EQ(FadeTimer()->interval(), 20);
    EXPECT_EQ(PixelAt(corner), normal);  // shown by the fade only
    int previousRed = normal.red();
    int rises = 0;
    for (int step = 1; step <= 51; ++step) {
        Tick();
        const int red = PixelAt(corner).red();
        EXPECT_GE(red, previousRed) << step;
        rises += red > previousRed ? 1 : 0;
        previousRed = red;
    }
    EXPECT_GT(rises, 30);
    const QColor full = PixelAt(corner);
    EXPECT_EQ(full, QColor(224, 67, 67));
    Tick();
    Tick();
    EXPECT_FALSE(FadeTimer()->isActive());
    EXPECT_EQ(PixelAt(corner), full);

    Move({300, 12});
    EXPECT_EQ(PixelAt(corner), normal);
}

TEST_F(MainWindowTest, ClickSequence) {
    Start();
    auto* pages = window_->findChild<QStackedWidget*>("选择夹1");
    const QPoint close = Corner(kCloseButton);
    const QColor normal = PixelAt(close);

    // Pressed, moved off, released elsewhere: back to normal, nothing runs.
    Move(close);
    Press(close);
    EXPECT_EQ(PixelAt(close), QColor(176, 42, 42));
    Move({300, 300});
    Release({300, 300});
    EXPECT_EQ(window_->Frame().TitleButtonState(kCloseButton), ButtonState::kNormal);
    EXPECT_EQ(PixelAt(close), normal);
    EXPECT_EQ(endProgramCalls_, 0);

    // The maximise button gives feedback only.
    const QPoint maximise = Corner(kMaximiseButton);
    const QColor maximiseNormal = PixelAt(maximise);
    Press(maximise);
    EXPECT_NE(PixelAt(maximise), maximiseNormal);
    Release(maximise);
    EXPECT_EQ(window_->size(), QSize(744, 620));
    EXPECT_TRUE(window_->isVisible());

    // Page bar: the item's page, then back.
    Press(Middle(PageBarItemRect(4)));
    Release(Middle(PageBarItemRect(4)));
    EXPECT_EQ(pages->currentIndex(), 3);
    Press(Middle(PageBarItemRect(2)));
    Release(Middle(PageBarItemRect(2)));
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(window_->Frame().SelectedItem(), 2);

    Move(close);
    Press(close);
    Release(close);
    EXPECT_EQ(endProgramCalls_, 1);
}

TEST_F(MainWindowTest, DraggingAFreePartMovesTheWindow) {
    Start();
    window_->move(100, 80);
    QApplication::processEvents();
    const QPoint start = window_->mapToGlobal(QPoint(300, 12));
    Press({300, 12});
    SendGlobal(QEvent::MouseMove, start + QPoint(30, 20), Qt::NoButton);
    SendGlobal(QEvent::MouseMove, start + QPoint(50, 40), Qt::NoButton);
    SendGlobal(QEvent::MouseButtonRelease, start + QPoint(50, 40), Qt::LeftButton);
    EXPECT_EQ(window_->pos(), QPoint(150, 120));
    // After the drag the surface answers the mouse again.
    const QPoint item = Middle(PageBarItemRect(3));
    Move(item);
    EXPECT_EQ(window_->Frame().PageBarItemState(3), ItemState::kHover);
}

TEST_F(MainWindowTest, MoveButtonTogglesCornerAndMiddle) {
    Start();
    window_->move(100, 80);
    const Rect r = window_->Frame().TitleButtonRectOf(kMoveButton);
    const QPoint at = Middle(r);
    Press(at);
    Release(at);
    EXPECT_EQ(window_->pos(), QPoint(0, 0));
    Press(at);
    Release(at);
    const QSize screen = window_->screen()->geometry().size();
    EXPECT_EQ(window_->pos(), QPoint((screen.width() - 744) / 2, (screen.height() - 620) / 2));
}

TEST_F(MainWindowTest, PaletteOpensBelowItsButtonAndChangesTheLook) {
    Start();
    const QPoint paletteButton = Middle(window_->Frame().TitleButtonRectOf(kPaletteButton));
    Press(paletteButton);
    PaletteWindow* palette = window_->Palette();
    ASSERT_NE(palette, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(palette->pos(), window_->pos() + QPoint(744 - 223, 99));
    EXPECT_EQ(window_->Frame().PageBarItemState(2), ItemState::kHoverSuspended);
    auto pressOnPalette = [&](const Rect& r) {
        const QPoint at(r.x + r.width / 2, r.y + r.height / 2);
        test::SendMouse(*palette, QEvent::MouseButtonPress, at, Qt::LeftButton);
        QApplication::processEvents();
    };
    // Skin 1 fills the title area with its plain colour.
    pressOnPalette(ThumbnailRect(1));
    EXPECT_EQ(PixelAt({560, 10}), QColor(77, 166, 222));
    EXPECT_EQ(state_->settings.ReadSetting("pf", ""), "1");
    // Skin 9 writes its status text in black on the pink strip.
    pressOnPalette(ThumbnailRect(9));
    const QImage shot = window_->grab().toImage();
    int darkPixels = 0;
    for (int x = 6; x < 300; ++x) {
        for (int y = 600; y < 613; ++y) {
            darkPixels += qGray(shot.pixel(x, y)) < 60 ? 1 : 0;
        }
    }
    EXPECT_GT(darkPixels, 20);
    // A colour swatch: plain background, "lb" 1, "pf" kept.
    pressOnPalette(PaletteTabRect(1));
    pressOnPalette(SwatchRect(5));
    const app::Colour chosen = SwatchColour(5);
    EXPECT_EQ(PixelAt({560, 10}),
              QColor(app::RedOf(chosen), app::GreenOf(chosen), app::BlueOf(chosen)));
    EXPECT_EQ(state_->settings.ReadSetting("lb", ""), "1");
    EXPECT_EQ(state_->settings.ReadSetting("pf", ""), "9");

    // A press on the page area closes the palette and gives hover back.
    auto* container = window_->findChild<QStackedWidget*>("选择夹1");
    test::SendMouse(*container, QEvent::MouseButtonPress, {725, 3}, Qt::LeftButton);
    EXPECT_EQ(window_->Palette(), nullptr);
    EXPECT_EQ(window_->Frame().TitleButtonState(kPaletteButton), ButtonState::kNormal);
    EXPECT_EQ(window_->Frame().PageBarItemState(2), ItemState::kNormal);

    // "关" closes the window only: the button stays open until the next press on the frame.
    Press(paletteButton);
    ASSERT_NE(window_->Palette(), nullptr);
    window_->Palette()->findChild<QPushButton*>()->click();
    QApplication::processEvents();
    EXPECT_EQ(window_->Palette(), nullptr);
    EXPECT_EQ(window_->Frame().TitleButtonState(kPaletteButton), ButtonState::kPressed);
    Press({680, 60});
    EXPECT_EQ(window_->Frame().TitleButtonState(kPaletteButton), ButtonState::kNormal);
}

TEST_F(MainWindowTest, StatusLineCanBeAskedForFromAnotherThread) {
    Start();
    const QRect statusLine(6, 599, 727, 15);
    const QImage before = window_->grab(statusLine).toImage();
    std::thread worker([this] {
        state_->versionLine.SetCatalogueVersionText("9.9.9.9");
        state_->versionLine.BuildVersionLine();
        window_->PostStatusLine();
    });
    worker.join();
    QApplication::processEvents();
    EXPECT_NE(window_->grab(statusLine).toImage(), before);
}

}  // namespace
}  // namespace glyphwell::ui
