#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "analysis_grid.h"
#include "delay_alignment.h"
#include "markdown_table.h"
#include "mel_cepstrum.h"
#include "speech_comparison.h"
#include "voicing_detector.h"
#include "wav_io.h"

namespace {

std::vector<float> sine(double hz, double seconds, double amplitude, int rate = kMeasureRate) {
    std::vector<float> samples(static_cast<std::size_t>(seconds * rate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * hz * i / rate));
    }
    return samples;
}

std::vector<float> noise(double seconds, double amplitude, unsigned seed = 1) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> samples(static_cast<std::size_t>(seconds * kMeasureRate));
    for (float& sample : samples) sample = static_cast<float>(amplitude) * uniform(generator);
    return samples;
}

// Bursts of a harmonic tone and of noise with silences between, like words.
std::vector<float> speech_like(unsigned seed) {
    std::vector<float> signal;
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> length(0.08, 0.3);
    for (int burst = 0; burst < 12; ++burst) {
        const std::vector<float> part = burst % 3 == 2
                                            ? noise(length(generator), 0.2, seed + burst)
                                            : sine(110.0 + 15.0 * burst, length(generator), 0.4);
        signal.insert(signal.end(), part.begin(), part.end());
        signal.insert(signal.end(), static_cast<std::size_t>(length(generator) * kMeasureRate),
                      0.0f);
    }
    return signal;
}

std::vector<float> delayed(const std::vector<float>& signal, int delay) {
    return shift_earlier(signal, -delay, signal.size() + (delay > 0 ? delay : 0));
}

std::size_t count_true(const std::vector<bool>& flags, std::size_t first, std::size_t end) {
    std::size_t count = 0;
    for (std::size_t i = first; i < end && i < flags.size(); ++i) count += flags[i] ? 1 : 0;
    return count;
}

TEST(DelayAlignment, FindsKnownDelaysBothWays) {
    const std::vector<float> input = speech_like(7);
    for (int delay_ms : {-120, -37, 0, 21, 134, 290}) {
        SCOPED_TRACE(delay_ms);
        const int delay = delay_ms * kMeasureRate / 1000;
        EXPECT_NEAR(estimate_delay(input, delayed(input, delay)), delay, kMeasureRate / 1000);
    }
}

TEST(DelayAlignment, ClaimsNoDelayWithoutSignal) {
    const std::vector<float> input = speech_like(2);
    EXPECT_EQ(estimate_delay(input, {}), 0);
    EXPECT_EQ(estimate_delay(input, std::vector<float>(input.size(), 0.0f)), 0);
    EXPECT_EQ(estimate_delay({}, {}), 0);
}

TEST(DelayAlignment, ShiftEarlierPadsWithZerosAndCuts) {
    const std::vector<float> decoded = {1, 2, 3, 4, 5};
    EXPECT_EQ(shift_earlier(decoded, 2, 4), (std::vector<float>{3, 4, 5, 0}));
    EXPECT_EQ(shift_earlier(decoded, -1, 3), (std::vector<float>{0, 1, 2}));
}

TEST(MelCepstrum, DistortionIgnoresLevelButNotSpectrum) {
    const std::vector<float> tone = sine(440.0, 0.5, 0.3);
    std::vector<float> louder = tone;
    for (float& sample : louder) sample *= 4.0f;
    const std::vector<MelCepstrum> a = mel_cepstra(tone);
    const std::vector<MelCepstrum> b = mel_cepstra(louder);
    const std::vector<MelCepstrum> c = mel_cepstra(noise(0.5, 0.3));
    ASSERT_EQ(a.size(), frame_count(tone.size()));
    EXPECT_NEAR(mel_cepstral_distortion(a[10], a[10]), 0.0f, 1e-6f);
    EXPECT_NEAR(mel_cepstral_distortion(a[10], b[10]), 0.0f, 0.01f);
    EXPECT_GT(mel_cepstral_distortion(a[10], c[10]), 3.0f);
}

