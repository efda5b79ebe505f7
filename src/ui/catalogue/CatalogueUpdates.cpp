#include "ui/catalogue/CatalogueUpdates.h"

#include <QAction>
#include <QThread>

#include "platform/ServiceAddresses.h"
#include "ui/MainPages.h"
#include "ui/MainWindow.h"

namespace glyphwell::ui {

CatalogueUpdates::CatalogueUpdates(MainWindow& window, app::ProgramState& state,
                                   catalogue::CatalogueDatabase& database,
                                   std::filesystem::path downloadTarget)
    : window_(window), dialogs_(StandardDialogs(window)) {
    // The update's workers wait for the start-up fetch of the server's address.
    update_ = std::make_unique<update::CatalogueUpdate>(
        state.http, state.settings, state.versionLine, database,
        [&state] { return state.catalogueServerBase.Wait(); },
        platform::SiteHostName(state.addresses.site),
        update::CatalogueUpdatePlaces{state.runDirectory, std::move(downloadTarget)},
        static_cast<update::CatalogueUpdateView&>(*this));
    MainPages& pages = window_.Pages();
    connect(&pages, &MainPages::UpdateCheckRequested, this,
            [this] { update_->CheckForUpdatesCommand(); });
    connect(&pages, &MainPages::UpdateOffered, this, [this] { update_->OfferCatalogueUpdate(); });
}

CatalogueUpdates::~CatalogueUpdates() {
    // No worker waits for this thread: the workers end, and their news queued here is dropped.
    update_.reset();
}

void CatalogueUpdates::RepaintVersionLine() {
    window_.PostStatusLine();
}

void CatalogueUpdates::EnableUpdateMenuItem(bool enabled) {
    auto apply = [this, enabled] { window_.Pages().UpdateCheckItem().setEnabled(enabled); };
    if (QThread::currentThread() == thread()) {
        apply();
    } else {
        QMetaObject::invokeMethod(this, apply, Qt::QueuedConnection);
    }
}

void CatalogueUpdates::RaiseUpdateOffer() {
    window_.Pages().PostUpdateOffer();
}

void CatalogueUpdates::TellUpdateMessage(std::string_view message) {
    QMetaObject::invokeMethod(
        this,
        [this, text = QString::fromUtf8(message)] {
            if (dialogs_.tell) {
                dialogs_.tell(kMessageCaption, text);
            }
        },
        Qt::QueuedConnection);
}

bool CatalogueUpdates::AskToUpdate() {
    return dialogs_.askYesNo && dialogs_.askYesNo(QString::fromUtf8(update::kUpdatePromptCaption),
                                                  QString::fromUtf8(update::kUpdatePrompt));
}

}  // namespace glyphwell::ui
