#include "ui/Grid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QFontInfo>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>

#include <memory>
#include <vector>

#include "ui/TestApplication.h"

namespace glyphwell::ui {
namespace {

std::vector<unsigned char> PngOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {bytes.begin(), bytes.end()};
}

class GridTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { test::TestApplication(); }

    void SetUp() override {
        // Laid out like the system font list: text, text, check box, twice.
        grid_ = std::make_unique<Grid>(6, "系统字体表格", nullptr);
        GridData& data = grid_->Data();
        const int widths[] = {213, 120, 17, 213, 120, 17};
        for (int column = 0; column < 6; ++column) {
            data.SetColumnWidth(column, widths[column]);
        }
        data.SetColumnKind(2, CellKind::kCheckBox);
        data.SetColumnKind(5, CellKind::kCheckBox);
        data.SetRowCount(10);
        grid_->resize(720, 300);
        grid_->show();
        QApplication::processEvents();
        QObject::connect(grid_.get(), &Grid::LeftReleased,
                         [this](QPoint at) { leftReleases_.push_back(at); });
        QObject::connect(grid_.get(), &Grid::RightReleased,
                         [this](QPoint at) { rightReleases_.push_back(at); });
    }

    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button) {
        test::SendMouse(*grid_->viewport(), type, at, button);
    }
    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseButtonPress, at, button);
        Send(QEvent::MouseButtonRelease, at, button);
    }
    void Key(int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(grid_.get(), &press);
    }
    QPoint InRow(int row, int x) const { return {x, row * grid_->RowHeight() + 5}; }
    QVariant Cell(int row, int column, int role) const {
        return grid_->model()->index(row, column).data(role);
    }

    std::unique_ptr<Grid> grid_;
    std::vector<QPoint> leftReleases_;
    std::vector<QPoint> rightReleases_;
};

TEST_F(GridTest, LeftPressMakesTheRowCurrentAndReleaseReportsGridCoordinates) {
    EXPECT_EQ(grid_->objectName(), "系统字体表格");
    EXPECT_EQ(grid_->RowHeight(), 24);
    EXPECT_EQ(grid_->Data().CurrentRow(), -1);
    // No frame and no headers: viewport coordinates are the grid's own.
    EXPECT_EQ(grid_->viewport()->geometry().topLeft(), QPoint(0, 0));

    Send(QEvent::MouseButtonPress, InRow(3, 340), Qt::LeftButton);
    EXPECT_EQ(grid_->Data().CurrentRow(), 3);
    EXPECT_TRUE(leftReleases_.empty());
    Send(QEvent::MouseButtonRelease, InRow(3, 340), Qt::LeftButton);
    ASSERT_EQ(leftReleases_.size(), 1u);
    EXPECT_EQ(leftReleases_[0], InRow(3, 340));
    EXPECT_TRUE(grid_->selectionModel()->isRowSelected(3, {}));

    // A right click reports itself and leaves the current row alone.
    Click(InRow(6, 700), Qt::RightButton);
    EXPECT_EQ(grid_->Data().CurrentRow(), 3);
    ASSERT_EQ(rightReleases_.size(), 1u);
    EXPECT_EQ(rightReleases_[0], InRow(6, 700));
    EXPECT_EQ(leftReleases_.size(), 1u);

    // A press below the last row keeps the current row; the release is still reported.
    Click(InRow(11, 20));
    EXPECT_EQ(grid_->Data().CurrentRow(), 3);
    EXPECT_EQ(leftReleases_.size(), 2u);

    // The second press of a double click moves the current row too.
    Send(QEvent::MouseButtonPress, InRow(5, 20), Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, InRow(5, 20), Qt::LeftButton);
    Send(QEvent::MouseButtonDblClick, InRow(8, 20), Qt::LeftButton);
    EXPECT_EQ(grid_->Data().CurrentRow(), 8);
}

TEST_F(GridTest, ClickAtActsLikeARealClick) {
    grid_->ClickAt(InRow(7, 334));
    EXPECT_EQ(grid_->Data().CurrentRow(), 7);
    ASSERT_EQ(leftReleases_.size(), 1u);
    EXPECT_EQ(leftReleases_[0], InRow(7, 334));
    EXPECT_TRUE(grid_->selectionModel()->isRowSelected(7, {}));

    // From inside a right-release handler, as a context menu does it.
    QObject::connect(grid_.get(), &Grid::RightReleased, [this](QPoint at) { grid_->ClickAt(at); });
    Click(InRow(2, 691), Qt::RightButton);
    EXPECT_EQ(grid_->Data().CurrentRow(), 2);
    ASSERT_EQ(leftReleases_.size(), 2u);
    EXPECT_EQ(leftReleases_[1], InRow(2, 691));
}

