#include "ui/PaletteWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>

#include <memory>
#include <set>
#include <utility>

#include "app/Settings.h"
#include "support/TempDir.h"
#include "ui/TestApplication.h"

namespace glyphwell::ui {
namespace {

QColor ToQColor(app::Colour colour) {
    return QColor(app::RedOf(colour), app::GreenOf(colour), app::BlueOf(colour));
}

QPoint Centre(const Rect& r) {
    return {r.x + r.width / 2, r.y + r.height / 2};
}

class PaletteWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        test::TestApplication();
        artwork_ = new PaletteArtwork(DrawPaletteArtwork());
    }
    static void TearDownTestSuite() {
        delete artwork_;
        artwork_ = nullptr;
    }

    PaletteWindowTest() : settings_(runDir_.Path()), chooser_(skin_) {
        owner_.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        owner_.setFixedSize(744, 620);
        owner_.move(100, 80);
        owner_.show();
    }

    // Start-up with "pf" = `pf`, as the main window does before anyone opens the palette.
    void StartUp(int pf) { app::ApplySkin(skin_, settings_, pf, true, 0, false); }

    void Open() {
        window_ = std::make_unique<PaletteWindow>(
            chooser_, *artwork_,
            [this](int skinNumber, bool applySkin, app::Colour colour, bool applyColour) {
                app::ApplySkin(skin_, settings_, skinNumber, applySkin, colour, applyColour,
                               [this] { ++ownerRepaints_; });
            },
            [this] {
                ++closeRequests_;
                window_.reset();  // the owner destroys the window on a close request
            },
            &owner_);
        window_->show();
        QApplication::processEvents();
    }

    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton) {
        test::SendMouse(*window_, type, at, button);
    }
    void Move(QPoint at) { Send(QEvent::MouseMove, at); }
    void Click(QPoint at) {
        Send(QEvent::MouseMove, at);
        Send(QEvent::MouseButtonPress, at, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, at, Qt::LeftButton);
    }
    void ShowColours() { Click(Centre(PaletteTabRect(kColoursTab))); }

    QImage Shot() const { return window_->grab().toImage(); }
    // Which pixels of a swatch are white (none of the colours is), relative to its corner.
    static std::set<std::pair<int, int>> WhitePixelsOf(const QImage& shot, int swatch) {
        const Rect r = SwatchRect(swatch);
        std::set<std::pair<int, int>> white;
        for (int dy = 0; dy < r.height; ++dy) {
            for (int dx = 0; dx < r.width; ++dx) {
                if (shot.pixelColor(r.x + dx, r.y + dy) == QColor(Qt::white)) {
                    white.insert({dx, dy});
                }
            }
        }
        return white;
    }
    // Whether the chosen-skin outline is on thumbnail `i`: its top-left corner takes the
    // outline's colour.
    static QColor ThumbnailCorner(const QImage& shot, int i) {
        const Rect r = ThumbnailRect(i);
        return shot.pixelColor(r.x + 1, r.y + 1);
    }
    std::string Setting(const char* key) const { return settings_.ReadSetting(key, "?"); }

    static PaletteArtwork* artwork_;
    test::TempDir runDir_;
    app::Settings settings_;
    app::SkinState skin_;
    PaletteChooser chooser_;
    QWidget owner_;
    std::unique_ptr<PaletteWindow> window_;
    int ownerRepaints_ = 0;
    int closeRequests_ = 0;
};

PaletteArtwork* PaletteWindowTest::artwork_ = nullptr;

const QColor kOutline(255, 150, 0);

