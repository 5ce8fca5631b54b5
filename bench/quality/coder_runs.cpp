#include "coder_runs.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "analysis_grid.h"
#include "timed_command.h"

namespace {

constexpr const char* kCodec2Encoder = "c2enc";
constexpr const char* kCodec2Decoder = "c2dec";
constexpr int kTimingRuns = 3;  // best of three, as other work shares the processors

CoderCommands parlo_codec(const std::string& bin_dir, bool low_mips) {
    CoderCommands coder;
    coder.name = low_mips ? std::string(kOurCoder) + " low-MIPS" : kOurCoder;
    coder.bit_rate = 2400;
    const std::string tool = bin_dir + "/" + kOurCoder;
    coder.encode = {tool, "encode", "{in}", "{bits}"};
    coder.decode = {tool, "decode", "{bits}", "{out}"};
    if (low_mips) {
        coder.encode.push_back("--low-mips");
        coder.decode.push_back("--low-mips");
    }
    return coder;
}

CoderCommands codec2(int bit_rate) {
    const std::string mode = std::to_string(bit_rate);
    CoderCommands coder;
    coder.name = "codec2 " + mode;
    coder.bit_rate = bit_rate;
    coder.container = PcmContainer::raw;
    coder.encode = {kCodec2Encoder, mode, "{in}", "{bits}"};
    coder.decode = {kCodec2Decoder, mode, "{bits}", "{out}"};
    return coder;
}

CoderCommands sox_lpc10() {
    CoderCommands coder;
    coder.name = kLpc10;
    coder.bit_rate = 2400;
    coder.encode = {"sox", "{in}", "-t", "lpc10", "{bits}"};
    coder.decode = {"sox", "-t", "lpc10", "{bits}", "{out}"};
    return coder;
}

bool available(const std::vector<std::string>& probe) {
    return run_timed(probe, "/dev/null").succeeded;
}

std::vector<std::string> substituted(const std::vector<std::string>& args, const std::string& in,
                                     const std::string& bits, const std::string& out) {
    std::vector<std::string> result;
    for (const std::string& arg : args) {
        if (arg == "{in}") {
            result.push_back(in);
        } else if (arg == "{bits}") {
            result.push_back(bits);
        } else if (arg == "{out}") {
            result.push_back(out);
        } else {
            result.push_back(arg);
        }
    }
    return result;
}

std::string file_stem(const std::string& coder_name) {
    std::string stem;
    for (char c : coder_name) stem += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return stem;
}

// Runs the command kTimingRuns times and keeps its shortest processor time.
bool best_time(const std::vector<std::string>& command, const std::string& log, double* seconds) {
    for (int run = 0; run < kTimingRuns; ++run) {
        const CommandResult result = run_timed(command, log);
        if (!result.succeeded) return false;
        *seconds = run == 0 ? result.cpu_seconds : std::min(*seconds, result.cpu_seconds);
    }
    return true;
}

}  // namespace

std::vector<CoderCommands> compared_coders(const std::string& bin_dir,
                                           std::vector<std::string>* missing) {
    std::vector<CoderCommands> coders = {parlo_codec(bin_dir, false), parlo_codec(bin_dir, true)};
    // c2enc prints its usage and fails without arguments, so it is probed through `command -v`.
    if (available(
            {"sh", "-c", std::string("command -v ") + kCodec2Encoder + " " + kCodec2Decoder})) {
        coders.push_back(codec2(2400));
        coders.push_back(codec2(1300));
    } else {
        missing->push_back("codec2: c2enc/c2dec not installed");
    }
    // `sox --help-format` fails even for known formats, so a tenth of a second is encoded.
    if (available({"sox", "-q", "-n", "-r", "8000", "-c", "1", "-t", "lpc10", "/dev/null", "synth",
                   "0.1", "sine", "300"})) {
        coders.push_back(sox_lpc10());
    } else {
        missing->push_back("LPC-10: this sox has no lpc10 format");
    }
    return coders;
}

CoderRun run_coder(const CoderCommands& coder, const std::vector<float>& speech,
                   const std::string& work_dir) {
    CoderRun run;
    const std::string stem = work_dir + "/" + file_stem(coder.name);
    const std::string suffix = coder.container == PcmContainer::raw ? ".raw" : ".wav";
    const std::string in = stem + ".in" + suffix;
    const std::string bits = stem + ".bit";
    const std::string out = stem + ".out" + suffix;
    const std::string log = stem + ".log";
    std::remove(log.c_str());  // holds this run's messages only
    std::string error;
    if (!write_pcm16(in, speech, kMeasureRate, coder.container, &error)) {
        run.failure = error;
        return run;
    }
    const std::vector<std::string> encode = substituted(coder.encode, in, bits, out);
    const std::vector<std::string> decode = substituted(coder.decode, in, bits, out);
    if (!best_time(encode, log, &run.encode_seconds)) {
        run.failure = command_line(encode) + " (see " + log + ")";
        return run;
    }
    if (!best_time(decode, log, &run.decode_seconds)) {
        run.failure = command_line(decode) + " (see " + log + ")";
        return run;
    }
    if (!read_speech(out, kMeasureRate, &run.decoded, &error)) {
        run.failure = error;
        return run;
    }
    run.succeeded = true;
    return run;
}
