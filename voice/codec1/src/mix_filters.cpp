#include "mix_filters.h"

#include "dsp_signal.h"

namespace {

constexpr int kHalfTaps = kMixTaps / 2 + 1;  // taps 0..16; the rest mirror them
constexpr float kVoicedStrength = 0.5f;

// Band edges (-6 dB) at 500, 1000, 2000 and 3000 Hz; the five sum to a 16-sample delay.
constexpr float kBandHalfTaps[kVoicingBands][kHalfTaps] = {
    {0.0f, -0.0030289f, -0.00701117f, -0.01130619f, -0.01494082f, -0.01672586f, -0.01544189f,
     -0.01006619f, 0.0f, 0.01474923f, 0.03347158f, 0.05477206f, 0.0767089f, 0.09703726f, 0.1135214f,
     0.1242638f, 0.1279936f},
    {0.0f, -0.0024942f, -0.00282091f, 0.00257679f, 0.01451271f, 0.0286812f, 0.03621179f,
     0.02784469f, 0.0f, -0.0407987f, -0.07849207f, -0.09392213f, -0.07451087f, -0.02211575f,
     0.04567473f, 0.1023272f, 0.124326f},
    {0.0f, -0.00231491f, 0.00990113f, 0.02086129f, 0.0f, -0.03086123f, -0.02180695f, 0.00769333f,
     0.0f, -0.01127245f, 0.04726837f, 0.1010611f, 0.0f, -0.1790454f, -0.1603143f, 0.09497157f,
     0.2556216f},
    {0.0f, 0.00231491f, 0.00990113f, -0.02086129f, 0.0f, 0.03086123f, -0.02180695f, -0.00769333f,
     0.0f, 0.01127245f, 0.04726837f, -0.1010611f, 0.0f, 0.1790454f, -0.1603143f, -0.09497157f,
     0.2556216f},
    {0.0f, 0.00554149f, -0.0098175f, 0.00856805f, 0.0f, -0.01267517f, 0.02162277f, -0.01841647f,
     0.0f, 0.02698425f, -0.04686914f, 0.0415073f, 0.0f, -0.07353666f, 0.1589603f, -0.2273451f,
     0.2534626f},
};

}  // namespace

float band_filter_tap(int band, int n) {
    return kBandHalfTaps[band][n < kHalfTaps ? n : kMixOrder - n];
}

namespace {

constexpr int kBandSets = 1 << kVoicingBands;

// The sum of the bands in each set (bit b for band b), built once: a frame then copies its two
// filters instead of adding five band filters tap by tap.
struct BandSetFilters {
    float taps[kBandSets][kMixTaps] = {};

    BandSetFilters() {
        for (int set = 0; set < kBandSets; set++) {
            for (int band = 0; band < kVoicingBands; band++) {
                if ((set >> band & 1) == 0) continue;
                for (int n = 0; n < kMixTaps; n++) taps[set][n] += band_filter_tap(band, n);
            }
        }
    }
};

}  // namespace

void build_mix_filters(const float* voicing, float* pulse_mix, float* noise_mix) {
    static const BandSetFilters filters;
    int voiced = 0;
    for (int band = 0; band < kVoicingBands; band++) {
        if (voicing[band] > kVoicedStrength) voiced |= 1 << band;
    }
    vec_copy(pulse_mix, filters.taps[voiced], kMixTaps);
    vec_copy(noise_mix, filters.taps[(kBandSets - 1) & ~voiced], kMixTaps);
}
