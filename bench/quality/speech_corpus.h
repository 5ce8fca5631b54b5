// Several speech files joined into one long signal, remembering where each one lies, so that a
// coder runs once over all of them and its start-up costs weigh little.
#pragma once

#include <string>
#include <vector>

struct SpeechSegment {
    std::string name;  // file name without folder and extension
    std::size_t first_sample = 0;
    std::size_t end_sample = 0;
};

struct SpeechCorpus {
    std::vector<float> samples;  // at kMeasureRate
    std::vector<SpeechSegment> segments;
};

// Reads the files at the measurement rate and joins them with 0.5 s of silence after each.
bool load_corpus(const std::vector<std::string>& paths, SpeechCorpus* corpus, std::string* error);

inline double duration_seconds(const std::vector<float>& samples, int rate) {
    return static_cast<double>(samples.size()) / rate;
}
