#include "ui/GridDelegate.h"

#include <QApplication>
#include <QPainter>

#include "ui/UiFonts.h"

namespace glyphwell::ui {

GridDelegate::GridDelegate(const GridData& data, const FaceFileLookup& faceFile, QObject* parent)
    : QStyledItemDelegate(parent), data_(data), faceFile_(faceFile) {}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
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

void GridDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->state &= ~QStyle::State_HasFocus;
}

GridDelegate::SampleSource GridDelegate::SourceOf(const QModelIndex& index) const {
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

void GridDelegate::SetOwnFace(const std::string& file, int pixelSize) {
    ownPixelSize_ = pixelSize;
    previews_.SetFallbackFile(file);
}

void GridDelegate::Warm(const QModelIndex& index, int width) const {
    if (data_.ColumnKind(index.column()) != CellKind::kText) {
        return;
    }
    const SampleSource source = SourceOf(index);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!source.file.empty() && source.height > 0 && !text.isEmpty()) {
        previews_.Prepare(source.file, text, source.height, width - 2 * kMargin, source.overflow);
    }
}

bool GridDelegate::PaintPreview(QPainter* painter, const QStyleOptionViewItem& option,
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
    const QColor colour = cell.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    QImage sample;
    if (!cell.text.isEmpty()) {
        sample = previews_.Preview(source.file, cell.text, source.height, colour,
                                   cell.rect.width() - 2 * kMargin, source.overflow);
        if (sample.isNull()) {
            // Qt draws the cell in its face instead, and may not list a user's font.
            LetQtDrawFace(source.file);
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
                           cell.rect.top() + (cell.rect.height() - sample.height()) / 2, sample);
        painter->restore();
    }
    return true;
}

const QPixmap& GridDelegate::CheckPicture(const QStyleOptionViewItem& check, QStyle* style,
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

}  // namespace glyphwell::ui
