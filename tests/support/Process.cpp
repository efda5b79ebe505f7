#include "support/Process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
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

int StartCli(const std::vector<std::string>& arguments, const std::filesystem::path& folder) {
    const char* cli = std::getenv("GLYPHWELL_CLI");
    if (cli == nullptr) {
        ADD_FAILURE() << "GLYPHWELL_CLI is not set";
        return -1;
    }
    std::vector<char*> argv{const_cast<char*>(cli)};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        if (::chdir(folder.c_str()) == 0) {
            ::execv(cli, argv.data());
        }
        ::_exit(127);
    }
    return pid;
}

int WaitForProcess(int pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ShellQuote(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace glyphwell::test
