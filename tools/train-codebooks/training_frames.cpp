#include "training_frames.h"

#include <algorithm>
#include <filesystem>

#include "wav_io.h"

namespace {

constexpr int kCodecRate = 8000;
// The analysis works on the 16-bit scale.
constexpr float kPcm16Scale = 32768.0f;

std::vector<std::string> wav_files_in(const std::filesystem::path& dir) {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.is_regular_file() && entry.path().extension() == ".wav") {
            paths.push_back(entry.path().string());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

}  // namespace

std::vector<VoiceFolder> list_voice_folders(const std::string& dir) {
    std::vector<VoiceFolder> voices;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        if (!entry.is_directory()) continue;
        VoiceFolder voice{entry.path().filename().string(), wav_files_in(entry.path())};
        if (!voice.wav_paths.empty()) voices.push_back(voice);
    }
    std::sort(voices.begin(), voices.end(),
              [](const VoiceFolder& a, const VoiceFolder& b) { return a.name < b.name; });
    return voices;
}

bool analyze_voices(const std::vector<VoiceFolder>& voices, std::vector<TrainingFrame>* frames,
                    std::string* error) {
    std::vector<float> samples;
    float frame[kFrameLength];
    for (const VoiceFolder& voice : voices) {
        for (const std::string& path : voice.wav_paths) {
            if (!read_speech(path, kCodecRate, &samples, error)) return false;
            encoder_startup();
            for (size_t start = 0; start + kFrameLength <= samples.size(); start += kFrameLength) {
                for (int i = 0; i < kFrameLength; i++) frame[i] = samples[start + i] * kPcm16Scale;
                TrainingFrame out{};
                analyze_frame_unquantized(frame, &out);
                frames->push_back(out);
            }
            encoder_shutdown();
        }
    }
    return true;
}
