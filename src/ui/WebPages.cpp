#include "ui/WebPages.h"

#include <QUrl>

#include "ui/BrowserBox.h"
#include "ui/GraphicButton.h"
#include "ui/logic/WebLinks.h"

namespace glyphwell::ui {
namespace {

constexpr ControlId kLinkButtons[] = {ControlId::kDesignSoftwareLink, ControlId::kFontSitesLink,
                                      ControlId::kCloudResourcesLink,
                                      ControlId::kSiteDirectoryLink};

}  // namespace

WebPages::WebPages(QWidget* const* pages, const PageContext& context)
    : QObject(pages[kFirstPageIndex]) {
    const PageControlSet resources(kFirstPageIndex, *pages[kFirstPageIndex], context.addresses);
    designResourcesBox_ = &resources.Get<BrowserBox>(ControlId::kDesignResourcesBox);
    for (ControlId id : kLinkButtons) {
        const QUrl address(QString::fromStdString(LinkButtonAddress(id, context.addresses)));
        connect(&resources.Get<GraphicButton>(id), &QAbstractButton::clicked, this,
                [this, address] { designResourcesBox_->Load(address); });
    }
    // The shop and the gallery are a browser box each and nothing else.
    for (int index = kFirstPageIndex + 1; index <= kLastPageIndex; ++index) {
        const PageControlSet boxes(index, *pages[index], context.addresses);
    }
}

}  // namespace glyphwell::ui
