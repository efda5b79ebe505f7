#include "ui/UiFonts.h"

#include <QApplication>
#include <QStringList>

namespace glyphwell::ui {

void InstallSongSubstitution() {
    static const bool installed = [] {
        // fonts-noto-cjk and fonts-arphic-uming are installed with the program. The first draws
        // Latin letters as cleanly as Chinese; the second's small-size bitmaps make "l" read
        // like "1", so it only stands in where the first is missing.
        const QStringList mingFaces = {"Noto Serif CJK SC", "Source Han Serif SC",
                                       "AR PL UMing CN",    "AR PL UMing TW",
                                       "AR PL UMing HK"};
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
