#include "ui/catalogue/CataloguePage.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QStringList>
#include <QTabBar>
#include <QTimer>
#include <QWebEngineView>

#include "preview/PreviewRenderer.h"
#include "ui/Canvas.h"
#include "ui/GraphicButton.h"
#include "ui/QtConversions.h"
#include "ui/Tasks.h"
#include "ui/UiFonts.h"
#include "ui/catalogue/CatalogueArtwork.h"
#include "ui/catalogue/SamplePictures.h"
#include "ui/logic/WebLinks.h"

namespace glyphwell::ui {
namespace {

constexpr int kDownloadAnimationIntervalMs = 50;

// Colours as 0x00BBGGRR.
constexpr app::Colour kWhite = 0xFFFFFF;
constexpr app::Colour kBlack = 0x000000;
constexpr app::Colour kRowFrame = 0xFF8000;         // RGB(0, 128, 255)
constexpr app::Colour kHighlightTop = 0xFFF3D7;     // RGB(215, 243, 255)
constexpr app::Colour kHighlightBottom = 0xFFF9EA;  // RGB(234, 249, 255)
constexpr app::Colour kRowText = 0x606060;          // RGB(96, 96, 96)

// The canvas's font sizes 12 and 9, in pixels.
constexpr int kNamePixels = 16;
constexpr int kPercentPixels = 12;

// The row buttons in the order of the catalogue rows 1 to 6.
constexpr ControlId kRowButtons[CataloguePage::kRowCount] = {
    ControlId::kPreviewRow1Button, ControlId::kPreviewRow2Button, ControlId::kPreviewRow3Button,
    ControlId::kPreviewRow4Button, ControlId::kPreviewRow5Button, ControlId::kPreviewRow6Button};
constexpr ControlId kPagingButtons[] = {ControlId::kFirstPageButton, ControlId::kPreviousPageButton,
                                        ControlId::kNextPageButton, ControlId::kLastPageButton};
// Shown and hidden together.
constexpr ControlId kPreviewControls[] = {
    ControlId::kPreviewPictureLabel,  ControlId::kPreviewTextBackLabel,
    ControlId::kFontSizeCaptionLabel, ControlId::kFontSizeBackLabel,
    ControlId::kPreviewTextBox,       ControlId::kPreviewSizeBox};

}  // namespace

CataloguePage::CataloguePage(QWidget& page, const PageContext& context)
    : QObject(&page), context_(context) {
    const PageControlSet made(kPageIndex, page, context.addresses);
    categoryTabs_ = &made.Get<QTabBar>(ControlId::kCategoryTabs);
    categoryCanvas_ = &made.Get<Canvas>(ControlId::kCategoryCanvas);
    sharedFontsBox_ = &made.Get<QWebEngineView>(ControlId::kSharedFontsBox);
    webSearchButton_ = &made.Get<GraphicButton>(ControlId::kWebSearchButton);
    previewTextBox_ = &made.Get<QLineEdit>(ControlId::kPreviewTextBox);
    previewSizeBox_ = &made.Get<QLineEdit>(ControlId::kPreviewSizeBox);
    previewStrip_ = &made.Get<QLabel>(ControlId::kPreviewPictureLabel);
    for (std::size_t i = 0; i < std::size(kPreviewControls); ++i) {
        previewControls_[i] = &made.Get<QWidget>(kPreviewControls[i]);
    }
    fontCanvas_ = &made.Get<Canvas>(ControlId::kFontCanvas);
    backCanvas_ = &made.Get<Canvas>(ControlId::kBackCanvas);
    for (int row = 0; row < kRowCount; ++row) {
        rowButtons_[static_cast<std::size_t>(row)] = &made.Get<GraphicButton>(kRowButtons[row]);
        connect(rowButtons_[static_cast<std::size_t>(row)], &QAbstractButton::clicked, this,
                [this, row] { emit PreviewRequested(row + 1); });
    }
    connect(this, &CataloguePage::PreviewRequested, this, &CataloguePage::RequestPreview);
    tellPreview_ = [this](const QString& message) {
        QMessageBox::information(&context_.window, "信息：", message);
    };
    for (std::size_t i = 0; i < std::size(kPagingButtons); ++i) {
        pagingButtons_[i] = &made.Get<GraphicButton>(kPagingButtons[i]);
    }
    pageNumberLabel_ = &made.Get<QLabel>(ControlId::kPageNumberLabel);
    sharedFontsBox_->raise();
    for (const char* caption : kCategoryTabCaptions) {
        categoryTabs_->addTab(QString::fromUtf8(caption));
    }

    browser_ = std::make_unique<CatalogueBrowser>(
        static_cast<CatalogueView&>(*this), CatalogueSource{}, [this](const CatalogueItem& item) {
            if (startDownload_) {
                startDownload_(item);
            }
        });
    connect(categoryTabs_, &QTabBar::currentChanged, this,
            [this](int tab) { browser_->ShowCategory(tab); });
    connect(categoryCanvas_, &Canvas::MouseMoved, this,
            [this](QPoint at) { browser_->SubcategoryMove(at.x(), at.y()); });
    connect(categoryCanvas_, &Canvas::LeftReleased, this,
            [this](QPoint at) { browser_->SubcategoryRelease(at.x(), at.y()); });
    connect(fontCanvas_, &Canvas::MouseMoved, this,
            [this](QPoint at) { browser_->ListMove(at.x(), at.y()); });
    connect(fontCanvas_, &Canvas::LeftPressed, this,
            [this](QPoint at) { browser_->ListPress(at.x(), at.y()); });
    connect(fontCanvas_, &Canvas::LeftReleased, this,
            [this](QPoint at) { browser_->ListRelease(at.x(), at.y()); });
    connect(pagingButtons_[0], &QAbstractButton::clicked, this, [this] { browser_->FirstPage(); });
    connect(pagingButtons_[1], &QAbstractButton::clicked, this,
            [this] { browser_->PreviousPage(); });
    connect(pagingButtons_[2], &QAbstractButton::clicked, this, [this] { browser_->NextPage(); });
    connect(pagingButtons_[3], &QAbstractButton::clicked, this, [this] { browser_->LastPage(); });

    // Every press into the preview box empties it, also after the user typed there.
    previewTextBox_->installEventFilter(this);
    connect(webSearchButton_, &QAbstractButton::clicked, this, [this] {
        context_.openLink(QString::fromStdString(
            WebSearchAddress(context_.addresses, previewTextBox_->text().toStdString())));
    });
    animationTimer_ = new QTimer(&context.window);
    animationTimer_->setObjectName(kAnimationTimerName);
    animationTimer_->setInterval(kDownloadAnimationIntervalMs);
    connect(animationTimer_, &QTimer::timeout, this, [this] { browser_->AnimationTick(); });
    animationTimer_->start();
}

CataloguePage::~CataloguePage() {
    // A preview's fetch ends by its own time bound; its result goes nowhere once the page is gone.
    WaitForTasks();
}

void CataloguePage::SetPreviewService(const platform::HttpClient& http,
                                      std::function<std::string()> catalogueServerBase) {
    previewHttp_ = &http;
    previewServerBase_ = std::move(catalogueServerBase);
}

void CataloguePage::SetPreviewTeller(std::function<void(const QString&)> tell) {
    tellPreview_ = std::move(tell);
}

void CataloguePage::RequestPreview(int row) {
    if (previewRunning_ || previewHttp_ == nullptr || row < 1 || row > kRowCount) {
        return;
    }
    const std::string text = previewTextBox_->text().toStdString();
    if (preview::HasAmpersand(text)) {
        return;
    }
    const std::string size = previewSizeBox_->text().toStdString();
    if (!preview::SizeAllowed(size)) {
        if (tellPreview_) {
            tellPreview_(QString::fromUtf8(preview::kSizeMessage));
        }
        return;
    }
    const std::string fontName = browser_->Item(row).FontName;
    previewRunning_ = true;
    RunTask(
        *this,
        [http = previewHttp_, serverBase = previewServerBase_, row, text, size,
         fontName](const TaskReport&) {
            const std::string base = serverBase ? serverBase() : std::string();
            return preview::RequestPreviewPicture(*http, base, row, text, size, fontName);
        },
        [this](const std::string& bmp) { ShowPreview(bmp); });
}

void CataloguePage::ShowPreview(const std::string& bmp) {
    previewRunning_ = false;
    QImage picture;
    if (!bmp.empty()) {
        picture = QImage::fromData(reinterpret_cast<const uchar*>(bmp.data()),
                                   static_cast<int>(bmp.size()), "BMP");
    }
    previewStrip_->clear();
    if (picture.isNull()) {
        previewStrip_->setText(QString::fromUtf8(preview::kFetchFailedCaption));
        return;
    }
    // Shrunk to the strip where it is larger, never enlarged.
    if (picture.width() > previewStrip_->width() || picture.height() > previewStrip_->height()) {
        picture =
            picture.scaled(previewStrip_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    previewStrip_->setPixmap(QPixmap::fromImage(picture));
}

void CataloguePage::UseCatalogue(CatalogueSource source) {
    browser_->SetSource(std::move(source));
}

void CataloguePage::SetDownloadStarter(std::function<void(const CatalogueItem&)> start) {
    startDownload_ = std::move(start);
}

void CataloguePage::SetRecognitionWindowOpener(std::function<void()> open) {
    openRecognitionWindow_ = std::move(open);
}

void CataloguePage::PostShowCategory() {
    PostTo(*this, [this] { browser_->ShowCategory(categoryTabs_->currentIndex()); });
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

void CataloguePage::ClearList() {
    ClearBackCanvas();
    fontCanvas_->Clear(kWhite);
}

void CataloguePage::DescribeRows() {
    QStringList lines;
    for (const QString& row : rowDescriptions_) {
        if (!row.isEmpty()) {
            lines << row;
        }
    }
    fontCanvas_->setAccessibleDescription(lines.join(u'\n'));
}

void CataloguePage::ClearBackCanvas() {
    backCanvas_->Clear(kWhite);
    // The next row drawn copies the whole back canvas to the shown one.
    rowDescriptions_.fill(QString());
    DescribeRows();
}

void CataloguePage::ClearSubcategories() {
    categoryCanvas_->Clear(kWhite);
}

void CataloguePage::DrawSubcategoryButton(int left, int top, SubcategoryLook look,
                                          const std::string& name, int textLeft) {
    const CatalogueArtwork& art = TheCatalogueArtwork();
    const QImage& picture = look == SubcategoryLook::kSelected ? art.subcategorySelected
                            : look == SubcategoryLook::kHover  ? art.subcategoryHover
                                                               : art.subcategoryNormal;
    categoryCanvas_->DrawPicture(
        picture, QRect(left, top, kSubcategoryButtonWidth, kSubcategoryButtonHeight));
    categoryCanvas_->DrawText(QPoint(textLeft, top + 5), Q(name), SongFont(kInterfacePixelSize),
                              kBlack);
}

const QImage& CataloguePage::SampleOf(int row, const std::string& bytes) {
    Sample& sample = samples_[static_cast<std::size_t>(row - 1)];
    if (sample.bytes != bytes) {
        // Decoded off the interface thread: a picture from the server may be slow to decode.
        // The row is drawn without it meanwhile and again once it is ready.
        sample.bytes = bytes;
        sample.picture = QImage();
        ++decodingSamples_;
        RunTask(
            *this, [bytes](const TaskReport&) { return DecodeSamplePicture(bytes); },
            [this, row, bytes](const QImage& picture) {
                --decodingSamples_;
                Sample& now = samples_[static_cast<std::size_t>(row - 1)];
                if (now.bytes != bytes || picture.isNull()) {
                    return;  // the row shows another font by now
                }
                now.picture = picture;
                browser_->DrawCatalogueRow(row, browser_->HoveredRow() == row);
            });
    }
    return sample.picture;
}

void CataloguePage::DrawRow(int row, const CatalogueItem& item, bool highlighted) {
    const CatalogueArtwork& art = TheCatalogueArtwork();
    const int frontWidth = fontCanvas_->width();
    const int backWidth = PageControl(ControlId::kBackCanvas).rect.width;
    const int y = (row - 1) * kCatalogueRowHeight;
    Canvas& back = *backCanvas_;
    back.DrawRectangle(QRect(0, y, frontWidth, kCatalogueRowHeight + 1), kRowFrame, kWhite);
    if (highlighted) {
        back.GradientFill(QRect(1, y + 1, frontWidth - 2, 49), kHighlightTop, kHighlightBottom,
                          Qt::Vertical);
    }
    const QImage& sample = SampleOf(row, item.SamplePicture);
    if (!sample.isNull()) {
        back.DrawPicture(sample, QPoint(5, y + 12), kWhite);
    }
    back.DrawText(QPoint(backWidth - backWidth / 3 - 150, y + 20), Q(item.FontName),
                  SongFont(kNamePixels), kRowText);
    const QPoint button(backWidth - kStateButtonLeftFromRight, y + 12);
    QString state;
    switch (item.State) {
        case CatalogueItemState::kNotInstalled:
            back.DrawPicture(item.ButtonState == DownloadButtonLook::kPressed ? art.downloadPressed
                             : item.ButtonState == DownloadButtonLook::kHover ? art.downloadHover
                                                                              : art.downloadNormal,
                             button, kWhite);
            state = QStringLiteral("下载");
            break;
        case CatalogueItemState::kInstalled:
            back.DrawPicture(art.installed, button, kWhite);
            state = QStringLiteral("已安装");
            break;
        case CatalogueItemState::kDownloading: {
            const int frame = std::clamp(item.AnimationFrame, 1, 12);
            back.DrawPicture(art.spinner[static_cast<std::size_t>(frame - 1)],
                             QPoint(backWidth - 38, y + 10), kWhite);
            state = Q("下载中:" + std::to_string(item.Percent) + "%");
            back.DrawText(QPoint(backWidth - 68, y + 33), state, SongFont(kPercentPixels),
                          kRowText);
            break;
        }
    }
    // Hover and the spinner redraw rows many times a second; most redraws say nothing new.
    QString& description = rowDescriptions_[static_cast<std::size_t>(row - 1)];
    if (QString said = Q(item.FontName) + u' ' + state; said != description) {
        description = std::move(said);
        DescribeRows();
    }
    back.CopyTo(*fontCanvas_, QPoint(0, 0), QRect(QPoint(0, 0), back.Surface().size()));
    rowButtons_[static_cast<std::size_t>(row - 1)]->show();
}

void CataloguePage::SetPageLabel(const std::string& text) {
    pageNumberLabel_->setText(Q(text));
}

void CataloguePage::SetPreviewControlsVisible(bool visible) {
    for (QWidget* control : previewControls_) {
        control->setVisible(visible);
    }
}

void CataloguePage::HideRowButtons() {
    for (GraphicButton* button : rowButtons_) {
        button->hide();
    }
}

void CataloguePage::OpenRecognitionWindow() {
    if (openRecognitionWindow_) {
        openRecognitionWindow_();
    }
}

}  // namespace glyphwell::ui
