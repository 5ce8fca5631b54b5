#include <cstdlib>

#include "codec_alloc.h"
#include "dsp_signal.h"
#include "low_mips.h"
#include "melp_sub.h"
#include "pit_lib.h"
#include "window_poles.h"

namespace {

constexpr int kEnvelopeMemory = 2;
// Filter memories are the outputs just before the next frame's window starts.
constexpr int kFrameAdvance = kFrameLength;
constexpr int kRefineRange = 5;
constexpr float kEnvelopePenalty = 0.1f;
constexpr float kLowMipsMidPenalty = 0.1f;
constexpr float kLowMipsHighPenalty = 0.2f;

constexpr int kBandMemSite = 164;
constexpr int kEnvMemSite = 167;
constexpr int kEnvPrevSite = 169;
constexpr int kBandWorkSite = 173;
constexpr int kBandInputSite = 175;
constexpr int kBandPolesSite = 176;

// 6th-order Butterworth band filters: 0-500, 500-1000, 1000-2000, 2000-3000, 3000-4000 Hz.
constexpr float kBandNumerator[kVoicingBands][kBandFilterOrder + 1] = {
    {2.88299998e-05f, 0.000172960004f, 0.000432389992f, 0.000576519989f, 0.000432389992f,
     0.000172960004f, 2.88299998e-05f},
    {0.00530041009f, 0.0f, -0.0159012303f, 0.0f, 0.0159012303f, 0.0f, -0.00530041009f},
    {0.0316893384f, 0.0f, -0.0950680301f, 0.0f, 0.0950680301f, 0.0f, -0.0316893384f},
    {0.0316893384f, 0.0f, -0.0950680301f, 0.0f, 0.0950680301f, 0.0f, -0.0316893384f},
    {0.00105165003f, -0.00630987994f, 0.0157747008f, -0.0210329406f, 0.0157747008f, -0.00630987994f,
     0.00105165003f},
};
constexpr float kBandDenominator[kVoicingBands][kBandFilterOrder + 1] = {
    {1.0f, -4.48456287f, 8.52900505f, -8.77910805f, 5.14764261f, -1.62771475f, 0.216582865f},
    {1.0f, -4.42459774f, 8.79771519f, -9.95335579f, 6.75320292f, -2.60749984f, 0.453545928f},
    {1.0f, -1.84699035f, 2.63060188f, -2.21638846f, 1.57491243f, -0.622912824f, 0.197825193f},
    {1.0f, 1.84699035f, 2.63060188f, 2.21638846f, 1.57491243f, 0.622912824f, 0.197825193f},
    {1.0f, 2.97852993f, 4.13608122f, 3.25976419f, 1.51727879f, 0.391117215f, 0.0433569886f},
};

// A table of per-band arrays: one block of row pointers and one block of values.
float** alloc_band_table(int columns, int site) {
    auto** rows = static_cast<float**>(std::calloc(kVoicingBands, sizeof(float*)));
    auto* values = static_cast<float*>(std::calloc(kVoicingBands * columns, sizeof(float)));
    if (rows == nullptr || values == nullptr) codec_alloc_failure("melp_sub", kMem2Alloc, site);
    for (int band = 0; band < kVoicingBands; band++) rows[band] = values + band * columns;
    return rows;
}

void free_band_table(float** rows) {
    if (rows != nullptr) std::free(rows[0]);
    std::free(rows);
}

// Band-filters the analysis window around x into work (history slots in front); returns the
// filtered analysis point.
float* filter_band(VoicingMemory* mem, int band, const float* x) {
    WindowPoles kept{mem->band_input[band], mem->band_poles[band]};
    window_poles_run(&kept, x - kAnalysisHalfWindow, kBandDenominator[band], mem->band_mem[band],
                     kBandFilterOrder, kAnalysisWindow, kFrameAdvance);
    float* signal = mem->band_work + kBandFilterOrder;
    fir_filter(mem->band_poles[band] + kBandFilterOrder, kBandNumerator[band], signal,
               kBandFilterOrder, kAnalysisWindow);
    return signal + kAnalysisHalfWindow;
}

float correlation_at(const float* centre, float pitch) {
    float corr = 0.0f;
    fractional_pitch(centre, &corr, pitch, 0, kPitchMin, kPitchMax, kCorrelationWindow);
    return corr;
}

// Voicing of an upper band: the better of the band signal and its envelope at sub_pitch.
float upper_band_voicing(VoicingMemory* mem, int band, const float* x, float sub_pitch) {
    float* centre = filter_band(mem, band, x);
    const float voicing = correlation_at(centre, sub_pitch);

    float* signal = mem->band_work + kBandFilterOrder;
    const float last_input = signal[kFrameAdvance - 1];
    vec_copy(signal - kEnvelopeMemory, mem->env_mem[band], kEnvelopeMemory);
    envelope_filter(signal, mem->env_prev[band], signal, kAnalysisWindow);
    vec_copy(mem->env_mem[band], signal + kFrameAdvance - kEnvelopeMemory, kEnvelopeMemory);
    mem->env_prev[band] = last_input;

    const float envelope = correlation_at(centre, sub_pitch) - kEnvelopePenalty;
    return envelope > voicing ? envelope : voicing;
}

}  // namespace

