#include "melp_syn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "codebooks.h"
#include "codec_environment.h"
#include "low_mips.h"
#include "packet_builder.h"
#include "scalar_quant.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kSecondGainDb = 10.0f + 20.0f * 67.0f / 31.0f;  // gain index 20

CodecStatePtr new_state() {
    CodecStatePtr state(codec_state_create());
    EXPECT_NE(state, nullptr);
    return state;
}

std::vector<float> decode(const VoicePacket& packet, CodecState* state) {
    std::vector<float> out(kSuperframeSamples, kNaN);
    decode_superframe(&packet, state, out.data());
    return out;
}

// The decoders share the previous gain: decoding warm_up first makes every such decode start
// from the same gain memory, and the noise generator starts from the same seed.
std::vector<float> decode_after_warm_up(const VoicePacket& warm_up, const VoicePacket& packet,
                                        CodecState* state) {
    CodecStatePtr other = new_state();
    decode(warm_up, other.get());
    std::srand(5);
    return decode(packet, state);
}

double frame_rms(const std::vector<float>& out, int frame) {
    double energy = 0.0;
    for (int i = frame * kFrameLength; i < (frame + 1) * kFrameLength; i++) {
        energy += static_cast<double>(out[static_cast<std::size_t>(i)]) *
                  out[static_cast<std::size_t>(i)];
    }
    return std::sqrt(energy / kFrameLength);
}

