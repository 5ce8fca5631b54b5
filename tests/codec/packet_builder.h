// Test helper: voice packets built field by field with the codec's own frame writer.
#pragma once

#include <cstdint>

#include "frame_bits.h"
#include "melp_types.h"
#include "voice_packet.h"

// The quantizer indexes of one frame, before the protection of unvoiced frames.
struct FrameSpec {
    int unvoiced = 0;
    int pitch_index = 52;    // 0..98; 52 is a period of 59.6 samples
    int jitter_index = 0;    // 1 = aperiodic
    int voicing_index = 15;  // bands 1..4 (band 1 most significant)
    int gain_index[2] = {1, 20};
    int lsf_codes[kLsfStages] = {10, 3, 5, 7};
    int harm_code = 17;
};

inline VoicePacket build_packet(const FrameSpec* frames) {
    ChannelWord words[kPayloadBytes] = {};
    ChannelWord* word = words;
    int bit = 0;
    for (int f = 0; f < kFramesPerSuperframe; f++) {
        FrameSpec frame_spec = frames[f];
        FrameParams params{};
        params.unvoiced = frame_spec.unvoiced;
        params.pitch_index = frame_spec.pitch_index;
        params.jitter_index = frame_spec.jitter_index;
        params.voicing_index = frame_spec.voicing_index;
        params.gain_index[0] = frame_spec.gain_index[0];
        params.gain_index[1] = frame_spec.gain_index[1];
        params.lsf_codes = frame_spec.lsf_codes;
        params.lsf_stage_count = kLsfStages;
        int stage_bits[kLsfStages] = {kLsfStageBits[0], kLsfStageBits[1], kLsfStageBits[2],
                                      kLsfStageBits[3]};
        params.lsf_stage_bits = stage_bits;
        params.harm_code = &frame_spec.harm_code;
        params.chan_word = word;
        params.chan_bit = bit;
        frame_writer(&params);
        word = params.chan_word;
        bit = params.chan_bit;
    }
    VoicePacket packet{};
    for (int i = 0; i < kPayloadBytes; i++) packet.payload[i] = static_cast<uint8_t>(words[i]);
    return packet;
}

inline VoicePacket build_steady_packet(const FrameSpec& frame_spec) {
    FrameSpec frames[kFramesPerSuperframe];
    for (FrameSpec& f : frames) f = frame_spec;
    return build_packet(frames);
}

// Payload byte and bit of bit b (0..53, in the frame's field list) of frame f.
inline int payload_bit_of(int frame, int b) {
    for (int j = 0; j < kBitsPerFrame; j++) {
        if (bit_order[j] == b) return kBitsPerFrame * frame + j;
    }
    return -1;
}

inline void flip_field_bit(VoicePacket* packet, int frame, int b) {
    const int n = payload_bit_of(frame, b);
    packet->payload[n / 8] = static_cast<uint8_t>(packet->payload[n / 8] ^ (1u << (n % 8)));
}

// Field-list positions of the 7-bit pitch code and the 4-bit voicing code.
constexpr int kPitchCodeFirstBit = 9;
constexpr int kVoicingCodeFirstBit = 17;

// Overwrites the 7-bit pitch code of frame f.
inline void set_pitch_code(VoicePacket* packet, int frame, int code) {
    for (int i = 0; i < 7; i++) {
        const int n = payload_bit_of(frame, kPitchCodeFirstBit + i);
        const unsigned mask = 1u << (n % 8);
        const unsigned byte = packet->payload[n / 8];
        packet->payload[n / 8] =
            static_cast<uint8_t>(((code >> i) & 1) != 0 ? (byte | mask) : (byte & ~mask));
    }
}