TEST_F(GridTest, ViewFollowsTheDataAndTheKeyboardMovesTheData) {
    GridData& data = grid_->Data();
    data.SetCurrentRow(4);
    EXPECT_EQ(grid_->currentIndex().row(), 4);
    EXPECT_TRUE(grid_->selectionModel()->isRowSelected(4, {}));

    Key(Qt::Key_Down);
    EXPECT_EQ(data.CurrentRow(), 5);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    EXPECT_EQ(data.CurrentRow(), 3);

    // Cutting the current row leaves no current row, in the data and in the view.
    data.SetRowCount(3);
    EXPECT_EQ(data.CurrentRow(), -1);
    EXPECT_FALSE(grid_->selectionModel()->hasSelection());
    EXPECT_EQ(grid_->model()->rowCount(), 3);

    data.SetCurrentRow(1);
    data.SetRowCount(5000);
    EXPECT_EQ(data.CurrentRow(), 1);
    EXPECT_EQ(grid_->currentIndex().row(), 1);
    EXPECT_EQ(grid_->model()->rowCount(), 5000);
    EXPECT_EQ(data.AppendRow(), 5000);
    EXPECT_EQ(grid_->model()->rowCount(), 5001);

    data.SetCurrentRow(-1);
    EXPECT_FALSE(grid_->selectionModel()->hasSelection());
}

TEST_F(GridTest, ColumnWidthsAndRowHeightFollowTheSettings) {
    GridData& data = grid_->Data();
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(grid_->columnWidth(column), data.ColumnWidth(column)) << column;
    }
    data.SetColumnWidth(0, 150);
    EXPECT_EQ(grid_->columnWidth(0), 150);
    EXPECT_EQ(grid_->columnViewportPosition(2), data.ColumnRight(1));
    // A click just right of column 1's edge lands in the check column.
    EXPECT_EQ(grid_->indexAt(InRow(0, data.ColumnRight(1) + 1)).column(), 2);
    EXPECT_EQ(grid_->indexAt(InRow(0, data.ColumnRight(1) - 1)).column(), 1);

    grid_->SetRowHeight(20);
    EXPECT_EQ(grid_->rowHeight(6), 20);
    grid_->ClickAt({10, 6 * 20 + 1});
    EXPECT_EQ(data.CurrentRow(), 6);
}

TEST_F(GridTest, TextCellsShowTheirFaceAtTheirHeight) {
    GridData& data = grid_->Data();
    data.SetText(0, 0, "DejaVu Sans");
    data.SetFaceName(0, 0, 0, 0, "DejaVu Sans");
    data.SetFontHeight(0, 0, 9, 0, 20);
    EXPECT_EQ(Cell(0, 0, Qt::DisplayRole).toString(), "DejaVu Sans");

    struct Case {
        const char* face;
        int height;
        const char* family;  // nullptr: the grid's own family
        const char* style;
    } cases[] = {
        {"DejaVu Sans", 20, "DejaVu Sans", ""},
        {"dejavu sans", 25, "DejaVu Sans", ""},  // the installed spelling
        {"DejaVu Sans Bold", 25, "DejaVu Sans", "Bold"},
        {"DejaVu Sans Bold Oblique", 20, "DejaVu Sans", "Bold Oblique"},
        {"No Such Face At All", 25, nullptr, ""},
        {"", 20, nullptr, ""},
    };
    for (const Case& c : cases) {
        data.SetFaceName(1, 3, 1, 3, c.face);
        data.SetFontHeight(1, 3, 1, 3, c.height);
        const QVariant value = Cell(1, 3, Qt::FontRole);
        ASSERT_TRUE(value.canConvert<QFont>()) << c.face;
        const QFont font = value.value<QFont>();
        EXPECT_EQ(font.family(), c.family ? QString(c.family) : grid_->font().family()) << c.face;
        EXPECT_EQ(font.styleName(), c.style) << c.face;
        EXPECT_EQ(font.pixelSize(), c.height) << c.face;
    }

    // Height 0 keeps the grid's size; a cell with neither uses the grid's font as it is.
    data.SetFontHeight(1, 3, 1, 3, 0);
    data.SetFaceName(1, 3, 1, 3, "DejaVu Sans");
    EXPECT_EQ(Cell(1, 3, Qt::FontRole).value<QFont>().pointSizeF(), grid_->font().pointSizeF());
    EXPECT_FALSE(Cell(2, 3, Qt::FontRole).isValid());
    // The grid's own font holds Chinese names, so such cells never search the installed fonts
    // for a fallback.
    EXPECT_TRUE(test::IsMingFace(QFontInfo(grid_->font()).family()))
        << QFontInfo(grid_->font()).family().toStdString();

    // A changed face replaces the cached one.
    data.SetFaceName(0, 0, 0, 0, "DejaVu Serif");
    EXPECT_EQ(Cell(0, 0, Qt::FontRole).value<QFont>().family(), "DejaVu Serif");
    EXPECT_EQ(Cell(0, 0, Qt::FontRole).value<QFont>().pixelSize(), 20);
}

