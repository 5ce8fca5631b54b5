// Frame-by-frame comparison of a coder's output with its input, after delay alignment.
#pragma once

#include <cstddef>
#include <vector>

// Frames of the input within this range of its loudest frame count as speech.
constexpr float kSpeechRangeDb = 40.0f;

struct SpeechComparison {
    int delay_samples = 0;             // how late the decoded signal ran
    std::vector<bool> speech;          // per input frame
    std::vector<float> distortion_db;  // mel-cepstral distortion per frame
    std::vector<bool> voicing_agrees;  // same voicing decision in both signals
};

struct QualitySummary {
    float mcd_db = 0.0f;         // mean over the speech frames
    float voicing_match = 0.0f;  // share of the speech frames, 0..1
    std::size_t speech_frames = 0;
};

SpeechComparison compare_speech(const std::vector<float>& input, const std::vector<float>& decoded);

// Summary over the frames that start in [first_sample, end_sample) of the input.
QualitySummary summarize(const SpeechComparison& comparison, std::size_t first_sample,
                         std::size_t end_sample);
