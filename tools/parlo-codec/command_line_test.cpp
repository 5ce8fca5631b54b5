#include "command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ParseCase {
    const char* name;
    std::vector<const char*> args;
    bool ok;
    Command command;
    bool low_mips;
    const char* input;
};

TEST(ParseCommandLineTest, AcceptsTheThreeCommandsAndRefusesTheRest) {
    const ParseCase cases[] = {
        {"encode", {"encode", "in.wav", "out.bit"}, true, Command::kEncode, false, "in.wav"},
        {"decode", {"decode", "in.bit", "out.wav"}, true, Command::kDecode, false, "in.bit"},
        {"roundtrip, option last",
         {"roundtrip", "a.wav", "b.wav", "--low-mips"},
         true,
         Command::kRoundtrip,
         true,
         "a.wav"},
        {"option first",
         {"--low-mips", "encode", "a.wav", "b.bit"},
         true,
         Command::kEncode,
         true,
         "a.wav"},
        {"nothing", {}, false, Command::kEncode, false, ""},
        {"unknown command", {"play", "a.wav", "b.wav"}, false, Command::kEncode, false, ""},
        {"missing output", {"encode", "a.wav"}, false, Command::kEncode, false, ""},
        {"extra file", {"decode", "a.bit", "b.wav", "c.wav"}, false, Command::kEncode, false, ""},
        {"unknown option",
         {"encode", "a.wav", "b.bit", "--fast"},
         false,
         Command::kEncode,
         false,
         ""},
    };
    for (const ParseCase& c : cases) {
        std::vector<const char*> argv = {"parlo-codec"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        Options options;
        std::string error;
        const bool ok =
            parse_command_line(static_cast<int>(argv.size()), argv.data(), &options, &error);
        EXPECT_EQ(ok, c.ok) << c.name;
        if (!ok) {
            EXPECT_FALSE(error.empty()) << c.name;
            continue;
        }
        EXPECT_EQ(options.command, c.command) << c.name;
        EXPECT_EQ(options.low_mips, c.low_mips) << c.name;
        EXPECT_EQ(options.input, c.input) << c.name;
    }
}

}  // namespace
