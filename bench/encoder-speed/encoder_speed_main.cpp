// encoder-speed: frames per second of this codec's encoder in both analysis modes, beside the
// codec2 encoder at 2400 bit/s on the same speech.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis_grid.h"
#include "codec_state.h"
#include "low_mips.h"
#include "markdown_table.h"
#include "melp_ana.h"
#include "melp_syn.h"
#include "speech_corpus.h"
#include "timed_command.h"
#include "voice_packet.h"
#include "wav_io.h"

namespace {

constexpr int kRuns = 3;  // best of three, as other agents share the processors
constexpr int kCodec2FrameSamples = 160;
constexpr int kCorpusRepeats = 4;  // long enough that a run takes a measurable time

struct EncoderSpeed {
    std::string name;
    int frame_samples = 0;
    double cpu_seconds = 0.0;  // best run
};

std::vector<int16_t> to_pcm16(const std::vector<float>& samples) {
    std::vector<int16_t> pcm(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const float scaled = std::round(samples[i] * 32767.0f);
        pcm[i] = static_cast<int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
    }
    return pcm;
}

double encode_once(const std::vector<int16_t>& pcm, int low_mips) {
    set_low_mips(low_mips);
    encoder_startup();
    CodecState* state = codec_state_create();
    VoicePacket packet{};
    const double start = process_cpu_seconds();
    for (std::size_t first = 0; first + kSuperframeSamples <= pcm.size();
         first += kSuperframeSamples) {
        encode_superframe(&packet, state, pcm.data() + first);
    }
    const double elapsed = process_cpu_seconds() - start;
    codec_state_destroy(state);
    encoder_shutdown();
    return elapsed;
}

EncoderSpeed our_encoder(const std::vector<int16_t>& pcm, int low_mips) {
    EncoderSpeed speed{low_mips ? "parlo-codec low-MIPS" : "parlo-codec", kFrameLength, 1e30};
    for (int run = 0; run < kRuns; ++run) {
        speed.cpu_seconds = std::min(speed.cpu_seconds, encode_once(pcm, low_mips));
    }
    return speed;
}

bool codec2_encoder(const std::string& raw_path, const std::string& work_dir, EncoderSpeed* speed) {
    *speed = EncoderSpeed{"c2enc 2400", kCodec2FrameSamples, 1e30};
    const std::vector<std::string> command = {"c2enc", "2400", raw_path, work_dir + "/c2enc.bit"};
    for (int run = 0; run < kRuns; ++run) {
        const CommandResult result = run_timed(command, work_dir + "/c2enc.log");
        if (!result.succeeded) {
            std::fprintf(stderr, "encoder-speed: %s failed\n", command_line(command).c_str());
            return false;
        }
        speed->cpu_seconds = std::min(speed->cpu_seconds, result.cpu_seconds);
    }
    return true;
}

void print_speeds(const std::vector<EncoderSpeed>& speeds, double speech_seconds) {
    const double reference = speeds.back().cpu_seconds;
    MarkdownTable table({"encoder", "frame ms", "frames/s", "x real time", "speed / c2enc 2400"});
    for (const EncoderSpeed& speed : speeds) {
        const double frames = speech_seconds * kMeasureRate / speed.frame_samples;
        table.add_row({speed.name, format_fixed(1000.0 * speed.frame_samples / kMeasureRate, 1),
                       format_fixed(frames / speed.cpu_seconds, 0),
                       format_fixed(speech_seconds / speed.cpu_seconds, 1),
                       format_fixed(reference / speed.cpu_seconds, 2)});
    }
    std::printf("%s", table.render().c_str());
}

void print_goals(const EncoderSpeed& normal, const EncoderSpeed& low_mips,
                 const EncoderSpeed& codec2) {
    const double ours_vs_codec2 = codec2.cpu_seconds / normal.cpu_seconds;
    const double low_vs_normal = normal.cpu_seconds / low_mips.cpu_seconds;
    std::printf("- at least as fast as c2enc 2400: %s (%.2f times its speed)\n",
                ours_vs_codec2 >= 1.0 ? "met" : "NOT met", ours_vs_codec2);
    std::printf("- low-MIPS at least twice as fast as normal: %s (%.2f times)\n",
                low_vs_normal >= 2.0 ? "met" : "NOT met", low_vs_normal);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: encoder-speed WORK-DIR SPEECH.wav...\n");
        return 2;
    }
    const std::string work_dir = argv[1];
    SpeechCorpus corpus;
    std::string error;
    if (!load_corpus(std::vector<std::string>(argv + 2, argv + argc), &corpus, &error)) {
        std::fprintf(stderr, "encoder-speed: %s\n", error.c_str());
        return 1;
    }
    std::vector<float> speech;
    for (int repeat = 0; repeat < kCorpusRepeats; ++repeat) {
        speech.insert(speech.end(), corpus.samples.begin(), corpus.samples.end());
    }
    // Whole superframes only, so that every encoder gets exactly the same speech.
    speech.resize(speech.size() / kSuperframeSamples * kSuperframeSamples);
    const std::string raw_path = work_dir + "/encoder-speed.raw";
    if (!write_pcm16(raw_path, speech, kMeasureRate, PcmContainer::raw, &error)) {
        std::fprintf(stderr, "encoder-speed: %s\n", error.c_str());
        return 1;
    }
    const std::vector<int16_t> pcm = to_pcm16(speech);
    const double seconds = duration_seconds(speech, kMeasureRate);

    synth_startup();
    const EncoderSpeed normal = our_encoder(pcm, 0);
    const EncoderSpeed low_mips = our_encoder(pcm, 1);
    synth_shutdown();
    EncoderSpeed codec2;
    if (!codec2_encoder(raw_path, work_dir, &codec2)) return 1;

    std::printf(
        "Encoder speed on %.1f s of speech at 8000 Hz (the benchmark voices %d times),\n"
        "processor time, best of %d runs (this codec in-process; c2enc as a command,\n"
        "reading its file included)\n\n",
        seconds, kCorpusRepeats, kRuns);
    print_speeds({normal, low_mips, codec2}, seconds);
    std::printf("\n");
    print_goals(normal, low_mips, codec2);
    return 0;
}
