#pragma once
// Fonts installed or removed while the window is open, by this program or any other (the
// command line, another font manager, a file copied by hand): the folders where fonts and their
// records live are watched, and a change the last table load has not seen is announced once
// things have been quiet for a moment.

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <functional>

#include "fonts/FontRegistry.h"

namespace glyphwell::ui {

class InstalledFontsWatch : public QObject {
  public:
    // `changed` runs on this object's thread, after a change the table has not been loaded for.
    InstalledFontsWatch(fonts::FontRegistry& registry, std::function<void()> changed,
                        QObject* parent);

  private:
    void WatchPlaces();
    void Settled();

    fonts::FontRegistry& registry_;
    std::function<void()> changed_;
    QFileSystemWatcher watcher_;
    QTimer quiet_;
};

}  // namespace glyphwell::ui
