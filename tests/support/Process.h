#pragma once
#include <string>
#include <string_view>

namespace glyphwell::test {

struct CommandResult {
    std::string output;  // standard output only
    int exitCode = -1;
};

// Runs `command` through the shell.
CommandResult RunCommand(const std::string& command);

// `text` in single quotes for the shell.
std::string ShellQuote(std::string_view text);

}  // namespace glyphwell::test
