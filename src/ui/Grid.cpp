#include "ui/Grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include <algorithm>
#include <chrono>
#include <string>

#include "ui/GridDelegate.h"
#include "ui/GridModel.h"
#include "ui/UiFonts.h"

namespace glyphwell::ui {

Grid::Grid(int columnCount, const QString& objectName, QWidget* parent)
    : QTableView(parent), data_(columnCount), model_(std::make_unique<GridModel>(data_, *this)) {
    setObjectName(objectName);
    setModel(model_.get());
    delegate_ = new GridDelegate(data_, faceFile_, this);
    setItemDelegate(delegate_);
    // Samples of the rows around the visible ones are rendered while the program is idle,
    // so the next scroll finds them ready.
    warmTimer_.setSingleShot(true);
    warmTimer_.setInterval(0);
    connect(&warmTimer_, &QTimer::timeout, this, &Grid::WarmNearbySamples);
    // x of a click counts from the grid's own left edge.
    setFrameShape(QFrame::NoFrame);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    // Right presses reach mouseReleaseEvent and pick nothing: the pages decide what they do.
    setContextMenuPolicy(Qt::PreventContextMenu);

    // Fixed sizes: no row or column is measured, however many there are.
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(false);
    SetRowHeight(kDefaultRowHeight);
    ApplyColumnWidths();

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!showingData_) {
                    data_.SetCurrentRow(current.isValid() ? current.row() : -1);
                }
            });
    data_.SetObserver(this);
}

Grid::~Grid() {
    data_.SetObserver(nullptr);
}

void Grid::SetFaceFiles(FaceFileLookup lookup) {
    faceFile_ = std::move(lookup);
    // A character a face lacks comes from the grid's own face.
    delegate_->SetOwnFace(faceFile_ ? FaceFileOf(font()) : std::string(), font().pixelSize());
    viewport()->update();
}

std::size_t Grid::SamplesRendered() const {
    return delegate_->SamplesRendered();
}

void Grid::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    warmedFrom_ = -1;
    if (faceFile_) {
        warmTimer_.start();
    }
}

void Grid::WarmNearbySamples() {
    constexpr int kRowsAhead = 36;
    constexpr int kRowsBehind = 12;
    constexpr auto kBudget = std::chrono::milliseconds(4);
    const int first = std::max(0, rowAt(0));
    const int visible = std::max(1, viewport()->height() / std::max(1, RowHeight()));
    const int from = std::max(0, first - kRowsBehind);
    const int to = std::min(data_.RowCount(), first + visible + kRowsAhead);
    GridDelegate* delegate = delegate_;
    const int gridLine = showGrid() ? 1 : 0;
    const auto start = std::chrono::steady_clock::now();
    for (int row = warmedFrom_ < 0 ? from : warmedFrom_; row < to; ++row) {
        for (int column = 0; column < data_.ColumnCount(); ++column) {
            // A cell is painted one pixel narrower than its column when grid lines show.
            delegate->Warm(model_->index(row, column), data_.ColumnWidth(column) - gridLine);
        }
        if (std::chrono::steady_clock::now() - start > kBudget) {
            warmedFrom_ = row + 1;
            warmTimer_.start();
            return;
        }
    }
}

void Grid::SetRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(std::max(height, 1));
}

int Grid::RowHeight() const {
    return verticalHeader()->defaultSectionSize();
}

void Grid::ClickAt(QPoint at) {
    const QPointF local(at);
    const QPointF global(viewport()->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(viewport(), &release);
}

void Grid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();  // only a left press moves the current row
        return;
    }
    QTableView::mousePressEvent(event);
    PressRowAt(event->position().toPoint());
}

void Grid::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        QTableView::mouseReleaseEvent(event);
        emit LeftReleased(at);
    } else if (event->button() == Qt::RightButton) {
        event->accept();
        emit RightReleased(at);
    }
}

void Grid::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is a press like any other.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
    PressRowAt(event->position().toPoint());
}

void Grid::focusInEvent(QFocusEvent* event) {
    // Taking the focus would make the first row current; only the data or a click does that.
    {
        const QScopedValueRollback guard(showingData_, true);
        QTableView::focusInEvent(event);
    }
    ShowCurrentRow();
}

void Grid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange && model_) {
        model_->ForgetFonts();  // cells without a height of their own follow the new font
    }
    QTableView::changeEvent(event);
}

void Grid::PressRowAt(QPoint at) {
    const QModelIndex index = indexAt(at);
    if (index.isValid()) {
        data_.SetCurrentRow(index.row());
    }
}

void Grid::GridRowsChanged() {
    {
        const QScopedValueRollback guard(showingData_, true);
        model_->FollowRowCount();
    }
    ShowCurrentRow();
}

void Grid::GridCellsChanged(int firstRow, int firstColumn, int lastRow, int lastColumn) {
    model_->CellsChanged(firstRow, firstColumn, lastRow, lastColumn);
}

void Grid::GridColumnsChanged() {
    ApplyColumnWidths();
    model_->CellsChanged(0, 0, data_.RowCount() - 1, data_.ColumnCount() - 1);
}

void Grid::GridCurrentRowChanged() {
    ShowCurrentRow();
}

void Grid::ApplyColumnWidths() {
    for (int column = 0; column < data_.ColumnCount(); ++column) {
        if (horizontalHeader()->sectionSize(column) != data_.ColumnWidth(column)) {
            horizontalHeader()->resizeSection(column, data_.ColumnWidth(column));
        }
    }
}

void Grid::ShowCurrentRow() {
    const QScopedValueRollback guard(showingData_, true);
    const int row = data_.CurrentRow();
    if (row < 0) {
        selectionModel()->clear();
        return;
    }
    if (currentIndex().row() == row && selectionModel()->isRowSelected(row, {})) {
        return;
    }
    const int column = std::max(currentIndex().column(), 0);
    selectionModel()->setCurrentIndex(
        model_->index(row, column),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

}  // namespace glyphwell::ui
