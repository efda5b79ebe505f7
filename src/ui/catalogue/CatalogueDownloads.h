#pragma once
// The catalogue page's font downloads: each row's "下载" starts one on a worker thread; what
// the workers report is handed to the interface thread in order, where the rows, the system
// font list and the installed marks are brought up to date and failures are told.

#include <QObject>
#include <QString>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "downloads/FontDownloads.h"

namespace glyphwell::ui {

class CataloguePage;
class SystemFontPage;

// Owned beside the window, not by it: it must end before the pages it reports to.
class CatalogueDownloads : public QObject {
    Q_OBJECT
  public:
    CatalogueDownloads(CataloguePage& page, SystemFontPage& systemFonts,
                       const platform::HttpClient& http, fonts::FontRegistry& registry,
                       std::filesystem::path downloadFolder,
                       std::function<std::string()> catalogueServerBase);
    ~CatalogueDownloads() override;

    // How failures are told; a message box with the caption "信息：" unless replaced.
    void SetTeller(std::function<void(const QString& message)> tell) { tell_ = std::move(tell); }
    // Downloads still running; the interface thread keeps processing events meanwhile.
    bool Running() const;
    downloads::FontDownloads& Downloads() { return *downloads_; }

  private:
    CataloguePage& page_;
    SystemFontPage& systemFonts_;
    std::function<void(const QString&)> tell_;
    std::unique_ptr<downloads::FontDownloads> downloads_;
    std::atomic<int> running_{0};
};

}  // namespace glyphwell::ui
