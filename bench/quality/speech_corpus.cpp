#include "speech_corpus.h"

#include "analysis_grid.h"
#include "wav_io.h"

namespace {

constexpr std::size_t kGapSamples = kMeasureRate / 2;

std::string stem(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

bool load_corpus(const std::vector<std::string>& paths, SpeechCorpus* corpus, std::string* error) {
    for (const std::string& path : paths) {
        std::vector<float> speech;
        if (!read_speech(path, kMeasureRate, &speech, error)) return false;
        SpeechSegment segment;
        segment.name = stem(path);
        segment.first_sample = corpus->samples.size();
        corpus->samples.insert(corpus->samples.end(), speech.begin(), speech.end());
        segment.end_sample = corpus->samples.size();
        corpus->samples.insert(corpus->samples.end(), kGapSamples, 0.0f);
        corpus->segments.push_back(segment);
    }
    return true;
}
