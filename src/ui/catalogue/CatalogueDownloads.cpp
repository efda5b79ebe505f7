#include "ui/catalogue/CatalogueDownloads.h"

#include <QMessageBox>

#include "ui/Canvas.h"
#include "ui/SystemFontPage.h"
#include "ui/Tasks.h"
#include "ui/catalogue/CataloguePage.h"

namespace glyphwell::ui {

CatalogueDownloads::CatalogueDownloads(CataloguePage& page, SystemFontPage& systemFonts,
                                       const platform::HttpClient& http,
                                       fonts::FontRegistry& registry,
                                       std::filesystem::path downloadFolder,
                                       std::function<std::string()> catalogueServerBase)
    : page_(page), systemFonts_(systemFonts) {
    tell_ = [this](const QString& message) {
        QMessageBox::information(page_.FontCanvas().window(), "信息：", message);
    };
    downloads::FontDownloadEvents events;
    // Progress is only stored; the spinner's timer shows it.
    events.progress = [this](const std::string& fontName, int percent) {
        QMetaObject::invokeMethod(
            this,
            [this, fontName, percent] { page_.Browser().DownloadProgress(fontName, percent); },
            Qt::QueuedConnection);
    };
    // The table is reloaded already; the views follow, queued: the worker waits for nobody.
    events.installed = [this](const std::string& fontName) {
        PostTo(*this, [this, fontName] {
            page_.Browser().DownloadEnded(fontName, true);
            systemFonts_.BuildSystemList();
            page_.Browser().RefreshCatalogueMarks();
            --running_;
        });
    };
    events.failed = [this](const std::string& fontName, const std::string& message) {
        QMetaObject::invokeMethod(
            this,
            [this, fontName, message] {
                page_.Browser().DownloadEnded(fontName, false);
                --running_;
                if (tell_) {
                    tell_(QString::fromStdString(message));
                }
            },
            Qt::QueuedConnection);
    };
    downloads_ = std::make_unique<downloads::FontDownloads>(
        http, registry, std::move(downloadFolder), std::move(catalogueServerBase),
        std::move(events));
    page_.SetDownloadStarter([this](const CatalogueItem& item) {
        ++running_;
        downloads_->StartFontDownload(item.FontName, item.FontAddress);
    });
}

CatalogueDownloads::~CatalogueDownloads() {
    page_.SetDownloadStarter({});
    // No worker waits for this thread: the workers end, and their news queued here is dropped.
    downloads_.reset();
}

bool CatalogueDownloads::Running() const {
    return running_ > 0;
}

}  // namespace glyphwell::ui
