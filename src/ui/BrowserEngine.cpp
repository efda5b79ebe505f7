#include "ui/BrowserEngine.h"

#include <QCoreApplication>
#include <QtGlobal>

#include <unistd.h>

namespace glyphwell::ui {

namespace {

void SetUnlessSet(const char* name, const QByteArray& value) {
    if (!qEnvironmentVariableIsSet(name)) {
        qputenv(name, value);
    }
}

}  // namespace

void PrepareBrowserEngine() {
    // The engine refuses to start as root with its sandbox on.
    if (geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    // The boxes show small pages of one or two sites: one page process serves them all,
    // instead of one each at tens of megabytes apiece.
    QByteArray engineFlags = "--renderer-process-limit=1";
    if (qEnvironmentVariable("GLYPHWELL_GPU") != QLatin1String("1")) {
        SetUnlessSet("QT_XCB_GL_INTEGRATION", "none");
        SetUnlessSet("QT_QUICK_BACKEND", "software");
        engineFlags += " --disable-gpu";
    }
    SetUnlessSet("QTWEBENGINE_CHROMIUM_FLAGS", engineFlags);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

}  // namespace glyphwell::ui