TEST(VoicingDetector, TonesAreVoicedNoiseAndQuietAreNot) {
    struct Case {
        const char* name;
        std::vector<float> part;
        bool voiced;
    };
    const std::vector<Case> cases = {
        {"low tone", sine(90.0, 0.3, 0.5), true},
        {"high tone", sine(350.0, 0.3, 0.5), true},
        {"noise", noise(0.3, 0.5), false},
        {"silence", std::vector<float>(2400, 0.0f), false},
        {"tone 40 dB below the loudest part", sine(150.0, 0.3, 0.005), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A loud tone first gives every case the same loudest frame.
        std::vector<float> signal = sine(200.0, 0.3, 0.5);
        const std::size_t first_frame = frame_count(signal.size()) + 3;
        signal.insert(signal.end(), c.part.begin(), c.part.end());
        const std::vector<bool> voiced = voiced_frames(signal);
        const std::size_t end_frame = first_frame + 20;
        EXPECT_EQ(count_true(voiced, first_frame, end_frame), c.voiced ? 20u : 0u);
    }
}

TEST(SpeechComparison, IdenticalDelayedCopyScoresPerfectly) {
    const std::vector<float> input = speech_like(3);
    const SpeechComparison comparison = compare_speech(input, delayed(input, 160));
    EXPECT_EQ(comparison.delay_samples, 160);
    const QualitySummary summary = summarize(comparison, 0, input.size());
    EXPECT_GT(summary.speech_frames, 50u);
    EXPECT_NEAR(summary.mcd_db, 0.0f, 0.01f);
    EXPECT_FLOAT_EQ(summary.voicing_match, 1.0f);
}

TEST(SpeechComparison, SegmentsSummarizeOnlyTheirFrames) {
    std::vector<float> input = sine(150.0, 1.0, 0.4);
    const std::vector<float> second = sine(300.0, 1.0, 0.4);
    input.insert(input.end(), second.begin(), second.end());
    std::vector<float> decoded = input;
    // Replace the second second with noise: only the second segment is distorted.
    const std::vector<float> hiss = noise(1.0, 0.4);
    std::copy(hiss.begin(), hiss.end(), decoded.begin() + kMeasureRate);
    const SpeechComparison comparison = compare_speech(input, decoded);
    const QualitySummary first = summarize(comparison, 0, kMeasureRate - kWindowSamples);
    const QualitySummary last = summarize(comparison, kMeasureRate, input.size());
    EXPECT_NEAR(first.mcd_db, 0.0f, 0.01f);
    EXPECT_GT(last.mcd_db, 3.0f);
    EXPECT_LT(last.voicing_match, 0.1f);
}

TEST(SpeechComparison, EmptyDecodedSignalDoesNotBreak) {
    const std::vector<float> input = speech_like(5);
    const QualitySummary summary = summarize(compare_speech(input, {}), 0, input.size());
    EXPECT_GT(summary.mcd_db, 3.0f);
}

TEST(WavIo, RoundTripsAndResamplesBothContainers) {
    const std::string dir = ::testing::TempDir();
    for (PcmContainer container : {PcmContainer::wav, PcmContainer::raw}) {
        const std::string path = dir + (container == PcmContainer::wav ? "/m.wav" : "/m.raw");
        const std::vector<float> written = sine(200.0, 0.25, 0.5);
        std::string error;
        ASSERT_TRUE(write_pcm16(path, written, kMeasureRate, container, &error)) << error;
        std::vector<float> read;
        ASSERT_TRUE(read_speech(path, kMeasureRate, &read, &error)) << error;
        ASSERT_EQ(read.size(), written.size());
        for (std::size_t i = 0; i < read.size(); ++i) ASSERT_NEAR(read[i], written[i], 1e-4f);
        std::remove(path.c_str());
    }
    const std::string wide = dir + "/wide.wav";
    std::string error;
    ASSERT_TRUE(write_pcm16(wide, sine(200.0, 0.5, 0.5, 22050), 22050, PcmContainer::wav, &error));
    std::vector<float> resampled;
    ASSERT_TRUE(read_speech(wide, kMeasureRate, &resampled, &error)) << error;
    EXPECT_NEAR(static_cast<double>(resampled.size()), 0.5 * kMeasureRate, 2.0);
    std::remove(wide.c_str());
}

TEST(WavIo, ClipsInsteadOfWrappingAndReportsMissingFiles) {
    const std::string path = ::testing::TempDir() + "/loud.wav";
    std::string error;
    ASSERT_TRUE(write_pcm16(path, {2.0f, -2.0f}, kMeasureRate, PcmContainer::wav, &error));
    std::vector<float> read;
    ASSERT_TRUE(read_speech(path, kMeasureRate, &read, &error));
    EXPECT_GT(read[0], 0.99f);
    EXPECT_LT(read[1], -0.99f);
    std::remove(path.c_str());
    EXPECT_FALSE(read_speech(path, kMeasureRate, &read, &error));
    EXPECT_NE(error.find("loud.wav"), std::string::npos);
}

TEST(MarkdownTable, PadsColumnsAndAlignsNumbersRight) {
    MarkdownTable table({"coder", "MCD"});
    table.add_row({"a", format_fixed(3.14159, 2)});
    table.add_row({"longer name", "10.00"});
    EXPECT_EQ(table.render(),
              "| coder       |   MCD |\n"
              "| :---------- | ----: |\n"
              "| a           |  3.14 |\n"
              "| longer name | 10.00 |\n");
}

}  // namespace
