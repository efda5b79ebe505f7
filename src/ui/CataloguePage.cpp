#include "ui/CataloguePage.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTimer>
#include <QWebEngineView>

#include "ui/Canvas.h"
#include "ui/GraphicButton.h"
#include "ui/logic/WebLinks.h"

namespace glyphwell::ui {
namespace {

constexpr int kDownloadAnimationIntervalMs = 50;

// The row buttons in the order of the catalogue rows 1 to 6.
constexpr ControlId kRowButtons[CataloguePage::kRowCount] = {
    ControlId::kPreviewRow1Button, ControlId::kPreviewRow2Button, ControlId::kPreviewRow3Button,
    ControlId::kPreviewRow4Button, ControlId::kPreviewRow5Button, ControlId::kPreviewRow6Button};
constexpr ControlId kPagingButtons[] = {ControlId::kFirstPageButton, ControlId::kPreviousPageButton,
                                        ControlId::kNextPageButton, ControlId::kLastPageButton};
constexpr CataloguePaging kPagings[] = {CataloguePaging::kFirst, CataloguePaging::kPrevious,
                                        CataloguePaging::kNext, CataloguePaging::kLast};

}  // namespace

CataloguePage::CataloguePage(QWidget& page, const PageContext& context)
    : QObject(&page), context_(context) {
    const PageControlSet made(kPageIndex, page, context.addresses);
    categoryTabs_ = &made.Get<QTabBar>(ControlId::kCategoryTabs);
    categoryCanvas_ = &made.Get<Canvas>(ControlId::kCategoryCanvas);
    sharedFontsBox_ = &made.Get<QWebEngineView>(ControlId::kSharedFontsBox);
    webSearchButton_ = &made.Get<GraphicButton>(ControlId::kWebSearchButton);
    previewTextBox_ = &made.Get<QLineEdit>(ControlId::kPreviewTextBox);
    fontCanvas_ = &made.Get<Canvas>(ControlId::kFontCanvas);
    backCanvas_ = &made.Get<Canvas>(ControlId::kBackCanvas);
    for (int row = 0; row < kRowCount; ++row) {
        rowButtons_[row] = &made.Get<GraphicButton>(kRowButtons[row]);
        connect(rowButtons_[row], &QAbstractButton::clicked, this,
                [this, row] { emit PreviewRequested(row + 1); });
    }
    for (std::size_t i = 0; i < std::size(kPagingButtons); ++i) {
        pagingButtons_[i] = &made.Get<GraphicButton>(kPagingButtons[i]);
        connect(pagingButtons_[i], &QAbstractButton::clicked, this,
                [this, paging = kPagings[i]] { emit PageRequested(paging); });
    }
    pageNumberLabel_ = &made.Get<QLabel>(ControlId::kPageNumberLabel);
    sharedFontsBox_->raise();

    connect(categoryTabs_, &QTabBar::currentChanged, this, &CataloguePage::CategoryChosen);
    // Every press into the preview box empties it, also after the user typed there.
    previewTextBox_->installEventFilter(this);
    connect(webSearchButton_, &QAbstractButton::clicked, this, [this] {
        context_.openLink(QString::fromStdString(
            WebSearchAddress(context_.addresses, previewTextBox_->text().toStdString())));
    });
    animationTimer_ = new QTimer(&context.window);
    animationTimer_->setObjectName(kAnimationTimerName);
    animationTimer_->setInterval(kDownloadAnimationIntervalMs);
    connect(animationTimer_, &QTimer::timeout, this, &CataloguePage::AnimationTick);
    animationTimer_->start();
}

bool CataloguePage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && watched == previewTextBox_) {
        previewTextBox_->clear();
    }
    return QObject::eventFilter(watched, event);
}

void CataloguePage::ApplyLayout(const FrameLayout& layout) {
    for (std::size_t i = 0; i < std::size(pagingButtons_); ++i) {
        pagingButtons_[i]->move(layout.pagingButtonLefts[i], pagingButtons_[i]->y());
    }
    pageNumberLabel_->move(layout.pageLabelLeft, pageNumberLabel_->y());
}

void CataloguePage::SetSharedFontsBoxVisible(bool visible) {
    sharedFontsBox_->setVisible(visible);
}

}  // namespace glyphwell::ui
