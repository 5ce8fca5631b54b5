#include "speech_comparison.h"

#include <algorithm>

#include "analysis_grid.h"
#include "delay_alignment.h"
#include "frame_energy.h"
#include "mel_cepstrum.h"
#include "voicing_detector.h"

SpeechComparison compare_speech(const std::vector<float>& input,
                                const std::vector<float>& decoded) {
    SpeechComparison comparison;
    comparison.delay_samples = estimate_delay(input, decoded);
    const std::vector<float> aligned =
        shift_earlier(decoded, comparison.delay_samples, input.size());
    comparison.speech = frames_near_peak(frame_energy_db(input), kSpeechRangeDb);

    const std::vector<MelCepstrum> reference = mel_cepstra(input);
    const std::vector<MelCepstrum> coded = mel_cepstra(aligned);
    const std::vector<bool> reference_voiced = voiced_frames(input);
    const std::vector<bool> coded_voiced = voiced_frames(aligned);
    const std::size_t frames = comparison.speech.size();
    comparison.distortion_db.resize(frames);
    comparison.voicing_agrees.resize(frames);
    for (std::size_t f = 0; f < frames; ++f) {
        comparison.distortion_db[f] = mel_cepstral_distortion(reference[f], coded[f]);
        comparison.voicing_agrees[f] = reference_voiced[f] == coded_voiced[f];
    }
    return comparison;
}

QualitySummary summarize(const SpeechComparison& comparison, std::size_t first_sample,
                         std::size_t end_sample) {
    QualitySummary summary;
    const std::size_t first = frame_count(first_sample);
    const std::size_t end = std::min(frame_count(end_sample), comparison.speech.size());
    double distortion = 0.0;
    std::size_t agreeing = 0;
    for (std::size_t f = first; f < end; ++f) {
        if (!comparison.speech[f]) continue;
        ++summary.speech_frames;
        distortion += comparison.distortion_db[f];
        if (comparison.voicing_agrees[f]) ++agreeing;
    }
    if (summary.speech_frames > 0) {
        const double count = static_cast<double>(summary.speech_frames);
        summary.mcd_db = static_cast<float>(distortion / count);
        summary.voicing_match = static_cast<float>(static_cast<double>(agreeing) / count);
    }
    return summary;
}
