#include "wav_io.h"

#include <sndfile.h>
#include <soxr.h>

#include <algorithm>
#include <memory>

namespace {

struct SndFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndFileHandle = std::unique_ptr<SNDFILE, SndFileCloser>;

bool is_raw_path(const std::string& path) {
    const std::string suffix = ".raw";
    return path.size() >= suffix.size() &&
           path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::vector<float> mix_to_mono(const std::vector<float>& interleaved, int channels) {
    std::vector<float> mono(interleaved.size() / static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < mono.size(); ++i) {
        float sum = 0.0f;
        for (int c = 0; c < channels; ++c) {
            sum +=
                interleaved[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)];
        }
        mono[i] = sum / static_cast<float>(channels);
    }
    return mono;
}

bool resample(const std::vector<float>& in, int in_rate, int out_rate, std::vector<float>* out,
              std::string* error) {
    if (in_rate == out_rate) {
        *out = in;
        return true;
    }
    out->assign(
        in.size() * static_cast<std::size_t>(out_rate) / static_cast<std::size_t>(in_rate) + 1,
        0.0f);
    std::size_t produced = 0;
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    const soxr_error_t failure =
        soxr_oneshot(in_rate, out_rate, 1, in.data(), in.size(), nullptr, out->data(), out->size(),
                     &produced, &io, &quality, nullptr);
    if (failure != nullptr) {
        *error = std::string("resampling failed: ") + failure;
        return false;
    }
    out->resize(produced);
    return true;
}

}  // namespace

bool read_speech(const std::string& path, int rate, std::vector<float>* samples,
                 std::string* error) {
    SF_INFO info{};
    if (is_raw_path(path)) {
        info.samplerate = rate;
        info.channels = 1;
        info.format = SF_FORMAT_RAW | SF_FORMAT_PCM_16 | SF_ENDIAN_LITTLE;
    }
    SndFileHandle file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) {
        *error = path + ": " + sf_strerror(nullptr);
        return false;
    }
    std::vector<float> interleaved(static_cast<std::size_t>(info.frames) *
                                   static_cast<std::size_t>(info.channels));
    const sf_count_t read = sf_readf_float(file.get(), interleaved.data(), info.frames);
    interleaved.resize(static_cast<std::size_t>(read) * static_cast<std::size_t>(info.channels));
    const std::vector<float> mono = mix_to_mono(interleaved, info.channels);
    if (!resample(mono, info.samplerate, rate, samples, error)) {
        *error = path + ": " + *error;
        return false;
    }
    return true;
}

bool write_pcm16(const std::string& path, const std::vector<float>& samples, int rate,
                 PcmContainer container, std::string* error) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = container == PcmContainer::wav
                      ? SF_FORMAT_WAV | SF_FORMAT_PCM_16
                      : SF_FORMAT_RAW | SF_FORMAT_PCM_16 | SF_ENDIAN_LITTLE;
    SndFileHandle file(sf_open(path.c_str(), SFM_WRITE, &info));
    if (!file) {
        *error = path + ": " + sf_strerror(nullptr);
        return false;
    }
    // Scaled by 32767 and clipped rather than wrapped, as a sound card would.
    sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const sf_count_t count = static_cast<sf_count_t>(samples.size());
    if (sf_writef_float(file.get(), samples.data(), count) != count) {
        *error = path + ": " + sf_strerror(file.get());
        return false;
    }
    return true;
}