bool all_finite(const std::vector<float>& out) {
    for (float v : out) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

// Reads frames one at a time from a packet, as decode_superframe does.
class FrameReader {
  public:
    explicit FrameReader(const VoicePacket& packet) {
        for (int i = 0; i < kPayloadBytes; i++) words_[i] = packet.payload[i];
    }
    void next(CodecState* state, float* out) { synth_frame(state, out, &word_, &bit_); }

  private:
    ChannelWord words_[kPayloadBytes];
    ChannelWord* word_ = words_;
    int bit_ = 0;
};

// Both blocks copied; the copy keeps its own link.
void copy_state(const CodecState& from, CodecState* to) {
    CodecState* link = to->prev;
    *link = *from.prev;
    *to = from;
    to->prev = link;
}

TEST(DecodeSuperframeTest, LastPacketGivesSilenceAndLeavesTheStateUntouched) {
    CodecStatePtr state = new_state();
    decode(build_steady_packet(FrameSpec{}), state.get());
    std::vector<unsigned char> current(sizeof(CodecState));
    std::vector<unsigned char> previous(sizeof(CodecState));
    std::memcpy(current.data(), static_cast<const void*>(state.get()), sizeof(CodecState));
    std::memcpy(previous.data(), static_cast<const void*>(state->prev), sizeof(CodecState));

    VoicePacket last = build_steady_packet(FrameSpec{});
    last.last = 1;
    const std::vector<float> out = decode(last, state.get());

    for (float v : out) EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(
        std::memcmp(current.data(), static_cast<const void*>(state.get()), sizeof(CodecState)), 0);
    EXPECT_EQ(
        std::memcmp(previous.data(), static_cast<const void*>(state->prev), sizeof(CodecState)), 0);
}

TEST(DecodeSuperframeTest, EveryFrameWritesItsSamplesAndLeavesLessThanAPeriodPending) {
    FrameSpec voiced;
    FrameSpec unvoiced;
    unvoiced.unvoiced = 1;
    FrameSpec jittery;
    jittery.jitter_index = 1;
    jittery.pitch_index = 98;
    for (const FrameSpec& frame_spec : {voiced, unvoiced, jittery}) {
        CodecStatePtr state = new_state();
        for (int packet = 0; packet < 3; packet++) {
            EXPECT_TRUE(all_finite(decode(build_steady_packet(frame_spec), state.get())));
            EXPECT_GE(state->pending, 0);
            EXPECT_LT(state->pending, kMaxPeriod);
        }
    }
}

struct ErasureCase {
    const char* name;
    bool unvoiced;
    int frame;
};

// An erased frame repeats the previous parameters and is synthesized like any other frame:
// all its samples are fresh and the signal level carries on.
TEST(DecodeSuperframeTest, ErasedFrameRepeatsThePreviousParametersAndContinuesTheSignal) {
    const ErasureCase cases[] = {
        {"voiced frame with a two-bit pitch code", false, 5},
        {"unvoiced frame with a double error in its protected word", true, 5},
        {"first frame after reset", false, 0},
        {"last frame of the packet", false, 11},
    };
    for (const ErasureCase& c : cases) {
        FrameSpec frame_spec;
        frame_spec.unvoiced = c.unvoiced ? 1 : 0;
        const VoicePacket clean = build_steady_packet(frame_spec);
        VoicePacket damaged = clean;
        if (c.unvoiced) {
            flip_field_bit(&damaged, c.frame, kVoicingCodeFirstBit);
            flip_field_bit(&damaged, c.frame, kVoicingCodeFirstBit + 1);
        } else {
            set_pitch_code(&damaged, c.frame, 0x05);
        }

        CodecStatePtr reference = new_state();
        const std::vector<float> expected = decode_after_warm_up(clean, clean, reference.get());
        CodecStatePtr state = new_state();
        const std::vector<float> out = decode_after_warm_up(clean, damaged, state.get());

        ASSERT_TRUE(all_finite(out)) << c.name;
        EXPECT_LT(state->pending, kMaxPeriod) << c.name;
        if (c.frame > 0) {
            const double ratio_db =
                20.0 * std::log10(frame_rms(out, c.frame) / frame_rms(expected, c.frame));
            EXPECT_NEAR(ratio_db, 0.0, 3.0) << c.name;
        }
        // The frame after the erasure goes on from where the erased frame ended.
        const VoicePacket next = build_steady_packet(frame_spec);
        EXPECT_TRUE(all_finite(decode(next, state.get()))) << c.name;
    }
}

TEST(SynthFrameTest, FirstFrameTakesTheNoiseLevelFromItsGainAndSuppressesNothing) {
    CodecStatePtr state = new_state();
    FrameReader reader(build_steady_packet(FrameSpec{}));
    float out[kFrameLength];

    reader.next(state.get(), out);
    EXPECT_EQ(state->first_frame, 0);
    EXPECT_FLOAT_EQ(state->noise_level, kSecondGainDb);
    EXPECT_FLOAT_EQ(state->prev->gain[1], kSecondGainDb);

    reader.next(state.get(), out);
    EXPECT_LT(state->prev->gain[1], kSecondGainDb);
    EXPECT_GT(state->prev->gain[1], kSecondGainDb - 0.1f);
    EXPECT_NEAR(state->noise_level, kSecondGainDb, 2 * 0.135418f);
}

TEST(SynthFrameTest, PeriodsEndingAtTheFrameEndLeaveNothingPending) {
    CodecStatePtr state = new_state();
    // Steady 59.6-sample pitch without jitter: three periods of 60 fill a frame exactly.
    state->prev->pitch = pitch_dequantize(FrameSpec{}.pitch_index);
    for (float& v : state->overflow) v = kNaN;
    FrameReader reader(build_steady_packet(FrameSpec{}));
    for (int frame = 0; frame < 3; frame++) {
        float out[kFrameLength];
        reader.next(state.get(), out);
        EXPECT_EQ(state->pending, 0) << "frame " << frame;
        for (float v : out) EXPECT_TRUE(std::isfinite(v));
    }
    for (float v : state->overflow) EXPECT_TRUE(std::isnan(v));
}

TEST(SynthFrameTest, AllBandsVoicedMixesInNoNoise) {
    const struct {
        const char* name;
        int voicing_index;
        bool noise_free;
    } cases[] = {{"all bands voiced", 15, true}, {"top band unvoiced", 14, false}};
    for (const auto& c : cases) {
        FrameSpec frame_spec;
        frame_spec.voicing_index = c.voicing_index;
        const VoicePacket packet = build_steady_packet(frame_spec);
        CodecStatePtr first = new_state();
        decode(packet, first.get());  // fades out the reset's noise filter
        CodecStatePtr second = new_state();
        copy_state(*first, second.get());

        std::srand(1);
        const std::vector<float> a = decode(packet, first.get());
        std::srand(2);
        const std::vector<float> b = decode(packet, second.get());
        EXPECT_EQ(a == b, c.noise_free) << c.name;
    }
}

// Damaged payloads can add codevectors to line spectra outside (0, 1), whose synthesis filter
// is unstable; such a frame keeps the previous spectrum.
TEST(SynthFrameTest, UnusableLineSpectraKeepThePreviousOnes) {
    FrameSpec frame_spec;
    const VoicePacket packet = build_steady_packet(frame_spec);
    CodecStatePtr state = new_state();
    decode(packet, state.get());
    float usable[kLpcOrder + 1];
    std::memcpy(usable, state->prev->lsf, sizeof usable);

    FrameSpec damaged = frame_spec;
    damaged.lsf_codes[1] = 5;
    float* codevector = lsf_codebook + 128 * kLpcOrder + damaged.lsf_codes[1] * kLpcOrder;
    const float saved = codevector[0];
    codevector[0] = -1.0f;  // pushes the first LSF below 0
    const std::vector<float> out = decode(build_steady_packet(damaged), state.get());
    const std::vector<float> after = decode(build_steady_packet(damaged), state.get());
    codevector[0] = saved;

    EXPECT_TRUE(all_finite(out));
    EXPECT_TRUE(all_finite(after));
    for (int k = 0; k <= kLpcOrder; k++) EXPECT_EQ(state->prev->lsf[k], usable[k]) << "lsf " << k;
}

TEST(SynthStartupTest, RestartLeavesTheCodebooksConvertedOnceAndDecodes) {
    const std::vector<float> lsf_before(lsf_codebook, lsf_codebook + kLsfCodebookSize);
    const std::vector<float> harm_before(harm_codebook, harm_codebook + kHarmCodebookSize);
    const VoicePacket packet = build_steady_packet(FrameSpec{});
    CodecStatePtr before = new_state();
    const std::vector<float> expected = decode_after_warm_up(packet, packet, before.get());

    synth_shutdown();
    synth_shutdown();  // a second release finds nothing left
    synth_startup();

    EXPECT_EQ(std::vector<float>(lsf_codebook, lsf_codebook + kLsfCodebookSize), lsf_before);
    EXPECT_EQ(std::vector<float>(harm_codebook, harm_codebook + kHarmCodebookSize), harm_before);
    CodecStatePtr after = new_state();
    EXPECT_EQ(decode_after_warm_up(packet, packet, after.get()), expected);
}

TEST(SynthFrameTest, LowMipsVariantDecodesAndSwitchesWithoutAReset) {
    CodecStatePtr state = new_state();
    const VoicePacket packet = build_steady_packet(FrameSpec{});
    decode(packet, state.get());
    set_low_mips(1);
    const std::vector<float> low = decode(packet, state.get());
    set_low_mips(0);
    EXPECT_TRUE(all_finite(low));
    EXPECT_EQ(state->first_frame, 0);
    EXPECT_GT(frame_rms(low, 6), 100.0);
}

}  // namespace
