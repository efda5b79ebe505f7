#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace glyphwell::test {

struct CommandResult {
    std::string output;  // standard output only
    int exitCode = -1;
};

// Runs `command` through the shell.
CommandResult RunCommand(const std::string& command);

// Runs the command-line program (GLYPHWELL_CLI, set by ctest) with `arguments` as the shell
// reads them; a test failure when the variable is missing.
CommandResult RunCliCommand(const std::string& arguments);

// The same with `--home home` first: its standard output, and its exit code in `exitCode`.
std::string RunCli(const std::filesystem::path& home, const std::string& arguments,
                   int* exitCode = nullptr);

// Starts the command-line program with `arguments` (no shell) in `folder`, its output
// discarded, and returns at once: its process id, or -1.
int StartCli(const std::vector<std::string>& arguments, const std::filesystem::path& folder);
// Waits for a started program: its exit code, or -1 when a signal ended it.
int WaitForProcess(int pid);

// `text` in single quotes for the shell.
std::string ShellQuote(std::string_view text);

}  // namespace glyphwell::test