TEST_F(PaletteWindowTest, ShapeButtonAndPlaceBelowThePaletteButton) {
    StartUp(8);
    Open();
    EXPECT_EQ(window_->size(), QSize(218, 173));
    EXPECT_EQ(window_->objectName(), "调色板窗口");
    EXPECT_TRUE(window_->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window_->isWindow());
    EXPECT_EQ(window_->parentWidget(), &owner_);
    // The rounded region: corner pixels out, right column and the two bottom rows cut away.
    const QRegion mask = window_->mask();
    for (QPoint out : {QPoint(0, 0), QPoint(216, 0), QPoint(0, 170), QPoint(216, 170),
                       QPoint(217, 50), QPoint(50, 171), QPoint(50, 172)}) {
        EXPECT_FALSE(mask.contains(out)) << out.x() << "," << out.y();
    }
    for (QPoint in : {QPoint(1, 0), QPoint(0, 1), QPoint(215, 0), QPoint(216, 1), QPoint(1, 170),
                      QPoint(216, 169), QPoint(100, 100)}) {
        EXPECT_TRUE(mask.contains(in)) << in.x() << "," << in.y();
    }
    auto* close = window_->findChild<QPushButton*>();
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), "关");
    EXPECT_EQ(close->geometry(), QRect(184, 0, 32, 24));

    EXPECT_EQ(window_->pos(), QPoint(100 + 744 - 223, 80 + 99));
    // Moving the main window leaves the palette where it is.
    owner_.move(300, 200);
    QApplication::processEvents();
    EXPECT_EQ(window_->pos(), QPoint(621, 179));
    window_->PlaceBelowPaletteButton(owner_);
    EXPECT_EQ(window_->pos(), QPoint(300 + 744 - 223, 200 + 99));
}

TEST_F(PaletteWindowTest, CloseButtonAsksTheOwnerToClose) {
    StartUp(8);
    Open();
    window_->findChild<QPushButton*>()->click();
    QApplication::processEvents();
    EXPECT_EQ(closeRequests_, 1);
    EXPECT_EQ(window_, nullptr);
    EXPECT_FALSE(chooser_.IsOpen());
}

TEST_F(PaletteWindowTest, FirstOpeningOutlinesSkinPfAndAThumbnailAppliesItsSkin) {
    ASSERT_TRUE(settings_.WriteSetting("pf", "8"));
    StartUp(8);
    Open();
    QImage shot = Shot();
    EXPECT_EQ(chooser_.ActiveTab(), kSkinsTab);
    EXPECT_EQ(chooser_.ThumbnailState(8), kThumbnailChosen);
    EXPECT_EQ(ThumbnailCorner(shot, 8), kOutline);
    EXPECT_NE(ThumbnailCorner(shot, 7), kOutline);
    const QColor plainCentre = shot.pixelColor(Centre(ThumbnailRect(1)));
    EXPECT_EQ(plainCentre, ToQColor(0xDEA64D));  // skin 1 is the plain colour

    Click(Centre(ThumbnailRect(1)));
    shot = Shot();
    EXPECT_EQ(Setting("pf"), "1");
    EXPECT_EQ(Setting("lb"), "2");
    EXPECT_EQ(skin_.skin.BackgroundColour, 0xDEA64Du);
    EXPECT_EQ(skin_.PaletteSkinNumber, 1);
    EXPECT_EQ(ownerRepaints_, 1);
    EXPECT_EQ(ThumbnailCorner(shot, 1), kOutline);
    EXPECT_NE(ThumbnailCorner(shot, 8), kOutline);
    // Under the pointer the hover frame lies over the outline.
    EXPECT_NE(shot.pixelColor(ThumbnailRect(1).x, ThumbnailRect(1).y), kOutline);

    // The chosen thumbnail again: nothing applied.
    Click(Centre(ThumbnailRect(1)));
    EXPECT_EQ(ownerRepaints_, 1);

    Click(Centre(ThumbnailRect(9)));
    EXPECT_EQ(Setting("pf"), "9");
    EXPECT_EQ(skin_.skin.TextColour, 0x000000u);
    EXPECT_EQ(ownerRepaints_, 2);
}

TEST_F(PaletteWindowTest, PalettePictureShowsEveryColourInItsSwatch) {
    StartUp(8);
    Open();
    ShowColours();
    const QImage shot = Shot();
    EXPECT_EQ(chooser_.ActiveTab(), kColoursTab);
    for (int j = 1; j <= kSwatchCount; ++j) {
        const Rect r = SwatchRect(j);
        const QColor colour = ToQColor(SwatchColour(j));
        EXPECT_EQ(shot.pixelColor(Centre(r)), colour) << j;
        // The whole cell, corner to corner.
        EXPECT_EQ(shot.pixelColor(r.x, r.y), colour) << j;
        EXPECT_EQ(shot.pixelColor(r.x + r.width - 1, r.y + r.height - 1), colour) << j;
    }
}

