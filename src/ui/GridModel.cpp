#include "ui/GridModel.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>

#include <algorithm>

namespace glyphwell::ui {

GridModel::GridModel(const GridData& data, const QWidget& view) : data_(data), view_(view) {
    // Installed fonts may change while the program runs.
    QObject::connect(qApp, &QGuiApplication::fontDatabaseChanged, this, [this] {
        families_.clear();
        ForgetFonts();
    });
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : data_.ColumnCount();
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
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
                return static_cast<int>(data_.Checked(row, column) ? Qt::Checked : Qt::Unchecked);
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

void GridModel::FollowRowCount() {
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

void GridModel::CellsChanged(int firstRow, int firstColumn, int lastRow, int lastColumn) {
    lastRow = std::min(lastRow, rows_ - 1);
    if (lastRow < firstRow || lastColumn < firstColumn) {
        return;
    }
    for (auto it = pictures_.begin(); it != pictures_.end();) {
        const int row = static_cast<int>(it.key() >> 32);
        const int column = static_cast<int>(it.key() & 0xFFFFFFFF);
        if (row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn) {
            it = pictures_.erase(it);
        } else {
            ++it;
        }
    }
    emit dataChanged(index(firstRow, firstColumn), index(lastRow, lastColumn));
}

void GridModel::ForgetFonts() {
    fonts_.clear();
    CellsChanged(0, 0, rows_ - 1, data_.ColumnCount() - 1);
}

quint64 GridModel::PictureKey(int row, int column) {
    return (static_cast<quint64>(row) << 32) | static_cast<quint32>(column);
}

QVariant GridModel::CellFont(int row, int column) const {
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

QFont GridModel::FontForFace(const QString& face) const {
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

QString GridModel::InstalledFamily(const QString& name) const {
    if (families_.isEmpty()) {
        for (const QString& family : QFontDatabase::families()) {
            families_.insert(family.toCaseFolded(), family);
        }
    }
    return families_.value(name.toCaseFolded());
}

QVariant GridModel::CellPicture(int row, int column) const {
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

}  // namespace glyphwell::ui
