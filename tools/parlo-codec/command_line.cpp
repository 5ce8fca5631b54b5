#include "command_line.h"

#include <cstring>
#include <vector>

namespace {

struct CommandName {
    const char* name;
    Command command;
};
constexpr CommandName kCommands[] = {
    {"encode", Command::kEncode},
    {"decode", Command::kDecode},
    {"roundtrip", Command::kRoundtrip},
};

bool find_command(const std::string& name, Command* command) {
    for (const CommandName& entry : kCommands) {
        if (name == entry.name) {
            *command = entry.command;
            return true;
        }
    }
    return false;
}

}  // namespace

bool parse_command_line(int argc, const char* const* argv, Options* options, std::string* error) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; i++) {
        const std::string arg = argv[i];
        if (arg == "--low-mips") {
            options->low_mips = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            *error = "unknown option " + arg;
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty()) {
        *error = "no command given";
        return false;
    }
    if (!find_command(positional[0], &options->command)) {
        *error = "unknown command " + positional[0];
        return false;
    }
    if (positional.size() != 3) {
        *error = positional[0] + " takes an input and an output file";
        return false;
    }
    options->input = positional[1];
    options->output = positional[2];
    return true;
}

const char* usage_text() {
    return "usage: parlo-codec encode IN.wav OUT.bit [--low-mips]\n"
           "       parlo-codec decode IN.bit OUT.wav [--low-mips]\n"
           "       parlo-codec roundtrip IN.wav OUT.wav [--low-mips]\n"
           "A .bit file holds 81-byte superframes (270 ms of speech each) back "
           "to back.\n";
}
