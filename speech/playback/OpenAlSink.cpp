#include "speech/playback/OpenAlSink.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <array>
#include <cstdlib>

#include "base/Codepage.h"

namespace tamzel::speech {

struct AlOutput {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    bool directChannels = false;
    int resampler = -1;  // the sharpest one OpenAL offers, or -1 for its default
    LPALCRENDERSAMPLESSOFT renderSamples = nullptr;

    ~AlOutput() {
        if (alcGetCurrentContext() == context) alcMakeContextCurrent(nullptr);
        if (context) alcDestroyContext(context);
        if (device) alcCloseDevice(device);
    }
    // Switching contexts takes a lock inside OpenAL; skip it on the polling path.
    void MakeCurrent() const {
        if (alcGetCurrentContext() != context) alcMakeContextCurrent(context);
    }
};

namespace {

// OpenAL Soft reports every failed device probe on standard error; the program reports
// "no sound device" itself. A level set by the user is left alone.
void QuietOpenAlLog() {
    static const bool once = [] { return setenv("ALSOFT_LOGLEVEL", "0", 0) == 0; }();
    (void)once;
}

// Creates the context on an opened device and sets what every voice relies on.
void StartContext(AlOutput& out, const ALCint* attributes) {
    out.context = alcCreateContext(out.device, attributes);
    if (!out.context) throw SoundError(base::Cp1250("OpenAL: kontext zvukového výstupu sa nepodarilo vytvoriť."));
    out.MakeCurrent();
    alDistanceModel(AL_NONE);
    out.directChannels = alIsExtensionPresent("AL_SOFT_direct_channels") == AL_TRUE;
    // The 22050 Hz units are played at a pitch into a 44.1/48 kHz mix; the default linear
    // resampler leaves audible images of the voice above 11 kHz. OpenAL lists its
    // resamplers from the cheapest to the sharpest.
    if (alIsExtensionPresent("AL_SOFT_source_resampler") == AL_TRUE) {
        ALint count = alGetInteger(AL_NUM_RESAMPLERS_SOFT);
        if (count > 0) out.resampler = count - 1;
    }
}

std::vector<std::string> SplitDeviceList(const ALCchar* list) {
    std::vector<std::string> names;
    while (list && *list) {
        names.emplace_back(list);
        list += names.back().size() + 1;
    }
    return names;
}

ALCdevice* OpenFirstWorkingDevice() {
    QuietOpenAlLog();
    if (ALCdevice* d = alcOpenDevice(nullptr)) return d;
    for (const std::string& name : ListedOutputDevices()) {
        if (ALCdevice* d = alcOpenDevice(name.c_str())) return d;
    }
    return nullptr;
}

int16_t SampleAt(const PcmView& pcm, size_t frame, int channel) {
    size_t offset = frame * pcm.BlockAlign() + static_cast<size_t>(channel) * (pcm.bitsPerSample / 8);
    if (pcm.bitsPerSample == 8) return static_cast<int16_t>((pcm.data[offset] - 128) << 8);
    return static_cast<int16_t>(pcm.data[offset] | (pcm.data[offset + 1] << 8));
}

// A stereo 16-bit copy of the recording with only one output channel sounding. A stereo
// recording keeps its own channel on each side; a mono one feeds both.
std::vector<int16_t> OneSidedStereo(const PcmView& pcm, size_t frames, int side) {
    std::vector<int16_t> out(frames * 2, 0);
    int source = pcm.channels > 1 ? side : 0;
    for (size_t f = 0; f < frames; ++f) out[f * 2 + side] = SampleAt(pcm, f, source);
    return out;
}

class OpenAlVoice : public SoundVoice {
public:
    OpenAlVoice(std::shared_ptr<AlOutput> output, const PcmView& pcm)
        : output_(std::move(output)), blockAlign_(pcm.BlockAlign()), rate_(pcm.sampleRate) {
        size_t frames = blockAlign_ ? pcm.bytes / blockAlign_ : 0;
        size_ = static_cast<int64_t>(frames * blockAlign_);
        if (frames == 0) return;  // an empty recording never sounds and never waits
        output_->MakeCurrent();
        alGetError();  // clear an error left by an earlier call
        alGenSources(2, sources_.data());
        alGenBuffers(2, buffers_.data());
        for (int side = 0; side < 2; ++side) {
            std::vector<int16_t> samples = OneSidedStereo(pcm, frames, side);
            alBufferData(buffers_[side], AL_FORMAT_STEREO16, samples.data(),
                         static_cast<ALsizei>(samples.size() * sizeof(int16_t)), pcm.sampleRate);
            ALuint s = sources_[side];
            alSourcei(s, AL_BUFFER, static_cast<ALint>(buffers_[side]));
            alSourcei(s, AL_SOURCE_RELATIVE, AL_TRUE);
            alSource3f(s, AL_POSITION, 0.f, 0.f, 0.f);
            if (output_->directChannels) alSourcei(s, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
            if (output_->resampler >= 0) alSourcei(s, AL_SOURCE_RESAMPLER_SOFT, output_->resampler);
        }
        if (alGetError() != AL_NO_ERROR) {
            Release();
            throw SoundError(base::Cp1250("OpenAL: hlas zvukovej jednotky sa nepodarilo vytvoriť."));
        }
        ApplyGains();
    }
    ~OpenAlVoice() override { Release(); }

    int64_t Size() const override { return size_; }

    int64_t Position() const override {
        if (size_ == 0) return 0;
        output_->MakeCurrent();
        ALint state = State();
        if (state == AL_STOPPED) return size_;
        if (state == AL_INITIAL) return pending_;
        ALint frame = 0;
        alGetSourcei(sources_[0], AL_SAMPLE_OFFSET, &frame);
        return std::min<int64_t>(size_, static_cast<int64_t>(frame) * static_cast<int64_t>(blockAlign_));
    }

    void SetPosition(int64_t bytes) override {
        if (size_ == 0) return;
        output_->MakeCurrent();
        int64_t frame = std::clamp<int64_t>(bytes, 0, size_) / static_cast<int64_t>(blockAlign_);
        if (State() == AL_PLAYING && frame == 0) {
            alSourcePlayv(2, sources_.data());  // restarts both sides together
            return;
        }
        if (State() != AL_PLAYING) alSourceRewindv(2, sources_.data());
        pending_ = frame * static_cast<int64_t>(blockAlign_);
        for (ALuint s : sources_) alSourcei(s, AL_SAMPLE_OFFSET, static_cast<ALint>(frame));
    }

    void SetFrequency(int32_t samplesPerSecond) override {
        if (size_ == 0 || rate_ <= 0) return;
        output_->MakeCurrent();
        // Sample rates lie far below 2^24, so they are exact as floats (OpenAL's pitch type).
        float pitch = static_cast<float>(std::max(1, samplesPerSecond)) / static_cast<float>(rate_);
        for (ALuint s : sources_) alSourcef(s, AL_PITCH, pitch);
    }

    void SetVolume(int32_t hundredthsOfDb) override {
        volume_ = hundredthsOfDb;
        ApplyGains();
    }
    void SetPan(int32_t hundredthsOfDb) override {
        pan_ = hundredthsOfDb;
        ApplyGains();
    }

    void Play() override {
        if (size_ == 0) return;
        output_->MakeCurrent();
        if (State() != AL_PLAYING) alSourcePlayv(2, sources_.data());
        pending_ = 0;
    }

    bool Playing() const override {
        if (size_ == 0) return false;
        output_->MakeCurrent();
        return State() == AL_PLAYING;
    }

private:
    void Release() {
        if (size_ == 0) return;
        output_->MakeCurrent();
        alSourceStopv(2, sources_.data());
        alDeleteSources(2, sources_.data());
        alDeleteBuffers(2, buffers_.data());
        size_ = 0;
    }
    ALint State() const {
        ALint state = AL_INITIAL;
        alGetSourcei(sources_[0], AL_SOURCE_STATE, &state);
        return state;
    }
    void ApplyGains() {
        if (size_ == 0) return;
        output_->MakeCurrent();
        ChannelGains g = GainsOf(volume_, pan_);
        alSourcef(sources_[0], AL_GAIN, static_cast<float>(g.left));
        alSourcef(sources_[1], AL_GAIN, static_cast<float>(g.right));
    }

    std::shared_ptr<AlOutput> output_;
    size_t blockAlign_;
    int rate_;
    int64_t size_ = 0;
    int64_t pending_ = 0;
    int32_t volume_ = 0;
    int32_t pan_ = 0;
    std::array<ALuint, 2> sources_{};
    std::array<ALuint, 2> buffers_{};
};

}  // namespace

std::vector<std::string> ListedOutputDevices() {
    QuietOpenAlLog();
    if (alcIsExtensionPresent(nullptr, "ALC_ENUMERATE_ALL_EXT") == ALC_TRUE)
        return SplitDeviceList(alcGetString(nullptr, ALC_ALL_DEVICES_SPECIFIER));
    return SplitDeviceList(alcGetString(nullptr, ALC_DEVICE_SPECIFIER));
}

OpenAlSink::~OpenAlSink() = default;

std::unique_ptr<SoundVoice> OpenAlSink::CreateVoice(const PcmView& pcm) {
    if (!output_) throw SoundError(base::Cp1250("OpenAL: zvukový výstup nie je otvorený."));
    if (pcm.bytes > 0 && (pcm.bitsPerSample != 8 && pcm.bitsPerSample != 16))
        throw SoundError(base::Cp1250("Nahrávka zvukovej jednotky nemá 8 ani 16 bitov na vzorku."));
    if (pcm.bytes > 0 && (pcm.channels < 1 || pcm.channels > 2))
        throw SoundError(base::Cp1250("Nahrávka zvukovej jednotky nemá jeden ani dva kanály."));
    return std::make_unique<OpenAlVoice>(output_, pcm);
}

// A listed device counts only when it really opens: OpenAL lists ALSA's default device
// even on a machine without any sound card.
int OpenAlDeviceSink::CountDevices() {
    int count = 0;
    std::vector<std::string> names = ListedOutputDevices();
    if (names.empty()) names.emplace_back();
    for (const std::string& name : names) {
        ALCdevice* d = alcOpenDevice(name.empty() ? nullptr : name.c_str());
        if (!d) continue;
        ++count;
        alcCloseDevice(d);
    }
    return count;
}

void OpenAlDeviceSink::Open() {
    auto out = std::make_shared<AlOutput>();
    out->device = OpenFirstWorkingDevice();
    if (!out->device) throw SoundError(base::Cp1250("Zvukové zariadenie sa nepodarilo otvoriť."));
    // Headphone virtualisation (HRTF) would blur the per-channel pan.
    const ALCint attributes[] = {ALC_HRTF_SOFT, ALC_FALSE, 0};
    StartContext(*out, attributes);
    output_ = std::move(out);
}

int OpenAlLoopbackSink::CountDevices() {
    QuietOpenAlLog();
    return alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback") == ALC_TRUE ? 1 : 0;
}

void OpenAlLoopbackSink::Open() {
    if (!CountDevices()) throw SoundError(base::Cp1250("OpenAL nepodporuje vykresľovanie zvuku do pamäte."));
    auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    auto out = std::make_shared<AlOutput>();
    out->renderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
        alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    out->device = openLoopback ? openLoopback(nullptr) : nullptr;
    if (!out->device || !out->renderSamples)
        throw SoundError(base::Cp1250("OpenAL: zariadenie na vykresľovanie do pamäte sa nepodarilo otvoriť."));
    // The limiter and HRTF would change levels; measurements need the plain mix.
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                                 ALC_FREQUENCY, kSampleRate,
                                 ALC_HRTF_SOFT, ALC_FALSE,
                                 ALC_OUTPUT_LIMITER_SOFT, ALC_FALSE,
                                 0};
    StartContext(*out, attributes);
    output_ = std::move(out);
    rendered_ = 0;
}

void OpenAlLoopbackSink::Render(size_t frames, std::vector<int16_t>& out) {
    if (!output_) throw SoundError(base::Cp1250("OpenAL: zvukový výstup nie je otvorený."));
    size_t start = out.size();
    out.resize(start + frames * kChannels);
    output_->MakeCurrent();
    output_->renderSamples(output_->device, out.data() + start, static_cast<ALCsizei>(frames));
    rendered_ += frames;
}

}  // namespace tamzel::speech
