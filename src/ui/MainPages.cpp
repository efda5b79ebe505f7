#include "ui/MainPages.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include <string_view>
#include <type_traits>

#include "ui/Canvas.h"
#include "ui/GraphicButton.h"
#include "ui/Grid.h"
#include "ui/InstallPathWindow.h"
#include "ui/QtConversions.h"
#include "ui/RecognitionWindow.h"
#include "ui/logic/GridRules.h"
#include "ui/logic/PageControls.h"
#include "ui/logic/WebLinks.h"

namespace glyphwell::ui {
namespace {

constexpr int kDownloadAnimationIntervalMs = 50;

// Row heights of the grids' design: the main list's samples are 20 pixels high, the search
// results' 25, the folder lists plain text.
constexpr int kSystemGridRowHeight = 30;
constexpr int kSearchGridRowHeight = 36;
constexpr int kFolderGridRowHeight = 24;
constexpr int kFolderGridFirstRows = 5;

// Calls an entry point when its owner has filled it.
template <typename... Arguments>
void Run(const std::function<void(Arguments...)>& handler,
         std::type_identity_t<Arguments>... arguments) {
    if (handler) {
        handler(arguments...);
    }
}

QString Text(const char* text) {
    return QString::fromUtf8(text);
}

// The six row buttons in the order of the catalogue rows 1 to 6.
constexpr const char* kRowButtons[] = {"图形按钮28", "图形按钮18", "图形按钮19",
                                       "图形按钮20", "图形按钮21", "图形按钮22"};
constexpr const char* kLinkButtons[] = {"图形按钮29", "图形按钮30", "图形按钮31", "图形按钮32"};

// A label whose text sits below leading line breaks: the last lines show at its foot,
// where a plain label would push them out of sight.
class FootLabel : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        // The painter drops text taller than its box, so the breaks are left out here.
        QString shown = text();
        while (shown.startsWith('\n')) {
            shown.remove(0, 1);
        }
        painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignBottom, shown);
    }
};

}  // namespace

MainPages::MainPages(QStackedWidget& container, QWidget& window,
                     const platform::ServiceAddresses& addresses)
    : QObject(&container), container_(container), window_(window), addresses_(addresses) {
    open_ = [](const QString& address) { QDesktopServices::openUrl(QUrl(address)); };
    for (const char* name : kPageNames) {
        auto* page = new QWidget(&container_);
        page->setWindowTitle(Text(name));
        container_.addWidget(page);
    }
    CreateControls();
    CreateMenus(window);
    animationTimer_ = new QTimer(&window);
    animationTimer_->setObjectName("时钟2");
    animationTimer_->setInterval(kDownloadAnimationIntervalMs);
    ConnectEvents();
    animationTimer_->start();
}

void MainPages::CreateRecognitionWindow() {
    if (recognitionWindow_ != nullptr) {
        return;
    }
    recognitionWindow_ =
        new ui::RecognitionWindow(QString::fromStdString(addresses_.fontRecognition), &window_);
    recognitionWindow_->hide();
}

MainPages::~MainPages() = default;

QWidget& MainPages::Page(int index) {
    return *container_.widget(index);
}

