#pragma once
// Makes the controls of one page from its rows of the controls table, so that every control
// has the place, visibility, first text and objectName its row gives. Pages keep typed
// pointers to what was made; nothing looks a control up by its name.

#include <QString>
#include <QWidget>

#include <array>
#include <functional>

#include "platform/ServiceAddresses.h"
#include "ui/logic/PageControls.h"

namespace glyphwell::ui {

// Opens an address outside the program (the desktop's default browser).
using LinkOpener = std::function<void(const QString& address)>;

// What every page is given when it is built.
struct PageContext {
    QWidget& window;  // owns dialogs, menus and timers
    const platform::ServiceAddresses& addresses;
    const LinkOpener& openLink;
};

// The controls made for one page, by id.
class PageControlSet {
  public:
    // Makes every control of page `pageIndex` into `page`, in the table's order (later ones lie
    // above earlier ones), and the controls that sit inside one of them.
    PageControlSet(int pageIndex, QWidget& page, const platform::ServiceAddresses& addresses);

    template <typename T>
    T& Get(ControlId id) const {
        auto* control = dynamic_cast<T*>(made_[static_cast<std::size_t>(id)]);
        Q_ASSERT(control != nullptr);
        return *control;
    }

  private:
    std::array<QWidget*, static_cast<std::size_t>(ControlId::kCount)> made_{};
};

}  // namespace glyphwell::ui
