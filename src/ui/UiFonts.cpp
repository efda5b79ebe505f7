#include "ui/UiFonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include <atomic>
#include <mutex>
#include <set>

#include "fonts/FontFaces.h"

namespace glyphwell::ui {
namespace {

// fonts-noto-cjk and fonts-arphic-uming are installed with the program. The first draws Latin
// letters as cleanly as Chinese; the second's small-size bitmaps make "l" read like "1", so it
// only stands in where the first is missing.
const QStringList& MingFaces() {
    static const QStringList faces = {"Noto Serif CJK SC", "Source Han Serif SC", "AR PL UMing CN",
                                      "AR PL UMing TW", "AR PL UMing HK"};
    return faces;
}

struct MingFace {
    QString family;  // empty when none is installed
    std::string file;
};

// The face "宋体" stands for: the first Ming face installed, found in our own font index. Qt
// would find it too, but it walks every installed family for each name it tries, for every
// size and script, which with thousands of fonts holds up the first paint.
const MingFace& InstalledMingFace() {
    static const MingFace face = [] {
        for (const QString& family : MingFaces()) {
            std::string file = fonts::FontFileOfFamily(family.toStdString());
            if (!file.empty()) {
                return MingFace{family, std::move(file)};
            }
        }
        return MingFace{};
    }();
    return face;
}

std::atomic<bool> qtListLimited = false;

}  // namespace

void InstallSongSubstitution() {
    static const bool installed = [] {
        QFont::insertSubstitutions(kSongFaceName, MingFaces());
        QFont::insertSubstitutions("SimSun", MingFaces());
        return true;
    }();
    (void)installed;
}

QFont SongFont(int pixelSize) {
    InstallSongSubstitution();
    const MingFace& ming = InstalledMingFace();
    QFont font(ming.family.isEmpty() ? QString(kSongFaceName) : ming.family);
    font.setPixelSize(pixelSize);
    // The Ming faces hold Chinese, Latin and the punctuation of both. Without merging, Qt keeps
    // one face per size instead of a fallback list of every installed font (80 kB apiece with
    // ten thousand fonts).
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

void UseInterfaceFont() {
    QApplication::setFont(SongFont(kInterfacePixelSize));
}

std::string FaceFileOf(const QFont& font) {
    const MingFace& ming = InstalledMingFace();
    if (!ming.family.isEmpty() && font.family() == ming.family) {
        return ming.file;
    }
    std::string file = fonts::FontFileOfFamily(font.family().toStdString());
    return file.empty() ? fonts::FontFileOfFamily(QFontInfo(font).family().toStdString()) : file;
}

void LimitQtFontList() {
    const std::string& interfaceFace = InstalledMingFace().file;
    if (!interfaceFace.empty() &&
        fonts::LimitSharedFontList(fonts::UserFontFolders(), {interfaceFace})) {
        qtListLimited = true;
    }
}

void ShareWholeFontList() {
    static std::once_flag shared;
    std::call_once(shared, [] {
        if (!fonts::RestoreSharedFontList() || !qtListLimited) {
            return;
        }
        // Qt picks a default family as the first of fontconfig's choices it knows; with its
        // whole list it knew them all.
        for (const char* generic : {"serif", "sans-serif", "monospace", "cursive", "fantasy"}) {
            const fonts::InstalledFace first = fonts::FirstFaceForGenericFamily(generic);
            if (!first.file.empty() &&
                !QFontDatabase::hasFamily(QString::fromStdString(first.family))) {
                LetQtDrawFace(first.file);
            }
        }
    });
}

void LetQtDrawFace(const std::string& file) {
    if (!qtListLimited || file.empty()) {
        return;
    }
    static std::mutex mutex;
    static std::set<std::string> added;
    {
        std::lock_guard lock(mutex);
        if (!added.insert(file).second) {
            return;
        }
    }
    QFontDatabase::addApplicationFont(QString::fromStdString(file));
}

}  // namespace glyphwell::ui
