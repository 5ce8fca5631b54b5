// speech-compare INPUT DECODED: how far a coder's output is from its input.
#include <cstdio>
#include <string>
#include <vector>

#include "analysis_grid.h"
#include "delay_alignment.h"
#include "speech_comparison.h"
#include "wav_io.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: speech-compare INPUT.wav DECODED.wav\n");
        return 2;
    }
    std::vector<float> input;
    std::vector<float> decoded;
    std::string error;
    if (!read_speech(argv[1], kMeasureRate, &input, &error) ||
        !read_speech(argv[2], kMeasureRate, &decoded, &error)) {
        std::fprintf(stderr, "speech-compare: %s\n", error.c_str());
        return 1;
    }
    const SpeechComparison comparison = compare_speech(input, decoded);
    const QualitySummary summary = summarize(comparison, 0, input.size());
    if (summary.speech_frames == 0) {
        std::fprintf(stderr, "speech-compare: %s holds no speech to compare\n", argv[1]);
        return 1;
    }
    std::printf("delay of the decoded signal:  %.1f ms (amplitude-envelope correlation, +-%d ms)\n",
                1000.0 * comparison.delay_samples / kMeasureRate, kMaxDelayMs);
    std::printf("mel-cepstral distortion:      %.2f dB over %zu speech frames of 10 ms\n",
                static_cast<double>(summary.mcd_db), summary.speech_frames);
    std::printf("voicing decisions that agree: %.1f %%\n",
                100.0 * static_cast<double>(summary.voicing_match));
    return 0;
}
