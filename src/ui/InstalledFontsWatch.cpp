#include "ui/InstalledFontsWatch.h"

#include <QDir>

#include "platform/Files.h"

namespace glyphwell::ui {
namespace {

// A burst of changes (a copy, a rename, the records) counts once.
constexpr int kQuietMilliseconds = 300;

}  // namespace

InstalledFontsWatch::InstalledFontsWatch(fonts::FontRegistry& registry,
                                         std::function<void()> changed, QObject* parent)
    : QObject(parent), registry_(registry), changed_(std::move(changed)) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(kQuietMilliseconds);
    connect(&quiet_, &QTimer::timeout, this, &InstalledFontsWatch::Settled);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &quiet_, qOverload<>(&QTimer::start));
    WatchPlaces();
}

void InstalledFontsWatch::WatchPlaces() {
    // Folders only: a file replaced by a rename leaves a watch on the old one behind. A folder
    // that is not there yet is watched through the nearest one that is.
    for (const std::filesystem::path& place : registry_.System().PlacesThatChange()) {
        std::filesystem::path folder = platform::FolderExists(place) ? place : place.parent_path();
        while (!folder.empty() && folder != folder.root_path() && !platform::FolderExists(folder)) {
            folder = folder.parent_path();
        }
        const QString path = QString::fromStdString(platform::PathToUtf8(folder));
        if (!folder.empty() && !watcher_.directories().contains(path)) {
            watcher_.addPath(path);
        }
    }
}

void InstalledFontsWatch::Settled() {
    WatchPlaces();  // a folder made since is watched from now on
    if (registry_.ChangedSinceLoad() && changed_) {
        changed_();
    }
}

}  // namespace glyphwell::ui