TEST_F(PaletteWindowTest, ASwatchAppliesItsColourAndTheNextOpeningFramesIt) {
    ASSERT_TRUE(settings_.WriteSetting("pf", "8"));
    StartUp(8);
    Open();
    ShowColours();
    const int j = 30;
    Click(Centre(SwatchRect(j)));
    EXPECT_EQ(Setting("pf"), "8");
    EXPECT_EQ(Setting("lb"), "1");
    EXPECT_EQ(skin_.BackgroundKind, 1);
    EXPECT_EQ(skin_.skin.BackgroundColour, SwatchColour(j));
    EXPECT_EQ(skin_.skin.AccentColour, SwatchColour(j));
    EXPECT_EQ(skin_.PaletteSkinNumber, 0);
    EXPECT_EQ(chooser_.SelectedColourIndex(), j);

    window_.reset();
    Open();
    EXPECT_EQ(chooser_.ActiveTab(), kColoursTab);
    const QImage shot = Shot();
    EXPECT_EQ(chooser_.SwatchState(j), kSwatchChosen);
    EXPECT_FALSE(WhitePixelsOf(shot, j).empty());
    EXPECT_TRUE(WhitePixelsOf(shot, j + 1).empty());
    EXPECT_EQ(shot.pixelColor(Centre(SwatchRect(j))), ToQColor(SwatchColour(j)));
}

TEST_F(PaletteWindowTest, HoverAndChosenSwatchShowTheSameFrame) {
    StartUp(8);
    Open();
    ShowColours();
    Click(Centre(SwatchRect(50)));
    Move(Centre(SwatchRect(17)));
    const QImage shot = Shot();
    const auto chosen = WhitePixelsOf(shot, 50);
    const auto hovered = WhitePixelsOf(shot, 17);
    EXPECT_FALSE(chosen.empty());
    EXPECT_EQ(chosen, hovered);
    // The frame goes round the swatch's edge.
    const Rect r = SwatchRect(17);
    EXPECT_EQ(shot.pixelColor(r.x, r.y + 8), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(r.x + 8, r.y), QColor(Qt::white));

    // Off it: the plain colour again, the chosen one keeps its frame.
    Move({3, 100});
    const QImage after = Shot();
    EXPECT_TRUE(WhitePixelsOf(after, 17).empty());
    EXPECT_EQ(WhitePixelsOf(after, 50), chosen);
}

TEST_F(PaletteWindowTest, TabsShowHoverAndSwitchContent) {
    StartUp(8);
    Open();
    const QRect colours(40, 0, 40, 30);
    const QImage before = Shot().copy(colours);
    Move(Centre(PaletteTabRect(kColoursTab)));
    EXPECT_NE(Shot().copy(colours), before);
    Move({100, 100});
    EXPECT_EQ(Shot().copy(colours), before);
    // The thumbnails go and the palette shows, and back again.
    const QImage skinsTab = Shot().copy(0, 0, 40, 30);
    ShowColours();
    QImage shot = Shot();
    EXPECT_NE(shot.copy(0, 0, 40, 30), skinsTab);
    EXPECT_EQ(shot.pixelColor(Centre(SwatchRect(1))), ToQColor(SwatchColour(1)));
    Click(Centre(PaletteTabRect(kSkinsTab)));
    shot = Shot();
    EXPECT_EQ(shot.copy(0, 0, 40, 30), skinsTab);
    EXPECT_EQ(shot.pixelColor(Centre(ThumbnailRect(1))), ToQColor(0xDEA64D));
    EXPECT_EQ(ThumbnailCorner(shot, 8), kOutline);
}

}  // namespace
}  // namespace glyphwell::ui
