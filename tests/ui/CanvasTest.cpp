#include "ui/Canvas.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include <string>
#include <vector>

#include "ui/TestApplication.h"

namespace glyphwell::ui {
namespace {

constexpr app::Colour kWhite = 0xFFFFFF;
constexpr app::Colour kBlue = 0xFF0000;    // 0x00BBGGRR
constexpr app::Colour kRowPen = 0xFF8000;  // RGB(0, 128, 255)

QColor Rgb(app::Colour colour) {
    return QColor(app::RedOf(colour), app::GreenOf(colour), app::BlueOf(colour));
}

class CanvasTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { test::TestApplication(); }

    QColor At(const Canvas& canvas, int x, int y) const {
        return canvas.Surface().pixelColor(x, y);
    }
};

TEST_F(CanvasTest, GradientMeetsBothEndColoursExactly) {
    Canvas canvas("前台画板");
    canvas.resize(736, 301);
    canvas.Clear(kWhite);
    const app::Colour top = 0xFFF3D7;     // RGB(215, 243, 255)
    const app::Colour bottom = 0xFFF9EA;  // RGB(234, 249, 255)
    canvas.GradientFill(QRect(1, 51, 734, 49), top, bottom, Qt::Vertical);
    EXPECT_EQ(At(canvas, 1, 51), Rgb(top));
    EXPECT_EQ(At(canvas, 734, 51), Rgb(top));
    EXPECT_EQ(At(canvas, 1, 99), Rgb(bottom));
    EXPECT_EQ(At(canvas, 400, 99), Rgb(bottom));
    const QColor middle = At(canvas, 400, 75);
    EXPECT_GT(middle.red(), 215);
    EXPECT_LT(middle.red(), 234);
    // Nothing outside the rectangle.
    EXPECT_EQ(At(canvas, 0, 75), Rgb(kWhite));
    EXPECT_EQ(At(canvas, 735, 75), Rgb(kWhite));
    EXPECT_EQ(At(canvas, 400, 50), Rgb(kWhite));
    EXPECT_EQ(At(canvas, 400, 100), Rgb(kWhite));

    canvas.GradientFill(QRect(10, 200, 50, 3), 0x000000, 0x0000FF, Qt::Horizontal);
    EXPECT_EQ(At(canvas, 10, 201), QColor(0, 0, 0));
    EXPECT_EQ(At(canvas, 59, 201), QColor(255, 0, 0));
    EXPECT_EQ(At(canvas, 34, 200), At(canvas, 34, 202));  // one colour down a column
}

TEST_F(CanvasTest, RectangleOutlinesItsOwnBorderPixels) {
    Canvas canvas("后台画板");
    canvas.resize(744, 300);
    canvas.Clear(kBlue);
    // Row 2 of the list: a white row framed in the pen colour, sharing its top line with row 1.
    canvas.DrawRectangle(QRect(0, 50, 736, 51), kRowPen, kWhite);
    for (QPoint edge : {QPoint(0, 50), QPoint(735, 50), QPoint(0, 100), QPoint(735, 100),
                        QPoint(300, 50), QPoint(300, 100), QPoint(0, 75), QPoint(735, 75)}) {
        EXPECT_EQ(At(canvas, edge.x(), edge.y()), Rgb(kRowPen)) << edge.x() << "," << edge.y();
    }
    EXPECT_EQ(At(canvas, 1, 51), Rgb(kWhite));
    EXPECT_EQ(At(canvas, 734, 99), Rgb(kWhite));
    EXPECT_EQ(At(canvas, 736, 75), Rgb(kBlue));
    EXPECT_EQ(At(canvas, 300, 101), Rgb(kBlue));
    EXPECT_EQ(At(canvas, 300, 49), Rgb(kBlue));

    // Without a fill the inside stays as it was.
    canvas.DrawRectangle(QRect(10, 150, 20, 20), kRowPen);
    EXPECT_EQ(At(canvas, 10, 150), Rgb(kRowPen));
    EXPECT_EQ(At(canvas, 15, 160), Rgb(kBlue));
}

TEST_F(CanvasTest, TransparentColourLeavesTheBackgroundShowing) {
    // A white picture with a red middle, like a sample picture on white.
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 1; y <= 2; ++y) {
        for (int x = 1; x <= 2; ++x) {
            picture.setPixelColor(x, y, Qt::red);
        }
    }
    Canvas canvas("后台画板");
    canvas.resize(100, 100);
    canvas.Clear(kBlue);

    canvas.DrawPicture(picture, QPoint(10, 10), kWhite);
    EXPECT_EQ(At(canvas, 10, 10), Rgb(kBlue));
    EXPECT_EQ(At(canvas, 13, 13), Rgb(kBlue));
    EXPECT_EQ(At(canvas, 11, 11), QColor(Qt::red));
    EXPECT_EQ(At(canvas, 12, 12), QColor(Qt::red));

    canvas.DrawPicture(picture, QPoint(30, 10));
    EXPECT_EQ(At(canvas, 30, 10), QColor(Qt::white));
    EXPECT_EQ(At(canvas, 31, 11), QColor(Qt::red));
    EXPECT_EQ(At(canvas, 34, 10), Rgb(kBlue));  // natural size: 4 pixels wide

    // Stretched to twice its size: the red middle covers 22..25, white stays out.
    canvas.DrawPicture(picture, QRect(20, 40, 8, 8), kWhite);
    EXPECT_EQ(At(canvas, 21, 41), Rgb(kBlue));
    EXPECT_EQ(At(canvas, 22, 42), QColor(Qt::red));
    EXPECT_EQ(At(canvas, 25, 45), QColor(Qt::red));
    EXPECT_EQ(At(canvas, 26, 46), Rgb(kBlue));
    canvas.DrawPicture(picture, QRect(50, 40, 8, 8));
    EXPECT_EQ(At(canvas, 50, 40), QColor(Qt::white));
    EXPECT_EQ(At(canvas, 57, 47), QColor(Qt::white));
    EXPECT_EQ(At(canvas, 58, 48), Rgb(kBlue));