TEST_F(GridTest, CheckCellsChangeOnlyThroughTheData) {
    GridData& data = grid_->Data();
    const QModelIndex check = grid_->model()->index(3, 2);
    EXPECT_FALSE(grid_->model()->flags(check).testFlag(Qt::ItemIsUserCheckable));
    EXPECT_FALSE(grid_->model()->flags(check).testFlag(Qt::ItemIsEditable));
    EXPECT_EQ(check.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_FALSE(grid_->model()->setData(check, Qt::Checked, Qt::CheckStateRole));

    // Clicks right on the box and the space bar leave it as it is.
    const QPoint box = grid_->visualRect(check).center();
    Click(box);
    Send(QEvent::MouseButtonDblClick, box, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, box, Qt::LeftButton);
    Key(Qt::Key_Space);
    EXPECT_FALSE(data.Checked(3, 2));
    EXPECT_EQ(check.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);

    data.SetChecked(3, 2, true);
    EXPECT_EQ(check.data(Qt::CheckStateRole).toInt(), Qt::Checked);
    // Text columns carry no check state, and check columns show no text.
    data.SetChecked(3, 1, true);
    data.SetText(3, 2, "hidden");
    EXPECT_FALSE(Cell(3, 1, Qt::CheckStateRole).isValid());
    EXPECT_FALSE(Cell(3, 2, Qt::DisplayRole).isValid());
}

TEST_F(GridTest, PictureCellsShowTheirPictureAtNaturalSize) {
    GridData& data = grid_->Data();
    data.SetColumnKind(1, CellKind::kPicture);
    QImage red(10, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    data.SetPicture(0, 1, PngOf(red));
    EXPECT_EQ(Cell(0, 1, Qt::DecorationRole).value<QPixmap>().size(), QSize(10, 10));
    EXPECT_FALSE(Cell(1, 1, Qt::DecorationRole).isValid());

    // Drawn at the cell's left edge, centred in the 24-pixel row.
    const QImage shown = grid_->grab().toImage();
    const int left = data.ColumnRight(0);
    EXPECT_EQ(shown.pixelColor(left + 2, 12), QColor(Qt::red));
    EXPECT_NE(shown.pixelColor(left + 2, 3), QColor(Qt::red));
    EXPECT_NE(shown.pixelColor(left + 12, 12), QColor(Qt::red));

    // A new picture replaces the decoded one; bytes that are no picture show nothing.
    data.SetPicture(0, 1, PngOf(red.scaled(4, 6)));
    EXPECT_EQ(Cell(0, 1, Qt::DecorationRole).value<QPixmap>().size(), QSize(4, 6));
    data.SetPicture(0, 1, {1, 2, 3});
    EXPECT_FALSE(Cell(0, 1, Qt::DecorationRole).isValid());
}

TEST_F(GridTest, LongGridWithAFacePerCellPaints) {
    GridData& data = grid_->Data();
    data.BeginBatch();
    data.SetRowCount(5000);
    const char* faces[] = {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono", "No Such Face"};
    for (int row = 0; row < 5000; ++row) {
        const char* face = faces[row % 4];
        data.SetText(row, 0, face);
        data.SetText(row, 3, face);
        data.SetFaceName(row, 0, row, 0, face);
        data.SetFaceName(row, 3, row, 3, face);
        data.SetChecked(row, 5, row % 2 == 0);
    }
    data.SetFontHeight(0, 0, 4999, 0, 20);
    data.SetFontHeight(0, 3, 4999, 3, 20);
    data.EndBatch();
    EXPECT_EQ(grid_->model()->rowCount(), 5000);
    EXPECT_EQ(Cell(4998, 3, Qt::DisplayRole).toString(), "DejaVu Sans Mono");

    grid_->scrollToBottom();
    const QImage bottom = grid_->grab().toImage();
    grid_->scrollToTop();
    const QImage top = grid_->grab().toImage();
    EXPECT_FALSE(bottom.isNull());
    EXPECT_NE(bottom, top);
    EXPECT_EQ(grid_->indexAt({5, 5}).row(), 0);
}

}  // namespace
}  // namespace glyphwell::ui
