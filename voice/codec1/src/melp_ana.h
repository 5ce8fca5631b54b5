// Encoder entry: start-up, shut-down, the superframe encoder and the analysis of one frame.
#pragma once

#include <cstdint>

#include "melp_sub.h"
#include "melp_types.h"
#include "pit_lib.h"
#include "voice_packet.h"
#include "vq_lib.h"

// The speech history: earlier samples, then the current frame's new ones.
constexpr int kSpeechHistory = 411;
constexpr int kSpeechNew = kSpeechHistory - kFrameLength;  // 231, where the new samples go
// End of the analysed frame; the pitch and voicing windows are centred on it.
constexpr int kAnalysisPoint = 250;
constexpr int kLpcWindowStart = 150;
constexpr int kLpcWindowLength = 200;

// The channel buffer of one superframe; each word carries 8 bits in its low byte.
using ChannelWords = ChannelWord[kPayloadBytes];

// The encoder's analysis state: one for the whole process, created by encoder_startup.
struct EncoderState {
    float speech[kSpeechHistory];
    FrameEndPitch frame_end;
    FinalPitch final_pitch;
    PitchAverage pitch_avg;
    VoicingMemory voicing;
    VqDescription lsf_quant;
    VqDescription harm_quant;
    float harm_weights[kHarmonics];
    float lpc_window[kLpcWindowLength];  // Hamming
    // The training analysis keeps its own LSFs: the fallback of an incomplete root search.
    FrameParams unquantized;
};

// Unquantized result of analysing one frame, collected to train the codebooks.
struct TrainingFrame {
    float lsf[kLpcOrder];         // LSFs 1..10 after the pre-quantization clamp, normalized
    float lsf_weight[kLpcOrder];  // the weights the LSF quantizer's distance uses for this frame
    float harm_mag[kHarmonics];   // harmonic magnitudes as analysed, before weighting
    int voiced;                   // 1 when the frame would be coded voiced
    int silent;                   // 1 when the silence gate skipped the analysis
};

// Creates the analysis state with a zeroed speech history; the first call of the process also
// converts the codebooks. The DC-removal memory, previous gain and sync bit carry over.
void encoder_startup();
void encoder_shutdown();
// The state between start-up and shut-down, null otherwise.
const EncoderState* encoder_state();

// Analyses, quantizes and writes the 12 frames of 2160 samples (oldest first) into the 81
// payload bytes; nothing else of the packet is touched. Requires encoder_startup.
void encode_superframe(VoicePacket* packet, FrameParams* params, const int16_t* samples);

// One frame of 180 samples: analysis, quantization and its 54 bits at (*word_pos, *bit_pos),
// which advance past them.
void analyze_frame(FrameParams* params, const float* frame, ChannelWord** word_pos, int* bit_pos);

// Runs the same analysis as analyze_frame up to, not including, quantization, advancing the
// process-wide analysis state the same way. Requires encoder_startup.
void analyze_frame_unquantized(const float* frame, TrainingFrame* out);
