#include "ui/MainPages.h"

#include <QDesktopServices>
#include <QMenu>
#include <QMessageBox>
#include <QStackedWidget>
#include <QUrl>

#include "app/WorkingFolders.h"
#include "ui/FolderPage.h"
#include "ui/InstallPathWindow.h"
#include "ui/RecognitionWindow.h"
#include "ui/SystemFontPage.h"
#include "ui/WebPages.h"
#include "ui/catalogue/CataloguePage.h"
#include "ui/logic/PageControls.h"
#include "ui/logic/WebLinks.h"

namespace glyphwell::ui {

MainPages::MainPages(QStackedWidget& container, QWidget& window,
                     const platform::ServiceAddresses& addresses)
    : QObject(&container),
      container_(container),
      window_(window),
      addresses_(addresses),
      openLink_([](const QString& address) { QDesktopServices::openUrl(QUrl(address)); }),
      context_{window, addresses, openLink_} {
    QWidget* pages[kPageBarItemCount];
    for (int index = 0; index < kPageBarItemCount; ++index) {
        pages[index] = new QWidget(&container_);
        pages[index]->setWindowTitle(QString::fromUtf8(kPageNames[index]));
        container_.addWidget(pages[index]);
    }
    systemFonts_ = new SystemFontPage(*pages[SystemFontPage::kPageIndex], context_);
    catalogue_ = new CataloguePage(*pages[CataloguePage::kPageIndex], context_);
    catalogue_->SetRecognitionWindowOpener([this] { ShowRecognitionWindow(); });
    systemFonts_->SetFontsChangedHook([this] { catalogue_->Browser().RefreshCatalogueMarks(); });
    const auto folderPage = [&](FolderKind kind) {
        return new FolderPage(*pages[FolderPage::PageIndexOf(kind)], kind, context_);
    };
    downloadedFonts_ = folderPage(FolderKind::kDownloadedFonts);
    recycleBin_ = folderPage(FolderKind::kRecycleBin);
    backup_ = folderPage(FolderKind::kBackup);
    webPages_ = new WebPages(pages, context_);
    CreateControlMenu(window);
}

MainPages::~MainPages() = default;

QWidget& MainPages::Page(int index) {
    return *container_.widget(index);
}

void MainPages::CreateControlMenu(QWidget& window) {
    controlMenu_ = new QMenu(&window);
    controlMenu_->setObjectName(kControlMenuName);
    updateCheckItem_ = controlMenu_->addAction("检测更新");
    connect(updateCheckItem_, &QAction::triggered, this, &MainPages::UpdateCheckRequested);
    connect(controlMenu_->addAction("官方主页"), &QAction::triggered, this,
            [this] { OpenInDefaultBrowser(QString::fromStdString(HomePageAddress(addresses_))); });
    connect(controlMenu_->addAction("关于我们"), &QAction::triggered, this,
            &MainPages::ShowAboutBox);
    connect(controlMenu_->addAction("综合设置"), &QAction::triggered, this,
            &MainPages::OpenInstallPathWindow);
}

void MainPages::UseFontCollections(fonts::FontRegistry& registry,
                                   const std::filesystem::path& runDirectory) {
    const auto fontsChanged = [this] { systemFonts_->RefreshInstalledFontViews(); };
    downloadedFonts_->UseFolder(registry, app::DownloadFolder(runDirectory), fontsChanged);
    downloadedFonts_->UseRecycleBin(app::RecycleBinFolder(runDirectory));
    recycleBin_->UseFolder(registry, app::RecycleBinFolder(runDirectory), fontsChanged);
    backup_->UseFolder(registry, app::BackupFolder(runDirectory), fontsChanged);
}

void MainPages::PrepareGridColumns() {
    for (FolderPage* page : {downloadedFonts_, recycleBin_, backup_}) {
        page->PrepareGridColumns();
    }
    systemFonts_->PrepareGridColumns();
}

void MainPages::ApplyLayout(const FrameLayout& layout) {
    systemFonts_->ApplyLayout(layout);
    catalogue_->ApplyLayout(layout);
    for (FolderPage* page : {downloadedFonts_, recycleBin_, backup_}) {
        page->ApplyLayout(layout);
    }
}

void MainPages::ShowPage(int pageIndex) {
    container_.setCurrentIndex(pageIndex);
}

void MainPages::OpenInDefaultBrowser(const QString& address) {
    if (openLink_) {
        openLink_(address);
    }
}

void MainPages::CreateRecognitionWindow() {
    if (recognitionWindow_ != nullptr) {
        return;
    }
    recognitionWindow_ =
        new ui::RecognitionWindow(QString::fromStdString(addresses_.fontRecognition), &window_);
    recognitionWindow_->hide();
}

void MainPages::ShowRecognitionWindow() {
    CreateRecognitionWindow();
    recognitionWindow_->setWindowModality(Qt::WindowModal);
    recognitionWindow_->show();
    recognitionWindow_->raise();
}

void MainPages::PostUpdateOffer() {
    QMetaObject::invokeMethod(this, &MainPages::UpdateOffered, Qt::QueuedConnection);
}

void MainPages::ShowAboutBox() {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kAboutTitle),
                    QString::fromStdString(AboutText(addresses_)), QMessageBox::Ok, &window_);
    box.exec();
}

void MainPages::OpenInstallPathWindow() {
    InstallPathWindow window(&window_);
    window.exec();
}

}  // namespace glyphwell::ui
