// train-codebooks [CORPUS-DIR [TABLE-DIR]]: trains the LSF and harmonic-magnitude codebooks on
// CORPUS-DIR/train/<voice>/*.wav, measures them on the held-out voices of CORPUS-DIR/heldout/
// and writes lsf_codebook.cpp and harm_codebook.cpp into TABLE-DIR.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "harm_training.h"
#include "lsf_distortion.h"
#include "lsf_training.h"
#include "table_source.h"
#include "training_frames.h"

namespace {

constexpr double kSecondsPerFrame = kFrameLength / 8000.0;
constexpr double kBandsHz[] = {4000.0, 3000.0};

struct SpeechSet {
    std::vector<VoiceFolder> voices;
    std::vector<TrainingFrame> frames;
};

bool load_set(const std::string& dir, const char* what, SpeechSet* set) {
    set->voices = list_voice_folders(dir);
    if (set->voices.empty()) {
        std::fprintf(stderr, "train-codebooks: no voice folders with WAV files in %s\n",
                     dir.c_str());
        return false;
    }
    std::string error;
    if (!analyze_voices(set->voices, &set->frames, &error)) {
        std::fprintf(stderr, "train-codebooks: %s\n", error.c_str());
        return false;
    }
    std::printf("%s: %zu voices, %zu frames (%.1f min):", what, set->voices.size(),
                set->frames.size(), set->frames.size() * kSecondsPerFrame / 60.0);
    for (const VoiceFolder& v : set->voices) std::printf(" %s", v.name.c_str());
    std::printf("\n");
    return true;
}

void print_spectral_distortion(const char* what, const std::vector<TrainingFrame>& frames,
                               const float* lsf_codebook_hz) {
    for (double band : kBandsHz) {
        const std::vector<double> db = lsf_spectral_distortions(frames, lsf_codebook_hz, band);
        const DistortionSummary s = summarize_distortion(db);
        std::printf(
            "LSF spectral distortion, %s, 0-%.0f Hz: mean %.3f dB, %.2f%% of frames above "
            "2 dB, %.2f%% above 4 dB (%zu frames)\n",
            what, band, s.mean_db, 100.0 * s.share_above_2db, 100.0 * s.share_above_4db, db.size());
    }
}

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 3) {
        std::fprintf(stderr, "usage: train-codebooks [CORPUS-DIR [TABLE-DIR]]\n");
        return 2;
    }
    const std::string corpus = argc > 1 ? argv[1] : PARLO_REPO_DIR "/corpus";
    const std::string tables = argc > 2 ? argv[2] : PARLO_REPO_DIR "/voice/codec1/src";
    const auto start = std::chrono::steady_clock::now();

    SpeechSet train;
    SpeechSet heldout;
    if (!load_set(corpus + "/train", "training speech", &train) ||
        !load_set(corpus + "/heldout", "held-out speech", &heldout)) {
        return 1;
    }
    std::printf("analysis: %.1f s\n", seconds_since(start));

    static float lsf_hz[kLsfCodebookSize];
    const LsfTrainingReport lsf = train_lsf_codebook(train.frames, lsf_hz);
    std::printf(
        "LSF codebook: %d frames, weighted distortion %.6g stage by stage, %.6g after "
        "joint refinement (final); held out %.6g\n",
        lsf.frames, lsf.stagewise_error, lsf.joint_error,
        lsf_weighted_error(heldout.frames, lsf_hz));
    print_spectral_distortion("held out", heldout.frames, lsf_hz);
    print_spectral_distortion("training", train.frames, lsf_hz);

    static float harm[kHarmCodebookSize];
    const HarmTrainingReport h = train_harm_codebook(train.frames, harm);
    std::printf(
        "harmonic codebook: %d voiced frames, weighted squared error %.6g (final); held "
        "out %.6g\n",
        h.frames, h.error, harm_weighted_error(heldout.frames, harm));

    std::string error;
    const std::string lsf_path = tables + "/lsf_codebook.cpp";
    const std::string harm_path = tables + "/harm_codebook.cpp";
    if (!write_table_source(lsf_path, "codebooks.h", "lsf_codebook", "kLsfCodebookSize", lsf_hz,
                            kLsfCodebookSize, kLpcOrder, &error) ||
        !write_table_source(harm_path, "codebooks.h", "harm_codebook", "kHarmCodebookSize", harm,
                            kHarmCodebookSize, kHarmonics, &error)) {
        std::fprintf(stderr, "train-codebooks: %s\n", error.c_str());
        return 1;
    }
    std::printf("wrote %s and %s in %.1f s\n", lsf_path.c_str(), harm_path.c_str(),
                seconds_since(start));
    return 0;
}
