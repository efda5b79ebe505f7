#include "ui/BrowserEngine.h"

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <cstring>

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

namespace {

QtMessageHandler passOn = nullptr;

// Notes that say nothing is wrong: the engine's start-up settings, pages' own script messages,
// software drawing where the desktop has no OpenGL, the sandbox we turn off as root.
bool IsRoutine(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        return false;
    }
    const char* category = context.category != nullptr ? context.category : "";
    for (const char* routine : {"qt.webenginecontext", "js", "qt.qpa.gl"}) {
        if (std::strcmp(category, routine) == 0) {
            return true;
        }
    }
    for (const char* routine : {"XDG_RUNTIME_DIR not set", "Cannot create platform OpenGL context",
                                "No suitable graphics backend found", "Sandboxing disabled by user",
                                "This plugin does not support setting window masks"}) {
        if (message.contains(QLatin1String(routine))) {
            return true;
        }
    }
    return false;
}

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!IsRoutine(type, context, message) && passOn != nullptr) {
        passOn(type, context, message);
    }
}

}  // namespace

void KeepConsoleQuiet() {
    if (qEnvironmentVariable("GLYPHWELL_VERBOSE") == QLatin1String("1") || passOn != nullptr) {
        return;
    }
    passOn = qInstallMessageHandler(QuietHandler);
}

}  // namespace glyphwell::ui
