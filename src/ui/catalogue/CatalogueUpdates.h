#pragma once
// The catalogue update in the window: "检测更新" and the start-up check run the update's logic,
// whose news reaches the status line, the menu item and message boxes on the interface thread.

#include <QObject>
#include <QString>

#include <filesystem>
#include <memory>
#include <string_view>

#include "app/Startup.h"
#include "ui/PageDialogs.h"
#include "update/CatalogueUpdate.h"

namespace glyphwell::ui {

class MainWindow;

// Owned beside the window, not by it: it must end (and its workers with it) before the window
// and the catalogue page it shows the new catalogue on.
class CatalogueUpdates : public QObject, private update::CatalogueUpdateView {
    Q_OBJECT
  public:
    CatalogueUpdates(MainWindow& window, app::ProgramState& state,
                     catalogue::CatalogueDatabase& database,
                     std::filesystem::path downloadTarget = update::kUpdateDownloadName);
    ~CatalogueUpdates() override;

    // Message boxes unless replaced.
    void SetDialogs(PageDialogs dialogs) { dialogs_ = std::move(dialogs); }
    update::CatalogueUpdate& Update() { return *update_; }

  private:
    void RepaintVersionLine() override;
    void EnableUpdateMenuItem(bool enabled) override;
    void RaiseUpdateOffer() override;
    void TellUpdateMessage(std::string_view message) override;
    bool AskToUpdate() override;

    MainWindow& window_;
    PageDialogs dialogs_;
    std::unique_ptr<update::CatalogueUpdate> update_;
};

}  // namespace glyphwell::ui
