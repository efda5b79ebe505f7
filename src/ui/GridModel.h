#pragma once
// The grid's model: GridData as Qt's item model, with fonts and pictures made on first use.

#include <QAbstractTableModel>
#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <string>
#include <unordered_map>

#include "ui/logic/GridData.h"

namespace glyphwell::ui {

// Adapts GridData to Qt's model/view. Fonts and decoded pictures are made on first use, so a
// long grid costs only what is on screen.
class GridModel : public QAbstractTableModel {
  public:
    GridModel(const GridData& data, const QWidget& view);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;

    // Not editable and not checkable: only the program's click rules change cells.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QVariant data(const QModelIndex& index, int role) const override;

    // Follows the data's row count with proper insert and remove notices, so the view keeps
    // its scroll position and nothing is laid out again per row.
    void FollowRowCount();

    void CellsChanged(int firstRow, int firstColumn, int lastRow, int lastColumn);

    void ForgetFonts();

  private:
    static quint64 PictureKey(int row, int column);

    QVariant CellFont(int row, int column) const;

    // The normal font in `face`; a face that is not installed leaves the normal font.
    QFont FontForFace(const QString& face) const;

    // The installed family's own spelling, or empty. The list is read once: asking the font
    // database per face would copy every family name each time.
    QString InstalledFamily(const QString& name) const;

    QVariant CellPicture(int row, int column) const;

    const GridData& data_;
    const QWidget& view_;
    int rows_ = 0;
    mutable std::unordered_map<std::string, QFont> fonts_;  // by face and height
    mutable QHash<QString, QString> families_;              // case-folded name -> family
    mutable QHash<quint64, QPixmap> pictures_;              // null: nothing to draw
};

}  // namespace glyphwell::ui
