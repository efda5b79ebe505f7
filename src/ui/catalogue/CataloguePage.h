#pragma once
// The font-download page: category tabs, the sub-category buttons, six rows of catalogue fonts
// with their sample pictures and download buttons, paging, the preview and search boxes, and
// the shared-fonts box over them. It owns its controls and draws what CatalogueBrowser
// decides; downloads are started through the starter the program gives it.

#include <QImage>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "platform/HttpClient.h"
#include "ui/PageControlFactory.h"
#include "ui/logic/CatalogueBrowser.h"
#include "ui/logic/FrameLayout.h"

class QLabel;
class QLineEdit;
class QTabBar;
class QTimer;
class QWebEngineView;

namespace glyphwell::ui {

class Canvas;
class GraphicButton;

class CataloguePage : public QObject, private CatalogueView {
    Q_OBJECT
  public:
    static constexpr int kPageIndex = 1;
    static constexpr int kRowCount = kCatalogueRowCount;

    CataloguePage(QWidget& page, const PageContext& context);
    ~CataloguePage() override;

    // What the page reads; until it is given the page stays empty.
    void UseCatalogue(CatalogueSource source);
    // Begins the download of a row's font; the page has set the row to downloading.
    void SetDownloadStarter(std::function<void(const CatalogueItem&)> start);
    // The recognition window of tab "  字体识别".
    void SetRecognitionWindowOpener(std::function<void()> open);
    // Where previews are fetched; `catalogueServerBase` is asked on the preview's own thread.
    void SetPreviewService(const platform::HttpClient& http,
                           std::function<std::string()> catalogueServerBase);
    // How the size rule is told; a message box with the caption "信息：" unless replaced.
    void SetPreviewTeller(std::function<void(const QString& message)> tell);
    // Row k's preview button: the user's text set in that row's font by the server, shown in
    // the preview strip. One at a time; the fetch runs off the interface thread.
    void RequestPreview(int row);
    bool PreviewRunning() const { return previewRunning_; }
    // Sample pictures are being decoded off the interface thread.
    bool DecodingSamples() const { return decodingSamples_ > 0; }

    void ApplyLayout(const FrameLayout& layout);
    void SetSharedFontsBoxVisible(bool visible) override;

    // The category of the chosen tab again, on the interface thread; from any thread, queued.
    void PostShowCategory();

    CatalogueBrowser& Browser() { return *browser_; }
    QTabBar& CategoryTabs() { return *categoryTabs_; }
    Canvas& CategoryCanvas() { return *categoryCanvas_; }
    Canvas& FontCanvas() { return *fontCanvas_; }
    Canvas& BackCanvas() { return *backCanvas_; }

  signals:
    // Rows 1 to 6.
    void PreviewRequested(int row);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // CatalogueView.
    void ClearList() override;
    void ClearBackCanvas() override;
    void ClearSubcategories() override;
    void DrawSubcategoryButton(int left, int top, SubcategoryLook look, const std::string& name,
                               int textLeft) override;
    void DrawRow(int row, const CatalogueItem& item, bool highlighted) override;
    void SetPageLabel(const std::string& text) override;
    void SetPreviewControlsVisible(bool visible) override;
    void HideRowButtons() override;
    void OpenRecognitionWindow() override;

    void ShowPreview(const std::string& bmp);
    // The decoded sample of a row, made again only when its bytes change.
    const QImage& SampleOf(int row, const std::string& bytes);

    const PageContext& context_;
    QTabBar* categoryTabs_;
    Canvas* categoryCanvas_;
    QWebEngineView* sharedFontsBox_;
    GraphicButton* webSearchButton_;
    QLineEdit* previewTextBox_;
    QLineEdit* previewSizeBox_;
    QLabel* previewStrip_;
    std::array<QWidget*, 6> previewControls_{};
    Canvas* fontCanvas_;
    Canvas* backCanvas_;
    std::array<GraphicButton*, kRowCount> rowButtons_{};
    std::array<GraphicButton*, 4> pagingButtons_{};
    QLabel* pageNumberLabel_;
    QTimer* animationTimer_;
    std::unique_ptr<CatalogueBrowser> browser_;
    std::function<void(const CatalogueItem&)> startDownload_;
    std::function<void()> openRecognitionWindow_;
    const platform::HttpClient* previewHttp_ = nullptr;
    std::function<std::string()> previewServerBase_;
    std::function<void(const QString&)> tellPreview_;
    bool previewRunning_ = false;
    struct Sample {
        std::string bytes;
        QImage picture;
    };
    std::array<Sample, kRowCount> samples_{};
    int decodingSamples_ = 0;
    // What each shown row says, a line each, as the font canvas's description for screen
    // readers: the font name and its button ("下载", "下载中:p%" or "已安装").
    std::array<QString, kRowCount> rowDescriptions_{};
    void DescribeRows();
};

}  // namespace glyphwell::ui