void voicing_init(VoicingMemory* mem) {
    mem->band_mem = alloc_band_table(kBandFilterOrder, kBandMemSite);
    mem->env_mem = alloc_band_table(kEnvelopeMemory, kEnvMemSite);
    mem->env_prev = codec_alloc_floats(kVoicingBands, "melp_sub", kEnvPrevSite);
    mem->band_work =
        codec_alloc_floats(kBandFilterOrder + kAnalysisWindow, "melp_sub", kBandWorkSite);
    mem->band_input = alloc_band_table(kAnalysisWindow, kBandInputSite);
    mem->band_poles = alloc_band_table(kBandFilterOrder + kAnalysisWindow, kBandPolesSite);
    for (int band = 0; band < kVoicingBands; band++) {
        WindowPoles kept{mem->band_input[band], mem->band_poles[band]};
        window_poles_reset(&kept, kBandFilterOrder, kFrameAdvance);
    }
}

void voicing_release(VoicingMemory* mem) {
    free_band_table(mem->band_mem);
    free_band_table(mem->env_mem);
    std::free(mem->env_prev);
    std::free(mem->band_work);
    free_band_table(mem->band_input);
    free_band_table(mem->band_poles);
    *mem = VoicingMemory{};
}

void voicing_analysis(VoicingMemory* mem, const float* x, const float* cand, float* voicing,
                      float* sub_pitch) {
    const float* centre = filter_band(mem, 0, x);
    *sub_pitch = fractional_pitch(centre, &voicing[0], cand[0], kRefineRange, kPitchMin, kPitchMax,
                                  kCorrelationWindow);
    for (int c = 1; c < kPitchCandidates; c++) {
        float corr = 0.0f;
        const float pitch = fractional_pitch(centre, &corr, cand[c], kRefineRange, kPitchMin,
                                             kPitchMax, kCorrelationWindow);
        // On a tie the earlier frame's candidate stays.
        if (corr > voicing[0]) {
            voicing[0] = corr;
            *sub_pitch = pitch;
        }
    }

    if (low_mips_active()) {
        voicing[1] = voicing[0] - kLowMipsMidPenalty;
        voicing[2] = voicing[0] - kLowMipsMidPenalty;
        voicing[3] = voicing[0] - kLowMipsHighPenalty;
        voicing[4] = 0.0f;
        return;
    }
    for (int band = 1; band < kVoicingBands; band++) {
        voicing[band] = upper_band_voicing(mem, band, x, *sub_pitch);
    }
}
