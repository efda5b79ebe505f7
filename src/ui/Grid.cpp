#include "ui/Grid.h"

#include "ui/FacePreview.h"

#include "fonts/FontconfigFontSystem.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>

#include <algorithm>
#include <chrono>
#include <string>
#include <unordered_map>

namespace glyphwell::ui {

// Adapts GridData to Qt's model/view. Fonts and decoded pictures are made on first use, so a
// long grid costs only what is on screen.
class GridModel : public QAbstractTableModel {
  public:
    GridModel(const GridData& data, const QWidget& view) : data_(data), view_(view) {
        // Installed fonts may change while the program runs.
        QObject::connect(qApp, &QGuiApplication::fontDatabaseChanged, this, [this] {
            families_.clear();
            ForgetFonts();
        });
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : rows_;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : data_.ColumnCount();
    }

    // Not editable and not checkable: only the program's click rules change cells.
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) {
            return Qt::NoItemFlags;
        }
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) {
            return {};
        }
        const int row = index.row();
        const int column = index.column();
        switch (data_.ColumnKind(column)) {
            case CellKind::kText:
                if (role == Qt::DisplayRole) {
                    return QString::fromStdString(data_.Text(row, column));
                }
                if (role == Qt::FontRole) {
                    return CellFont(row, column);
                }
                break;
            case CellKind::kCheckBox:
                if (role == Qt::CheckStateRole) {
                    return static_cast<int>(data_.Checked(row, column) ? Qt::Checked
                                                                       : Qt::Unchecked);
                }
                break;
            case CellKind::kPicture:
                if (role == Qt::DecorationRole) {
                    return CellPicture(row, column);
                }
                break;
        }
        return {};
    }

    // Follows the data's row count with proper insert and remove notices, so the view keeps
    // its scroll position and nothing is laid out again per row.
    void FollowRowCount() {
        const int rows = data_.RowCount();
        if (rows > rows_) {
            beginInsertRows({}, rows_, rows - 1);
            rows_ = rows;
            endInsertRows();
        } else if (rows < rows_) {
            beginRemoveRows({}, rows, rows_ - 1);
            rows_ = rows;
            endRemoveRows();
        }
        // Rows cut and grown again inside one batch come back empty without a cell notice.
        pictures_.clear();
        CellsChanged(0, 0, rows_ - 1, data_.ColumnCount() - 1);
    }

    void CellsChanged(int firstRow, int firstColumn, int lastRow, int lastColumn) {
        lastRow = std::min(lastRow, rows_ - 1);
        if (lastRow < firstRow || lastColumn < firstColumn) {
            return;
        }
        for (auto it = pictures_.begin(); it != pictures_.end();) {
            const int row = static_cast<int>(it.key() >> 32);
            const int column = static_cast<int>(it.key() & 0xFFFFFFFF);
            if (row >= firstRow && row <= lastRow && column >= firstColumn &&
                column <= lastColumn) {
                it = pictures_.erase(it);
            } else {
                ++it;
            }
        }
        emit dataChanged(index(firstRow, firstColumn), index(lastRow, lastColumn));
    }

    void ForgetFonts() {
        fonts_.clear();
        CellsChanged(0, 0, rows_ - 1, data_.ColumnCount() - 1);
    }

  private:
    static quint64 PictureKey(int row, int column) {
        return (static_cast<quint64>(row) << 32) | static_cast<quint32>(column);
    }

    QVariant CellFont(int row, int column) const {
        std::string face = data_.FaceName(row, column);
        const int height = data_.FontHeight(row, column);
        if (face.empty() && height <= 0) {
            return {};  // the view's own font
        }
        face += '\n';
        face += std::to_string(height);
        auto found = fonts_.find(face);
        if (found == fonts_.end()) {
            QFont font = FontForFace(QString::fromStdString(data_.FaceName(row, column)));
            if (height > 0) {
                font.setPixelSize(height);
            }
            found = fonts_.emplace(std::move(face), font).first;
        }
        return QVariant::fromValue(found->second);
    }

    // The normal font in `face`; a face that is not installed leaves the normal font.
    QFont FontForFace(const QString& face) const {
        QFont font = view_.font();
        if (face.isEmpty()) {
            return font;
        }
        if (const QString family = InstalledFamily(face); !family.isEmpty()) {
            font.setFamily(family);
            font.setStyleName({});
            return font;
        }
        // A display name can be a family followed by one of its styles ("DejaVu Sans Bold").
        for (qsizetype space = face.lastIndexOf(' '); space > 0;
             space = face.lastIndexOf(' ', space - 1)) {
            const QString family = InstalledFamily(face.left(space));
            if (family.isEmpty()) {
                continue;
            }
            const QString style = face.mid(space + 1);
            for (const QString& known : QFontDatabase::styles(family)) {
                if (known.compare(style, Qt::CaseInsensitive) == 0) {
                    font.setFamily(family);
                    font.setStyleName(known);
                    return font;
                }
            }
        }
        return font;
    }

    // The installed family's own spelling, or empty. The list is read once: asking the font
    // database per face would copy every family name each time.
    QString InstalledFamily(const QString& name) const {
        if (families_.isEmpty()) {
            for (const QString& family : QFontDatabase::families()) {
                families_.insert(family.toCaseFolded(), family);
            }
        }
        return families_.value(name.toCaseFolded());
    }

    QVariant CellPicture(int row, int column) const {
        const quint64 key = PictureKey(row, column);
        auto found = pictures_.constFind(key);
        if (found == pictures_.constEnd()) {
            const std::vector<unsigned char>& bytes = data_.Picture(row, column);
            QPixmap picture;
            if (!bytes.empty()) {
                picture = QPixmap::fromImage(QImage::fromData(
                    reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size())));
            }
            found = pictures_.insert(key, picture);
        }
        return found->isNull() ? QVariant() : QVariant::fromValue(*found);
    }

    const GridData& data_;
    const QWidget& view_;
    int rows_ = 0;
    mutable std::unordered_map<std::string, QFont> fonts_;  // by face and height
    mutable QHash<QString, QString> families_;              // case-folded name -> family
    mutable QHash<quint64, QPixmap> pictures_;              // null: nothing to draw
};