    // A null picture draws nothing.
    canvas.DrawPicture(QImage(), QPoint(0, 0), kWhite);
    EXPECT_EQ(At(canvas, 0, 0), Rgb(kBlue));
}

TEST_F(CanvasTest, HiddenBackCanvasCopiesToTheShownFront) {
    QWidget page;
    page.resize(744, 500);
    Canvas front("前台画板", &page);
    front.setGeometry(0, 158, 736, 301);
    Canvas back("后台画板", &page);
    back.resize(744, 300);
    back.hide();
    page.show();
    QApplication::processEvents();
    EXPECT_EQ(back.Surface().size(), QSize(744, 300));  // even though it never showed

    front.Clear(kBlue);
    back.Clear(kWhite);
    back.DrawRectangle(QRect(0, 0, 736, 51), kRowPen, kWhite);
    back.FillRectangle(QRect(740, 10, 4, 4), 0x0000FF);
    back.CopyTo(front, QPoint(0, 0), back.Surface().rect());
    for (QPoint p : {QPoint(0, 0), QPoint(735, 50), QPoint(300, 25), QPoint(300, 299)}) {
        EXPECT_EQ(At(front, p.x(), p.y()), At(back, p.x(), p.y())) << p.x() << "," << p.y();
    }
    EXPECT_EQ(At(front, 0, 0), Rgb(kRowPen));
    EXPECT_EQ(At(front, 300, 300), Rgb(kBlue));  // the back is one line shorter
    // The front shows what its surface holds.
    const QImage shown = front.grab().toImage();
    EXPECT_EQ(shown.pixelColor(0, 0), Rgb(kRowPen));
    EXPECT_EQ(shown.pixelColor(300, 300), Rgb(kBlue));

    // Part of a canvas to another place, clipped to the source.
    front.Clear(kBlue);
    back.FillRectangle(QRect(0, 0, 10, 10), 0x00FF00);
    back.CopyTo(front, QPoint(100, 200), QRect(-5, -5, 10, 10));
    EXPECT_EQ(At(front, 105, 205), QColor(0, 255, 0));
    EXPECT_EQ(At(front, 109, 209), QColor(0, 255, 0));
    EXPECT_EQ(At(front, 104, 204), Rgb(kBlue));
    EXPECT_EQ(At(front, 110, 210), Rgb(kBlue));

    // Growing keeps what was drawn; the new part is white.
    front.resize(800, 301);
    EXPECT_EQ(At(front, 0, 0), Rgb(kBlue));
    EXPECT_EQ(At(front, 105, 205), QColor(0, 255, 0));
    EXPECT_EQ(At(front, 790, 10), Rgb(kWhite));
}

TEST_F(CanvasTest, TextIsDrawnFromItsTopLeftOnATransparentBackground) {
    Canvas canvas("后台画板");
    canvas.resize(200, 60);
    canvas.Clear(kBlue);
    QFont font("DejaVu Sans");
    font.setPixelSize(16);
    canvas.DrawText(QPoint(20, 20), "Download 50%", font, 0x606060);
    int inked = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (At(canvas, x, y) != Rgb(kBlue)) {
                ++inked;
                EXPECT_GE(x, 20);
                EXPECT_GE(y, 20);
                EXPECT_LT(y, 20 + QFontMetrics(font).height());
            }
        }
    }
    EXPECT_GT(inked, 20);

    // Inside a rectangle the text is clipped to it.
    canvas.Clear(kBlue);
    canvas.DrawText(QRect(0, 0, 30, 40), "WWWWWWWW", font, 0x000000);
    for (int x = 30; x < 200; ++x) {
        for (int y = 0; y < 60; ++y) {
            ASSERT_EQ(At(canvas, x, y), Rgb(kBlue)) << x << "," << y;
        }
    }
}

TEST_F(CanvasTest, MouseEventsArriveInCanvasCoordinates) {
    Canvas canvas("前台画板");
    canvas.resize(736, 301);
    std::vector<std::string> seen;
    auto record = [&seen](const char* what) {
        return [&seen, what](QPoint at) {
            seen.push_back(std::string(what) + " " + std::to_string(at.x()) + "," +
                           std::to_string(at.y()));
        };
    };
    QObject::connect(&canvas, &Canvas::MouseMoved, record("move"));
    QObject::connect(&canvas, &Canvas::LeftPressed, record("press"));
    QObject::connect(&canvas, &Canvas::LeftReleased, record("release"));
    QObject::connect(&canvas, &Canvas::MouseLeft, [&seen] { seen.push_back("leave"); });

    auto send = [&canvas](QEvent::Type type, QPoint at, Qt::MouseButton button) {
        QMouseEvent event(
            type, QPointF(at), QPointF(canvas.mapToGlobal(at)), button,
            type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons(),
            Qt::NoModifier);
        QApplication::sendEvent(&canvas, &event);
    };
    send(QEvent::MouseMove, {700, 30}, Qt::NoButton);
    send(QEvent::MouseButtonPress, {600, 20}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {700, 30}, Qt::LeftButton);
    send(QEvent::MouseButtonPress, {5, 5}, Qt::RightButton);
    send(QEvent::MouseButtonRelease, {5, 5}, Qt::RightButton);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&canvas, &leave);
    EXPECT_EQ(seen,
              (std::vector<std::string>{"move 700,30", "press 600,20", "release 700,30", "leave"}));
}

}  // namespace
}  // namespace glyphwell::ui
