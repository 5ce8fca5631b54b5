// Reading speech files at the rate the measurements work at, and writing 16-bit PCM for the
// command-line coders.
#pragma once

#include <string>
#include <vector>

enum class PcmContainer { wav, raw };

// Reads any file libsndfile knows (a raw file must be 16-bit mono at `rate`), mixes it down to
// mono and resamples it to `rate`. Samples are scaled to [-1, 1]. False, with `error`, on failure.
bool read_speech(const std::string& path, int rate, std::vector<float>* samples,
                 std::string* error);

// Writes mono 16-bit PCM, clipping to the 16-bit range.
bool write_pcm16(const std::string& path, const std::vector<float>& samples, int rate,
                 PcmContainer container, std::string* error);