namespace {

// Check boxes centred in their cells, pictures at their natural size, no focus frame.
class GridDelegate : public QStyledItemDelegate {
  public:
    GridDelegate(const GridData& data, const Grid::FaceFileLookup& faceFile, QObject* parent)
        : QStyledItemDelegate(parent), data_(data), faceFile_(faceFile) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const CellKind kind = data_.ColumnKind(index.column());
        if (kind == CellKind::kText) {
            if (!PaintPreview(painter, option, index)) {
                QStyledItemDelegate::paint(painter, option, index);
            }
            return;
        }
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QWidget* widget = cell.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, widget);
        if (kind == CellKind::kCheckBox) {
            QStyleOptionViewItem check = cell;
            QRect box = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &cell, widget);
            box.moveCenter(cell.rect.center());
            check.rect = box;
            check.state &= ~QStyle::State_HasFocus;
            check.state |= cell.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
            painter->drawPixmap(box.topLeft(), CheckPicture(check, style, widget));
        } else {
            const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
            if (!picture.isNull()) {
                painter->save();
                painter->setClipRect(cell.rect);
                const int top = cell.rect.top() + (cell.rect.height() - picture.height()) / 2;
                painter->drawPixmap(cell.rect.left(), top, picture);
                painter->restore();
            }
        }
    }

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
    }

  private:
    // How a text cell's sample is rendered from a font file, when it can be.
    struct SampleSource {
        std::string file;
        int height = 0;
        FacePreviews::Overflow overflow = FacePreviews::Overflow::kCut;
    };

    // A cell in a face whose file is known shows a sample from that file; a cell in the grid's
    // own face, from that face's file, ended with "…" where it is too long, as the desktop's
    // drawing would end it.
    SampleSource SourceOf(const QModelIndex& index) const {
        if (!faceFile_) {
            return {};
        }
        const std::string face = data_.FaceName(index.row(), index.column());
        const int height = data_.FontHeight(index.row(), index.column());
        if (face.empty() && height <= 0) {
            return {previews_.FallbackFile(), ownPixelSize_, FacePreviews::Overflow::kEllipsis};
        }
        if (face.empty() || height <= 0) {
            return {};
        }
        return {faceFile_(face), height, FacePreviews::Overflow::kCut};
    }

    bool PaintPreview(QPainter* painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const {
        const SampleSource source = SourceOf(index);
        if (source.file.empty() || source.height <= 0) {
            return false;
        }
        // Not the usual option set-up: that would measure the cell's font, which is the
        // font matching this path exists to avoid.
        QStyleOptionViewItem cell = option;
        cell.index = index;
        cell.text = index.data(Qt::DisplayRole).toString();
        cell.state &= ~QStyle::State_HasFocus;
        const bool selected = cell.state.testFlag(QStyle::State_Selected);
        const QColor colour =
            cell.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        QImage sample;
        if (!cell.text.isEmpty()) {
            sample = previews_.Preview(source.file, cell.text, source.height, colour,
                                       cell.rect.width() - 2 * kMargin, source.overflow);
            if (sample.isNull()) {
                return false;
            }
        }
        const QWidget* widget = cell.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        cell.text.clear();
        cell.features &= ~QStyleOptionViewItem::HasDisplay;
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
        if (!sample.isNull()) {
            painter->save();
            painter->setClipRect(cell.rect);
            painter->drawImage(cell.rect.left() + kMargin,
                               cell.rect.top() + (cell.rect.height() - sample.height()) / 2,
                               sample);
            painter->restore();
        }
        return true;
    }

    // A check box drawn once per look and size: a long list shows hundreds of them.
    const QPixmap& CheckPicture(const QStyleOptionViewItem& check, QStyle* style,
                                const QWidget* widget) const {
        const QStyle::State looks = QStyle::State_On | QStyle::State_Off | QStyle::State_Selected |
                                    QStyle::State_Enabled | QStyle::State_Active |
                                    QStyle::State_MouseOver;
        const quint64 key = (static_cast<quint64>(check.state & looks) << 32) |
                            (static_cast<quint64>(check.rect.width()) << 16) |
                            static_cast<quint64>(check.rect.height());
        auto found = checks_.constFind(key);
        if (found == checks_.constEnd()) {
            const qreal ratio = widget ? widget->devicePixelRatioF() : 1.0;
            QPixmap picture(check.rect.size() * ratio);
            picture.setDevicePixelRatio(ratio);
            picture.fill(Qt::transparent);
            QPainter painter(&picture);
            QStyleOptionViewItem at = check;
            at.rect = QRect(QPoint(0, 0), check.rect.size());
            style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &at, &painter, widget);
            painter.end();
            found = checks_.insert(key, picture);
        }
        return *found;
    }

  public:
    std::size_t SamplesRendered() const { return previews_.RenderedCount(); }

    // The file of the grid's own face at `pixelSize`; characters other faces lack come from it.
    void SetOwnFace(const std::string& file, int pixelSize) {
        ownPixelSize_ = pixelSize;
        previews_.SetFallbackFile(file);
    }

    // Renders the sample of a cell not yet on screen, as a cell `width` wide.
    void Warm(const QModelIndex& index, int width) const {
        if (data_.ColumnKind(index.column()) != CellKind::kText) {
            return;
        }
        const SampleSource source = SourceOf(index);
        const QString text = index.data(Qt::DisplayRole).toString();
        if (!source.file.empty() && source.height > 0 && !text.isEmpty()) {
            previews_.Prepare(source.file, text, source.height, width - 2 * kMargin,
                              source.overflow);
        }
    }

  private:
    static constexpr int kMargin = 3;
    const GridData& data_;
    const Grid::FaceFileLookup& faceFile_;
    int ownPixelSize_ = 0;
    mutable FacePreviews previews_;
    mutable QHash<quint64, QPixmap> checks_;
};

}  // namespace

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
    static_cast<GridDelegate*>(delegate_)->SetOwnFace(
        faceFile_ ? fonts::FontFileOfFamily(QFontInfo(font()).family().toStdString())
                  : std::string(),
        font().pixelSize());
    viewport()->update();
}

std::size_t Grid::SamplesRendered() const {
    return static_cast<const GridDelegate*>(delegate_)->SamplesRendered();
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
    auto* delegate = static_cast<GridDelegate*>(delegate_);
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
