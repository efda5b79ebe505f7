#pragma once
// The pages' grid control: a table view over a GridData it owns. The data decides; the view
// shows text cells in their own face and height, check cells as check boxes and picture cells
// at their natural size, and reports clicks in its own coordinates for the pages' rules.

#include <QPoint>
#include <QTableView>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "ui/logic/GridData.h"

namespace glyphwell::ui {

class GridDelegate;
class GridModel;

class Grid : public QTableView, private GridObserver {
    Q_OBJECT
  public:
    static constexpr int kDefaultRowHeight = 24;

    Grid(int columnCount, const QString& objectName, QWidget* parent = nullptr);
    ~Grid() override;

    GridData& Data() { return data_; }
    const GridData& Data() const { return data_; }

    // The font file of a face, or empty. Cells in a face with a known file show samples
    // rendered from the file; others go through the desktop's font matching.
    using FaceFileLookup = std::function<std::string(const std::string& face)>;
    void SetFaceFiles(FaceFileLookup lookup);
    // Samples rendered from font files so far (not found ready), for measurements.
    std::size_t SamplesRendered() const;

    void SetRowHeight(int height);
    int RowHeight() const;

    // What a real left press and release at `at` (grid coordinates) does: the row there
    // becomes current and LeftReleased is emitted.
    void ClickAt(QPoint at);

  signals:
    // Points are in the grid's own coordinates, x counted from its left edge.
    void LeftReleased(QPoint at);
    void RightReleased(QPoint at);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void GridRowsChanged() override;
    void GridCellsChanged(int firstRow, int firstColumn, int lastRow, int lastColumn) override;
    void GridColumnsChanged() override;
    void GridCurrentRowChanged() override;

    void ApplyColumnWidths();
    // Puts the view's current row and selection where the data has it.
    void ShowCurrentRow();
    void PressRowAt(QPoint at);
    void WarmNearbySamples();

    GridData data_;
    FaceFileLookup faceFile_;
    std::unique_ptr<GridModel> model_;
    GridDelegate* delegate_ = nullptr;
    QTimer warmTimer_;
    int warmedFrom_ = -1;       // where an interrupted warming goes on
    bool showingData_ = false;  // the view follows the data; its own changes are not fed back
};

}  // namespace glyphwell::ui
