// Encoding and decoding synthetic speech keeps what a listener relies on: the loudness
// envelope and the pitch of each talker, and each talker's own voice when several are decoded
// in turn. The tolerances do not depend on the codebooks' trained values.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "codec_environment.h"
#include "codec_state.h"
#include "melp_ana.h"
#include "melp_syn.h"
#include "synthetic_speech.h"

namespace {

constexpr int kSegmentSuperframes = 4;
constexpr std::size_t kSegment = kSegmentSuperframes * kSuperframeSamples;
// Segment edges are skipped: the decoder lags the input and levels glide between segments.
constexpr std::size_t kEdge = 2 * kFrameLength;
constexpr double kLevelToleranceDb = 3.0;
constexpr double kPitchTolerance = 0.05;
// Silence after loud speech falls at least this far, whatever its decoded noise floor.
constexpr double kSilenceDropDb = 30.0;

std::vector<VoicePacket> encode(const std::vector<float>& speech) {
    const std::vector<int16_t> pcm = to_pcm16(speech);
    CodecStatePtr encoder(codec_state_create());
    std::vector<VoicePacket> packets;
    for (std::size_t at = 0; at + kSuperframeSamples <= pcm.size(); at += kSuperframeSamples) {
        VoicePacket packet{};
        encode_superframe(&packet, encoder.get(), pcm.data() + at);
        packets.push_back(packet);
    }
    return packets;
}

void decode_into(const VoicePacket& packet, CodecState* state, std::vector<float>* out) {
    std::vector<float> block(kSuperframeSamples);
    decode_superframe(&packet, state, block.data());
    append(out, block);
}

std::vector<float> decode(const std::vector<VoicePacket>& packets) {
    CodecStatePtr decoder(codec_state_create());
    std::vector<float> out;
    for (const VoicePacket& packet : packets) decode_into(packet, decoder.get(), &out);
    return out;
}

double segment_level(const std::vector<float>& x, int segment) {
    const std::size_t begin = static_cast<std::size_t>(segment) * kSegment + kEdge;
    return level_db(x, begin, begin + kSegment - 2 * kEdge);
}

double segment_pitch(const std::vector<float>& x, int segment) {
    const std::size_t begin = static_cast<std::size_t>(segment) * kSegment + kEdge;
    return pitch_period(x, begin, begin + kSegment - 2 * kEdge);
}

TEST(CodecRoundtripTest, KeepsTheLoudnessEnvelopeAndThePitch) {
    const struct {
        const char* name;
        const Voice* voice;  // null: silence
        double rms;
    } segments[] = {
        {"quiet low voice", &kLowVoice, 300.0},
        {"loud low voice", &kLowVoice, 6000.0},
        {"silence", nullptr, 0.0},
        {"medium high voice", &kHighVoice, 2000.0},
        {"loud high voice", &kHighVoice, 6000.0},
    };
    std::vector<float> speech;
    for (const auto& s : segments) {
        append(&speech, s.voice != nullptr ? vowel(*s.voice, kSegment, s.rms)
                                           : std::vector<float>(kSegment, 0.0f));
    }
    const std::vector<float> decoded = decode(encode(speech));
    ASSERT_EQ(decoded.size(), speech.size());

    const int count = static_cast<int>(sizeof segments / sizeof segments[0]);
    for (int i = 0; i < count; i++) {
        const auto& s = segments[i];
        if (s.voice == nullptr) {
            EXPECT_LT(segment_level(decoded, i), segment_level(decoded, i - 1) - kSilenceDropDb)
                << s.name;
            continue;
        }
        EXPECT_NEAR(segment_level(decoded, i), segment_level(speech, i), kLevelToleranceDb)
            << s.name;
        const double period = kSpeechRate / s.voice->pitch_hz;
        EXPECT_NEAR(segment_pitch(decoded, i), period, kPitchTolerance * period) << s.name;
    }
}

// Two talkers decoded packet by packet in turn, each with its own decoder state.
TEST(CodecRoundtripTest, AlternatingTalkersKeepTheirOwnPitchAndSpectrum) {
    const Voice* voices[2] = {&kLowVoice, &kHighVoice};
    std::vector<float> speech[2];
    std::vector<VoicePacket> packets[2];
    for (int t = 0; t < 2; t++) {
        speech[t] = vowel(*voices[t], 2 * kSegment, 4000.0);
        packets[t] = encode(speech[t]);
    }
    CodecStatePtr decoders[2] = {CodecStatePtr(codec_state_create()),
                                 CodecStatePtr(codec_state_create())};
    std::vector<float> decoded[2];
    for (std::size_t p = 0; p < packets[0].size(); p++) {
        for (int t = 0; t < 2; t++) decode_into(packets[t][p], decoders[t].get(), &decoded[t]);
    }

    double share[2];
    for (int t = 0; t < 2; t++) {
        const double period = kSpeechRate / voices[t]->pitch_hz;
        EXPECT_NEAR(segment_pitch(decoded[t], 1), period, kPitchTolerance * period)
            << "talker " << t;
        EXPECT_NEAR(segment_level(decoded[t], 1), segment_level(speech[t], 1), kLevelToleranceDb)
            << "talker " << t;
        const std::size_t begin = kSegment + kEdge;
        share[t] = high_band_share(decoded[t], begin, begin + 1024, 1500.0);
        EXPECT_NEAR(share[t], high_band_share(speech[t], begin, begin + 1024, 1500.0), 0.15)
            << "talker " << t;
    }
    EXPECT_LT(share[0] + 0.2, share[1]);
}

}  // namespace
