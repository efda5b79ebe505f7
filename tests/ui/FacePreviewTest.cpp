#include "ui/FacePreview.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "fonts/FontFixtures.h"
#include "ui/Grid.h"
#include "ui/TestApplication.h"

namespace glyphwell::ui {
namespace {

// The pixels of `image` in `area` (all of it when left out) for which `counts` holds.
template <typename Counts>
int CountPixels(const QImage& image, Counts counts, QRect area = {}) {
    area = area.isNull() ? image.rect() : area;
    int counted = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            counted += counts(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return counted;
}

int InkedPixels(const QImage& image) {
    return CountPixels(image, [](QRgb pixel) { return qAlpha(pixel) > 128; });
}

TEST(FacePreviews, RendersFromTheFileOrDeclines) {
    test::TestApplication();
    FacePreviews previews(2);
    const std::string dejaVu = test::kDejaVuSans.string();
    const QImage sample = previews.Preview(dejaVu, "Glyph", 20, Qt::black, 200);
    ASSERT_FALSE(sample.isNull());
    // As wide as its ink, not the room given.
    EXPECT_GT(sample.width(), 40);
    EXPECT_LT(sample.width(), 100);
    EXPECT_GE(sample.height(), 20);
    EXPECT_GT(InkedPixels(sample), 40);
    // Wider text is cut at the given width, not drawn past it, or ended with an ellipsis;
    // text that fits looks the same either way.
    const QImage cut = previews.Preview(dejaVu, QString(80, 'W'), 20, Qt::black, 50);
    const QImage elided = previews.Preview(dejaVu, QString(80, 'W'), 20, Qt::black, 50,
                                           FacePreviews::Overflow::kEllipsis);
    EXPECT_LE(cut.width(), 50);
    EXPECT_GT(cut.width(), 40);
    EXPECT_LE(elided.width(), 50);
    EXPECT_LT(InkedPixels(elided), InkedPixels(cut));
    EXPECT_EQ(
        previews.Preview(dejaVu, "Glyph", 20, Qt::black, 200, FacePreviews::Overflow::kEllipsis),
        sample);
    // A character the face lacks, a missing file: the caller draws it its own way.
    EXPECT_TRUE(previews.Preview(dejaVu, "宋体", 20, Qt::black, 200).isNull());
    EXPECT_TRUE(previews.Preview("/no/such/font.ttf", "Glyph", 20, Qt::black, 200).isNull());
    EXPECT_FALSE(previews.Preview(test::kUMing.string(), "宋体", 20, Qt::black, 200).isNull());

    // With a fallback the face's own characters stay its own and the others come from there;
    // a character in neither still declines.
    previews.SetFallbackFile(test::kUMing.string());
    const QImage latinOnly = previews.Preview(dejaVu, "Glyph", 20, Qt::black, 200);
    const QImage mixed = previews.Preview(dejaVu, "Glyph宋体", 20, Qt::black, 200);
    ASSERT_FALSE(mixed.isNull());
    EXPECT_GT(InkedPixels(mixed), InkedPixels(latinOnly) + 40);
    EXPECT_EQ(latinOnly, sample);
    EXPECT_TRUE(previews.Preview(dejaVu, QString::fromUcs4(U"Glyph\U000F0000"), 20, Qt::black, 200)
                    .isNull());
}

TEST(FacePreviews, SmallCjkSizesDrawTheFontsOwnBitmaps) {
    test::TestApplication();
    FacePreviews previews;
    // At 12 pixels the interface font has one-bit bitmaps; read as grey levels they smear.
    const QImage sample =
        previews.Preview(test::kUMing.string(), "Nimbus Roman", 12, Qt::black, 120);
    ASSERT_FALSE(sample.isNull());
    const int partial =
        CountPixels(sample, [](QRgb pixel) { return qAlpha(pixel) != 0 && qAlpha(pixel) != 255; });
    EXPECT_EQ(partial, 0);  // each bitmap pixel is set or not
    EXPECT_GT(InkedPixels(sample), 100);
}

TEST(FacePreviews, GridCellsShowSamplesFromTheirFiles) {
    test::TestApplication();
    Grid grid(2, "预览表格");
    grid.resize(400, 120);
    grid.Data().SetColumnWidth(0, 300);
    grid.Data().SetRowCount(2);
    for (int row = 0; row < 2; ++row) {
        grid.Data().SetText(row, 0, "Glyph Glyph");
        grid.Data().SetFaceName(row, 0, row, 0, row == 0 ? "Known Face" : "Unknown Face");
        grid.Data().SetFontHeight(row, 0, row, 0, 20);
    }
    int asked = 0;
    grid.SetFaceFiles([&](const std::string& face) {
        ++asked;
        return face == "Known Face" ? test::kDejaVuSans.string() : std::string();
    });
    grid.show();
    const QImage shot = grid.grab().toImage();
    EXPECT_GT(asked, 0);
    auto inkIn = [&](int row) {
        const QRect cell(0, grid.rowViewportPosition(row), 300, grid.rowHeight(row));
        return CountPixels(
            shot, [](QRgb pixel) { return qGray(pixel) < 100; }, cell);
    };
    EXPECT_GT(inkIn(0), 40);  // the sample from the file
    EXPECT_GT(inkIn(1), 40);  // the desktop's own drawing
}

TEST(FacePreviews, RowsBelowTheVisibleOnesAreRenderedWhileIdle) {
    test::TestApplication();
    Grid grid(1, "预热表格");
    grid.resize(300, 100);
    grid.Data().SetColumnWidth(0, 280);
    grid.Data().SetRowCount(100);
    for (int row = 0; row < 100; ++row) {
        grid.Data().SetText(row, 0, "Glyph " + std::to_string(row));
        grid.Data().SetFaceName(row, 0, row, 0, "Face " + std::to_string(row));
        grid.Data().SetFontHeight(row, 0, row, 0, 20);
    }
    std::set<std::string> asked;
    grid.SetFaceFiles([&](const std::string& face) {
        asked.insert(face);
        return test::kDejaVuSans.string();
    });
    grid.show();
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
    }
    EXPECT_TRUE(asked.count("Face 20"));   // below the four visible rows
    EXPECT_FALSE(asked.count("Face 90"));  // far away: left for later
    // The next rows then paint from what was rendered while idle.
    const std::size_t rendered = grid.SamplesRendered();
    grid.scrollTo(grid.model()->index(8, 0), QAbstractItemView::PositionAtTop);
    grid.viewport()->repaint();
    EXPECT_EQ(grid.SamplesRendered(), rendered);
}

}  // namespace
}  // namespace glyphwell::ui
