#pragma once
// A button whose caption is part of its pictures: normal, hover, pressed and disabled.

#include <QAbstractButton>
#include <QImage>

namespace glyphwell::ui {

struct GraphicButtonImages {
    QImage normal;
    QImage hover;
    QImage pressed;
    QImage disabled;
};

// The four pictures of a button of `size` with `caption` written in; an empty caption draws a
// magnifier glyph instead.
GraphicButtonImages DrawGraphicButtonImages(QSize size, const QString& caption);

class GraphicButton : public QAbstractButton {
    Q_OBJECT
  public:
    GraphicButton(QSize size, const QString& caption, QWidget* parent = nullptr);

    const GraphicButtonImages& Images() const { return images_; }
    // The picture shown for the button's current state.
    const QImage& CurrentImage() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    GraphicButtonImages images_;
    bool hovered_ = false;
};

}  // namespace glyphwell::ui
