#include "support/Process.h"

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>

namespace glyphwell::test {

CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return result;
    }
    std::array<char, 4096> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.output.append(buffer.data(), got);
    }
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

CommandResult RunCliCommand(const std::string& arguments) {
    const char* cli = std::getenv("GLYPHWELL_CLI");
    if (cli == nullptr) {
        ADD_FAILURE() << "GLYPHWELL_CLI is not set";
        return {};
    }
    return RunCommand(ShellQuote(cli) + " " + arguments);
}

std::string RunCli(const std::filesystem::path& home, const std::string& arguments, int* exitCode) {
    CommandResult result = RunCliCommand("--home " + ShellQuote(home.string()) + " " + arguments);
    if (exitCode != nullptr) {
        *exitCode = result.exitCode;
    }
    return std::move(result.output);
}

std::string ShellQuote(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace glyphwell::test
