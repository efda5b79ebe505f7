#pragma once
// A drawing surface control: the pages draw on its picture, which the widget paints as it is.
// A hidden canvas works as an off-screen copy that is drawn on and then copied to a shown one.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <optional>

#include "app/Skin.h"

namespace glyphwell::ui {

class Canvas : public QWidget {
    Q_OBJECT
  public:
    explicit Canvas(const QString& objectName, QWidget* parent = nullptr);

    void Clear(app::Colour colour);
    // A one-pixel outline on the border pixels of `rect`; with `fill` the inside is filled too.
    void DrawRectangle(QRect rect, app::Colour pen, std::optional<app::Colour> fill = {});
    void FillRectangle(QRect rect, app::Colour colour);
    // Qt::Vertical runs from `from` on the top line to `to` on the bottom line, Qt::Horizontal
    // from the left column to the right one; both end colours are met exactly.
    void GradientFill(QRect rect, app::Colour from, app::Colour to, Qt::Orientation orientation);
    // Pixels of exactly the `transparent` colour are left out.
    void DrawPicture(const QImage& picture, QPoint at, std::optional<app::Colour> transparent = {});
    void DrawPicture(const QImage& picture, QRect stretchedTo,
                     std::optional<app::Colour> transparent = {});
    // The text's top-left corner at `at`, on a transparent background.
    void DrawText(QPoint at, const QString& text, const QFont& font, app::Colour colour);
    // Inside `rect`, placed by `flags` (Qt::AlignmentFlag and Qt::TextFlag), clipped to it.
    void DrawText(QRect rect, const QString& text, const QFont& font, app::Colour colour,
                  int flags = Qt::AlignLeft | Qt::AlignTop);
    // Copies the pixels of `from` (this canvas) to `target` with their top-left at `at`.
    void CopyTo(Canvas& target, QPoint at, QRect from) const;

    // The widget's size (at least 1 x 1) whether or not it was ever shown; new area is white.
    const QImage& Surface() const;

  signals:
    void MouseMoved(QPoint at);
    void LeftPressed(QPoint at);
    void LeftReleased(QPoint at);
    void MouseLeft();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    // The surface at the widget's current size; a hidden widget gets no resize events.
    QImage& Target() const;
    void Changed(const QRect& rect);

    mutable QImage surface_;
};

}  // namespace glyphwell::ui