QWidget* MainPages::Control(const std::string& name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

template <typename T>
T& MainPages::Named(const char* name) const {
    return *static_cast<T*>(controls_.at(name));
}

void MainPages::CreateControls() {
    for (const ControlInfo& info : PageControls()) {
        QWidget* parent =
            info.page >= 0 ? container_.widget(info.page) : controls_.at(info.container);
        const QString text = Text(info.text);
        QWidget* control = nullptr;
        switch (info.kind) {
            case ControlKind::kGraphicButton:
                control = new GraphicButton(QSize(info.rect.width, info.rect.height), text, parent);
                break;
            case ControlKind::kLabel: {
                auto* label =
                    text.startsWith('\n') ? new FootLabel(text, parent) : new QLabel(text, parent);
                label->setAlignment(Qt::AlignCenter);
                control = label;
                break;
            }
            case ControlKind::kCheckBox:
                control = new QCheckBox(text, parent);
                break;
            case ControlKind::kEditBox:
                control = new QLineEdit(text, parent);
                break;
            case ControlKind::kGrid: {
                // The main system list holds two fonts a row; the others one row per item.
                const bool twoFontsARow = std::string_view(info.name) == "系统字体表格";
                control = new Grid(twoFontsARow ? 6 : 3, Text(info.name), parent);
                break;
            }
            case ControlKind::kGroupBox:
                control = new QGroupBox(text, parent);
                break;
            case ControlKind::kTabStrip: {
                auto* tabs = new QTabBar(parent);
                tabs->setExpanding(false);
                control = tabs;
                break;
            }
            case ControlKind::kCanvas:
                control = new Canvas(Text(info.name), parent);
                break;
            case ControlKind::kBrowserBox: {
                auto* box = new QWebEngineView(parent);
                box->setUrl(
                    QUrl(QString::fromStdString(BrowserBoxStartAddress(info.name, addresses_))));
                control = box;
                break;
            }
        }
        control->setObjectName(Text(info.name));
        control->setGeometry(ToQRect(info.rect));
        control->setVisible(info.shownAtStart);
        controls_[info.name] = control;
    }
    // The shared-fonts box lies over the download page's other controls while it shows.
    controls_.at("超文本浏览框5")->raise();
    systemGrid_ = &Named<Grid>("系统字体表格");
    searchGrid_ = &Named<Grid>("系统字体表格2");
    myFontsGrid_ = &Named<Grid>("我的字体表格");
    recycleBinGrid_ = &Named<Grid>("回收站表格");
    backupGrid_ = &Named<Grid>("备份表格");
    categoryCanvas_ = &Named<Canvas>("分类画板");
    fontCanvas_ = &Named<Canvas>("前台画板");
    backCanvas_ = &Named<Canvas>("后台画板");
    categoryTabs_ = &Named<QTabBar>("高级选择夹2");
    systemGrid_->SetRowHeight(kSystemGridRowHeight);
    searchGrid_->SetRowHeight(kSearchGridRowHeight);
    for (Grid* grid : {myFontsGrid_, recycleBinGrid_, backupGrid_}) {
        grid->SetRowHeight(kFolderGridRowHeight);
        grid->Data().SetRowCount(kFolderGridFirstRows);
    }
}

void MainPages::CreateMenus(QWidget& window) {
    systemGridMenu_ = new QMenu(&window);
    systemGridMenu_->setObjectName(kSystemGridMenuName);
    connect(systemGridMenu_->addAction("复制字体名(&Z)"), &QAction::triggered, this,
            [this] { Run(events_.copyFontName); });
    connect(systemGridMenu_->addAction("导出字体文件(&W)"), &QAction::triggered, this,
            [this] { Run(events_.exportFontFile); });
    systemGridMenu_->addSeparator();
    connect(systemGridMenu_->addAction("删除字体"), &QAction::triggered, this,
            [this] { Run(events_.deleteInstalledFont); });

    searchGridMenu_ = new QMenu(&window);
    searchGridMenu_->setObjectName(kSearchGridMenuName);
    connect(searchGridMenu_->addAction("复制字体名(&Z)"), &QAction::triggered, this,
            [this] { Run(events_.copySearchResultFontName); });
    searchGridMenu_->addSeparator();
    connect(searchGridMenu_->addAction("删除字体"), &QAction::triggered, this,
            [this] { Run(events_.deleteSearchResultFont); });

    controlMenu_ = new QMenu(&window);
    controlMenu_->setObjectName(kControlMenuName);
    connect(controlMenu_->addAction("检测更新"), &QAction::triggered, this,
            [this] { Run(events_.checkForUpdate); });
    connect(controlMenu_->addAction("官方主页"), &QAction::triggered, this,
            [this] { OpenInDefaultBrowser(QString::fromStdString(HomePageAddress(addresses_))); });
    connect(controlMenu_->addAction("关于我们"), &QAction::triggered, this,
            &MainPages::ShowAboutBox);
    connect(controlMenu_->addAction("综合设置"), &QAction::triggered, this,
            &MainPages::OpenInstallPathWindow);
}

void MainPages::ConnectEvents() {
    auto clicked = [this](const char* name, auto handler) {
        connect(&Named<GraphicButton>(name), &QAbstractButton::clicked, this, handler);
    };
    // System fonts.
    clicked("图形按钮3", [this] { Run(events_.listModeChosen, 4); });
    clicked("图形按钮4", [this] { Run(events_.listModeChosen, 2); });
    clicked("图形按钮5", [this] { Run(events_.listModeChosen, 3); });
    clicked("图形按钮25", [this] { Run(events_.refreshSystemFonts); });
    clicked("图形按钮17", [this] { Run(events_.uninstallCheckedSystemFonts); });
    connect(&Named<QCheckBox>("选择框4"), &QCheckBox::clicked, this,
            &MainPages::SelectAllSystemFonts);
    connect(&Named<QLineEdit>("编辑框1"), &QLineEdit::textChanged, this,
            [this] { Run(events_.searchSystemFonts); });
    connect(&Named<QLineEdit>("编辑框2"), &QLineEdit::textChanged, this,
            [this](const QString& text) {
                ApplyCustomPreviewText(systemGrid_->Data(), text.toStdString());
            });
    connect(systemGrid_, &Grid::LeftReleased, this, [this](QPoint at) {
        const int column = SystemGridMarkColumn(at.x());
        if (column >= 0) {
            ToggleCurrentRowCheck(systemGrid_->Data(), column);
        }
    });
    connect(searchGrid_, &Grid::LeftReleased, this, [this](QPoint at) {
        if (InsideCheckColumn(searchGrid_->Data(), at.x())) {
            ToggleCurrentRowCheck(searchGrid_->Data(), 2);
        }
    });
    connect(systemGrid_, &Grid::RightReleased, this,
            [this](QPoint at) { Run(events_.systemGridMenu, at); });
    connect(searchGrid_, &Grid::RightReleased, this,
            [this](QPoint at) { Run(events_.searchGridMenu, at); });

    // Font download.
    connect(categoryTabs_, &QTabBar::currentChanged, this,
            [this](int tab) { Run(events_.categoryChosen, tab); });
    Named<QLineEdit>("编辑框4").installEventFilter(this);
    clicked("图形按钮9", [this] {
        const QString text = Named<QLineEdit>("编辑框4").text();
        OpenInDefaultBrowser(
            QString::fromStdString(WebSearchAddress(addresses_, text.toStdString())));
    });
    for (int row = 1; row <= 6; ++row) {
        clicked(kRowButtons[row - 1], [this, row] { Run(events_.previewRow, row); });
    }
    clicked("图形按钮2", [this] { Run(events_.firstPage); });
    clicked("图形按钮6", [this] { Run(events_.previousPage); });
    clicked("图形按钮7", [this] { Run(events_.nextPage); });
    clicked("图形按钮8", [this] { Run(events_.lastPage); });
    connect(animationTimer_, &QTimer::timeout, this,
            [this] { Run(events_.downloadAnimationTick); });

    // The three folder lists toggle their check column the same way.
    for (Grid* grid : {myFontsGrid_, recycleBinGrid_, backupGrid_}) {
        connect(grid, &Grid::LeftReleased, this, [grid](QPoint at) {
            if (InsideCheckColumn(grid->Data(), at.x())) {
                ToggleCurrentRowCheck(grid->Data(), 2);
            }
        });
    }
    clicked("图形按钮27", [this] { Run(events_.reinstallDownloadedFonts); });
    clicked("图形按钮14", [this] { Run(events_.deleteDownloadedFonts); });
    connect(&Named<QCheckBox>("选择框2"), &QCheckBox::clicked, this,
            [this](bool checked) { Run(events_.selectAllDownloadedFonts, checked); });
    clicked("图形按钮16", [this] { Run(events_.restoreFromRecycleBin); });
    clicked("图形按钮15", [this] { Run(events_.emptyRecycleBin); });
    connect(&Named<QCheckBox>("选择框1"), &QCheckBox::clicked, this,
            [this](bool checked) { SetColumnsChecked(recycleBinGrid_->Data(), {2}, checked); });
    clicked("图形按钮1", [this] { Run(events_.backUpAllFonts); });
    clicked("图形按钮10", [this] { Run(events_.restoreAllFonts); });
    connect(&Named<QCheckBox>("选择框3"), &QCheckBox::clicked, this,
            [this](bool checked) { SetColumnsChecked(backupGrid_->Data(), {2}, checked); });

    // Design resources.
    for (const char* name : kLinkButtons) {
        clicked(name, [this, name] {
            NavigateBox("超文本浏览框3",
                        QString::fromStdString(LinkButtonAddress(name, addresses_)));
        });
    }
}

bool MainPages::eventFilter(QObject* watched, QEvent* event) {
    // Every press into the preview box empties it, also after the user typed there.
    if (event->type() == QEvent::MouseButtonPress && watched == controls_.at("编辑框4")) {
        static_cast<QLineEdit*>(watched)->clear();
    }
    return QObject::eventFilter(watched, event);
}

void MainPages::SelectAllSystemFonts(bool checked) {
    // Visible on its page, whether or not the page is the current one.
    if (!searchGrid_->isHidden()) {
        SetColumnsChecked(searchGrid_->Data(), {2}, checked);
        return;
    }
    SetColumnsChecked(systemGrid_->Data(), {2, 5}, checked);
}

void MainPages::PrepareGridColumns() {
    for (Grid* grid : {myFontsGrid_, recycleBinGrid_}) {
        grid->Data().SetColumnKind(2, CellKind::kCheckBox);
        grid->Data().SetColumnWidth(0, 400);
        grid->Data().SetColumnWidth(1, 192);
    }
    backupGrid_->Data().SetColumnKind(0, CellKind::kText);
    backupGrid_->Data().SetColumnKind(1, CellKind::kText);
    backupGrid_->Data().SetColumnKind(2, CellKind::kCheckBox);
    searchGrid_->Data().SetColumnKind(2, CellKind::kCheckBox);
    for (int column : {0, 1, 3, 4}) {
        systemGrid_->Data().SetColumnKind(column, CellKind::kText);
    }
    systemGrid_->Data().SetColumnKind(2, CellKind::kCheckBox);
    systemGrid_->Data().SetColumnKind(5, CellKind::kCheckBox);
}

void MainPages::ApplyLayout(const FrameLayout& layout) {
    const auto setWidth = [](QWidget& control, int width) {
        control.resize(width, control.height());
    };
    for (Grid* grid : {searchGrid_, myFontsGrid_, recycleBinGrid_, backupGrid_}) {
        setWidth(*grid, layout.gridWidth);
    }
    setWidth(Named<QGroupBox>("分组框6"), layout.gridWidth);
    for (Grid* grid : {backupGrid_, recycleBinGrid_, myFontsGrid_}) {
        grid->Data().SetColumnWidth(0, layout.folderGridColumns[0]);
        grid->Data().SetColumnWidth(1, layout.folderGridColumns[1]);
    }
    const char* const paging[] = {"图形按钮2", "图形按钮6", "图形按钮7", "图形按钮8"};
    for (std::size_t i = 0; i < std::size(paging); ++i) {
        QWidget& button = Named<GraphicButton>(paging[i]);
        button.move(layout.pagingButtonLefts[i], button.y());
    }
    QWidget& pageLabel = Named<QLabel>("标签1");
    pageLabel.move(layout.pageLabelLeft, pageLabel.y());
    for (int column = 0; column < 6; ++column) {
        systemGrid_->Data().SetColumnWidth(
            column, layout.systemGridColumns[static_cast<std::size_t>(column)]);
    }
    searchGrid_->Data().SetColumnWidth(0, layout.systemGrid2Columns[0]);
    searchGrid_->Data().SetColumnWidth(1, layout.systemGrid2Columns[1]);
    setWidth(*systemGrid_, layout.systemGridWidth);
}

void MainPages::NavigateBox(const char* boxName, const QString& address) {
    static_cast<QWebEngineView*>(controls_.at(boxName))->setUrl(QUrl(address));
}

void MainPages::OpenInDefaultBrowser(const QString& address) {
    if (open_) {
        open_(address);
    }
}

void MainPages::ShowRecognitionWindow() {
    CreateRecognitionWindow();
    recognitionWindow_->setWindowModality(Qt::WindowModal);
    recognitionWindow_->show();
    recognitionWindow_->raise();
}

void MainPages::SetShareBoxVisible(bool visible) {
    controls_.at("超文本浏览框5")->setVisible(visible);
}

void MainPages::PostUpdateOffer() {
    QMetaObject::invokeMethod(
        controls_.at("标签13"), [this] { Run(events_.offerCatalogueUpdate); },
        Qt::QueuedConnection);
}

void MainPages::ShowAboutBox() {
    QMessageBox box(QMessageBox::NoIcon, Text(kAboutTitle),
                    QString::fromStdString(AboutText(addresses_)), QMessageBox::Ok, &window_);
    box.exec();
}

void MainPages::OpenInstallPathWindow() {
    InstallPathWindow window(&window_);
    window.exec();
}

}  // namespace glyphwell::ui
