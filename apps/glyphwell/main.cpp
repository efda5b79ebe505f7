// The desktop program.

#include <QApplication>

#include <cstdio>

#include "app/CommandLine.h"
#include "platform/RunDirectory.h"
#include "ui/MainWindow.h"

int main(int argc, char** argv) {
    using namespace glyphwell;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    app::CommonOptions options = app::ParseCommonOptions(arguments);
    if (!options.error.empty()) {
        std::fprintf(stderr, "glyphwell: %s\n", options.error.c_str());
        return 2;
    }
    QApplication application(argc, argv);
    app::ProgramState state(
        platform::ResolveRunDirectory(platform::ProgramDirectory(), options.home),
        platform::ResolveServiceAddresses(options.addresses, platform::ProcessEnvironment));
    ui::MainWindow window(state);
    window.MainWindowCreated();
    window.show();
    return application.exec();
}
