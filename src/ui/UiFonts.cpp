#include "ui/UiFonts.h"

#include <QApplication>
#include <QStringList>

namespace glyphwell::ui {

void InstallSongSubstitution() {
    static const bool installed = [] {
        // fonts-arphic-uming is installed with the program; the others serve where present.
        const QStringList mingFaces = {"AR PL UMing CN", "AR PL UMing TW", "AR PL UMing HK",
                                       "Noto Serif CJK SC", "Source Han Serif SC"};
        QFont::insertSubstitutions(kSongFaceName, mingFaces);
        QFont::insertSubstitutions("SimSun", mingFaces);
        return true;
    }();
    (void)installed;
}

QFont SongFont(int pixelSize) {
    InstallSongSubstitution();
    QFont font(kSongFaceName);
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

}  // namespace glyphwell::ui
