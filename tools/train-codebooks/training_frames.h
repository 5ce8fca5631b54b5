// The encoder's own unquantized analysis over a corpus of speech files: the material the
// codebooks are trained on and measured with.
#pragma once

#include <string>
#include <vector>

#include "melp_ana.h"

// One folder per voice, each holding its WAV files.
struct VoiceFolder {
    std::string name;
    std::vector<std::string> wav_paths;  // sorted, so that runs repeat exactly
};

// The voice folders directly below dir, sorted by name; empty when dir has none.
std::vector<VoiceFolder> list_voice_folders(const std::string& dir);

// Analyses every file from a fresh encoder start and appends its frames (silent ones too).
// False, with `error`, when a file cannot be read.
bool analyze_voices(const std::vector<VoiceFolder>& voices, std::vector<TrainingFrame>* frames,
                    std::string* error);
