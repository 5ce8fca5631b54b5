// The tool's command line: one command, an input and an output path, and
// options.
#pragma once

#include <string>

enum class Command { kEncode, kDecode, kRoundtrip };

struct Options {
    Command command = Command::kEncode;
    std::string input;
    std::string output;
    bool low_mips = false;
};

// Fills options from argv; on a usage error returns false with the reason in
// *error.
bool parse_command_line(int argc, const char* const* argv, Options* options, std::string* error);
// The usage text, one line per command.
const char* usage_text();
