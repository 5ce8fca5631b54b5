// The coders the quality benchmark compares, each driven through its own command-line tools.
#pragma once

#include <string>
#include <vector>

#include "wav_io.h"

// Names of the coders the report singles out: ours, the speed reference, the quality floor.
constexpr const char* kOurCoder = "parlo-codec";
constexpr const char* kCodec2At2400 = "codec2 2400";
constexpr const char* kLpc10 = "LPC-10 (sox)";

struct CoderCommands {
    std::string name;
    int bit_rate = 0;
    PcmContainer container = PcmContainer::wav;  // of the input it reads and the output it writes
    // Arguments with the placeholders {in}, {bits} and {out}.
    std::vector<std::string> encode;
    std::vector<std::string> decode;
};

// This codec in both analysis modes (from `bin_dir`), then the peers found on this machine;
// `missing` names the peers that could not be found, with the reason.
std::vector<CoderCommands> compared_coders(const std::string& bin_dir,
                                           std::vector<std::string>* missing);

struct CoderRun {
    bool succeeded = false;
    std::string failure;  // the command that failed
    double encode_seconds = 0.0;
    double decode_seconds = 0.0;
    std::vector<float> decoded;
};

// Encodes and decodes `speech` through files in `work_dir`.
CoderRun run_coder(const CoderCommands& coder, const std::vector<float>& speech,
                   const std::string& work_dir);
