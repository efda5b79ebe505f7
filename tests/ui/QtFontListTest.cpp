#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

#include <filesystem>
#include <string>
#include <thread>

#include "fonts/FontFixtures.h"
#include "platform/Files.h"
#include "ui/Grid.h"
#include "ui/UiFonts.h"

namespace glyphwell::ui {
namespace {

namespace fs = std::filesystem;

bool SharedListHas(const fs::path& file) {
    FcFontSet* set = FcConfigGetFonts(nullptr, FcSetSystem);
    for (int i = 0; set != nullptr && i < set->nfont; ++i) {
        FcChar8* listed = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &listed) == FcResultMatch &&
            file.string() == reinterpret_cast<const char*>(listed)) {
            return true;
        }
    }
    return false;
}

// Qt reads its font list once a process, so this program holds this one test.
TEST(QtFontList, HoldsTheSystemFontsAndTheUsersFacesItIsHanded) {
    test::FontconfigSandbox sandbox;
    fs::copy_file(test::kUMing, sandbox.SystemFolder() / "uming.ttc");
    fs::copy_file(test::kDejaVuSans, sandbox.SystemFolder() / "DejaVuSans.ttf");
    const fs::path drawn = sandbox.FontsFolder() / "drawn.ttf";
    test::WriteRenamedFont(drawn, "Drawn Words");
    const fs::path fancy = sandbox.FontsFolder() / "fancy.ttf";
    test::WriteRenamedFont(fancy, "Fancy Words");
    // A desktop rule that prefers a user's font for fantasy.
    platform::WriteWholeFile(sandbox.RejectFile(),
                             "<fontconfig><alias><family>fantasy</family><prefer>"
                             "<family>Fancy Words</family></prefer></alias></fontconfig>");
    FcInitReinitialize();

    LimitQtFontList();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "qt_font_list_tests";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    UseInterfaceFont();
    EXPECT_TRUE(QFontDatabase::hasFamily("AR PL UMing CN"));
    EXPECT_TRUE(QFontDatabase::hasFamily("DejaVu Sans"));
    EXPECT_FALSE(QFontDatabase::hasFamily("Drawn Words"));
    EXPECT_FALSE(QFontDatabase::hasFamily("Fancy Words"));
    EXPECT_FALSE(SharedListHas(drawn));

    // After the first paint the browser engine's font look-up runs beside the interface.
    // It gives the engine every installed font, and its default families come out as with
    // Qt's whole list.
    std::thread lookUp([] { ShareWholeFontList(); });

    // A grid cell whose sample cannot be drawn from its file (a Yi syllable neither it nor the
    // interface face holds) is drawn by Qt, in its face.
    Grid grid(2, "grid");
    grid.resize(400, 100);
    grid.Data().SetRowCount(1);
    grid.Data().SetColumnWidth(0, 300);
    grid.SetFaceFiles([&drawn](const std::string&) { return drawn.string(); });
    grid.Data().SetText(0, 0, "Ab\uA000");
    grid.Data().SetFaceName(0, 0, 0, 0, "Drawn Words");
    grid.Data().SetFontHeight(0, 0, 0, 0, 20);
    grid.grab();
    EXPECT_TRUE(QFontDatabase::hasFamily("Drawn Words"));
    EXPECT_EQ(grid.model()->index(0, 0).data(Qt::FontRole).value<QFont>().family(), "Drawn Words");

    lookUp.join();
    EXPECT_TRUE(SharedListHas(drawn));
    QFont font;
    font.setStyleHint(QFont::Fantasy);
    EXPECT_EQ(font.defaultFamily().toStdString(), "Fancy Words");
}

}  // namespace
}  // namespace glyphwell::ui
