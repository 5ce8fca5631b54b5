// The codec over whole recordings: 8000 Hz samples to payloads and back.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kCodecRate = 8000;

// Starts the decoder and encoder tables (in the library's order) and stops them
// again.
class CodecSession {
  public:
    explicit CodecSession(bool low_mips);
    ~CodecSession();
    CodecSession(const CodecSession&) = delete;
    CodecSession& operator=(const CodecSession&) = delete;
};

// Superframes needed for a number of samples; the last one is zero-padded.
std::size_t superframes_for(std::size_t samples);
// 81 bytes per superframe of samples in [-1, 1] (clipped to 16 bits for the
// encoder).
std::vector<uint8_t> encode_speech(const std::vector<float>& samples);
// 2160 samples in [-1, 1] (more for overloud speech) per 81-byte payload, one
// talker from a fresh decoder state.
std::vector<float> decode_speech(const std::vector<uint8_t>& payloads);
