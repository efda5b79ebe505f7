#include "ui/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace glyphwell::ui {

bool UseChineseQtTexts() {
    static QTranslator* const translator = [] {
        auto* loaded = new QTranslator(QCoreApplication::instance());
        if (!loaded->load("qtbase_zh_CN", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            delete loaded;
            return static_cast<QTranslator*>(nullptr);
        }
        QCoreApplication::installTranslator(loaded);
        return loaded;
    }();
    return translator != nullptr;
}

}  // namespace glyphwell::ui
