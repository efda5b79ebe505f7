#pragma once
// How the grid draws its cells: text cells as samples rendered from the fonts' files where the
// file is known, check boxes centred and drawn once per look, pictures at their natural size,
// no focus frame.

#include <QHash>
#include <QPixmap>
#include <QStyledItemDelegate>

#include <functional>
#include <string>

#include "ui/FacePreview.h"
#include "ui/logic/GridData.h"

namespace glyphwell::ui {

// The font file of a face, or empty.
using FaceFileLookup = std::function<std::string(const std::string& face)>;

class GridDelegate : public QStyledItemDelegate {
  public:
    GridDelegate(const GridData& data, const FaceFileLookup& faceFile, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    std::size_t SamplesRendered() const { return previews_.RenderedCount(); }
    // The file of the grid's own face at `pixelSize`; characters other faces lack come from it.
    void SetOwnFace(const std::string& file, int pixelSize);
    // Renders the sample of a cell not yet on screen, as a cell `width` wide.
    void Warm(const QModelIndex& index, int width) const;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

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
    SampleSource SourceOf(const QModelIndex& index) const;
    bool PaintPreview(QPainter* painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const;
    // A check box drawn once per look and size: a long list shows hundreds of them.
    const QPixmap& CheckPicture(const QStyleOptionViewItem& check, QStyle* style,
                                const QWidget* widget) const;

    static constexpr int kMargin = 3;
    const GridData& data_;
    const FaceFileLookup& faceFile_;
    int ownPixelSize_ = 0;
    mutable FacePreviews previews_;
    mutable QHash<quint64, QPixmap> checks_;
};

}  // namespace glyphwell::ui
