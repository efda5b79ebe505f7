#pragma once
// The font-download page: category tabs and canvases, the preview and search boxes, the six
// row buttons and the paging buttons, and the shared-fonts box over them. It owns its
// controls. Browsing, downloading and previews come with the catalogue; until then the page
// announces what the user asked for through its signals.

#include <QObject>

#include "ui/PageControlFactory.h"
#include "ui/logic/FrameLayout.h"

class QLabel;
class QLineEdit;
class QTabBar;
class QTimer;
class QWebEngineView;

namespace glyphwell::ui {

class Canvas;
class GraphicButton;

enum class CataloguePaging { kFirst, kPrevious, kNext, kLast };

class CataloguePage : public QObject {
    Q_OBJECT
  public:
    static constexpr int kPageIndex = 1;
    static constexpr int kRowCount = 6;

    CataloguePage(QWidget& page, const PageContext& context);

    void ApplyLayout(const FrameLayout& layout);
    // The shared-fonts box lies over the page's other controls while it shows.
    void SetSharedFontsBoxVisible(bool visible);

    QTabBar& CategoryTabs() { return *categoryTabs_; }
    Canvas& CategoryCanvas() { return *categoryCanvas_; }
    Canvas& FontCanvas() { return *fontCanvas_; }
    Canvas& BackCanvas() { return *backCanvas_; }

  signals:
    void CategoryChosen(int tab);
    // Rows 1 to 6.
    void PreviewRequested(int row);
    void PageRequested(CataloguePaging paging);
    // The download indicators' animation timer.
    void AnimationTick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    const PageContext& context_;
    QTabBar* categoryTabs_;
    Canvas* categoryCanvas_;
    QWebEngineView* sharedFontsBox_;
    GraphicButton* webSearchButton_;
    QLineEdit* previewTextBox_;
    Canvas* fontCanvas_;
    Canvas* backCanvas_;
    GraphicButton* rowButtons_[kRowCount];
    GraphicButton* pagingButtons_[4];
    QLabel* pageNumberLabel_;
    QTimer* animationTimer_;
};

}  // namespace glyphwell::ui
