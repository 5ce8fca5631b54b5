// parlo-codec: the speech codec on WAV files, for listening and for
// measurements.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bit_file.h"
#include "codec_run.h"
#include "command_line.h"
#include "melp_types.h"
#include "wav_io.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

using Clock = std::chrono::steady_clock;

int fail(const std::string& message) {
    std::fprintf(stderr, "parlo-codec: %s\n", message.c_str());
    return kExitFailure;
}

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void report(const char* what, std::size_t superframes, double codec_seconds) {
    const double speech = static_cast<double>(superframes) * kSuperframeSamples / kCodecRate;
    const double bit_rate = static_cast<double>(superframes) * kSuperframeBits / speech;
    std::printf("%s: %.2f s of speech, %zu superframes, %.0f bit/s", what, speech, superframes,
                bit_rate);
    if (codec_seconds > 0.0) {
        std::printf(", %.1f x real time\n", speech / codec_seconds);
    } else {
        std::printf(", too fast to time\n");
    }
}

// Any WAV in, 8000 Hz mono out.
bool load_speech(const std::string& path, std::vector<float>* speech, std::string* error) {
    if (!read_speech(path, kCodecRate, speech, error)) {
        *error = "cannot read " + *error;
        return false;
    }
    if (speech->empty()) {
        *error = path + " holds no audio";
        return false;
    }
    return true;
}

bool save_speech(const std::string& path, const std::vector<float>& speech, std::string* error) {
    if (write_pcm16(path, speech, kCodecRate, PcmContainer::wav, error)) return true;
    *error = "cannot write " + *error;
    return false;
}

int run_encode(const Options& options) {
    std::vector<float> speech;
    std::string error;
    if (!load_speech(options.input, &speech, &error)) return fail(error);
    const Clock::time_point start = Clock::now();
    const std::vector<uint8_t> payloads = encode_speech(speech);
    const double seconds = seconds_since(start);
    if (!write_bit_file(options.output, payloads, &error)) return fail(error);
    report("encode", payloads.size() / kPayloadBytes, seconds);
    return 0;
}

int run_decode(const Options& options) {
    std::vector<uint8_t> payloads;
    std::string error;
    if (!read_bit_file(options.input, &payloads, &error)) return fail(error);
    const Clock::time_point start = Clock::now();
    const std::vector<float> speech = decode_speech(payloads);
    const double seconds = seconds_since(start);
    if (!save_speech(options.output, speech, &error)) return fail(error);
    report("decode", payloads.size() / kPayloadBytes, seconds);
    return 0;
}

int run_roundtrip(const Options& options) {
    std::vector<float> speech;
    std::string error;
    if (!load_speech(options.input, &speech, &error)) return fail(error);
    const Clock::time_point start = Clock::now();
    const std::vector<uint8_t> payloads = encode_speech(speech);
    const double encode_seconds = seconds_since(start);
    const Clock::time_point decode_start = Clock::now();
    const std::vector<float> decoded = decode_speech(payloads);
    const double decode_seconds = seconds_since(decode_start);
    if (!save_speech(options.output, decoded, &error)) return fail(error);
    report("encode", payloads.size() / kPayloadBytes, encode_seconds);
    report("decode", payloads.size() / kPayloadBytes, decode_seconds);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parse_command_line(argc, argv, &options, &error)) {
        std::fprintf(stderr, "parlo-codec: %s\n%s", error.c_str(), usage_text());
        return kExitUsage;
    }
    const CodecSession session(options.low_mips);
    switch (options.command) {
        case Command::kEncode:
            return run_encode(options);
        case Command::kDecode:
            return run_decode(options);
        case Command::kRoundtrip:
            return run_roundtrip(options);
    }
    return kExitUsage;
}
