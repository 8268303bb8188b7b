// The sound output behind speech playback: a sink that owns an output and creates playback
// voices, one per sound unit. A voice holds one PCM recording and offers what the unit
// timing needs: its size and play position in bytes of the recording, a playback rate, a
// volume and a pan in hundredths of a decibel, and play.
//
// Conventions shared by every backend:
//  - Position() counts bytes of the recording played so far. A voice that has played to
//    its end reports Size() until it is restarted, so a caller polling for "far enough"
//    can never miss the end of a short unit.
//  - SetPosition(0) on a playing voice restarts it from the beginning; Play() starts a
//    stopped voice and leaves a playing one alone.
//  - Volume: 0 is full loudness, negative is quieter; values above 0 are held at 0.
//    Pan: negative attenuates the right channel by |pan| hundredths of a dB, positive the
//    left one; the near channel stays at 0 dB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace tamzel::speech {

// PCM samples of one recording, as read from a RIFF WAVE file (8-bit unsigned or 16-bit
// signed little-endian, interleaved channels). The bytes must outlive CreateVoice only.
struct PcmView {
    int channels = 1;
    int bitsPerSample = 16;
    int sampleRate = 22050;
    const uint8_t* data = nullptr;
    size_t bytes = 0;

    size_t BlockAlign() const { return static_cast<size_t>(channels) * (bitsPerSample / 8); }
};

class SoundVoice {
public:
    virtual ~SoundVoice() = default;
    virtual int64_t Size() const = 0;
    virtual int64_t Position() const = 0;
    virtual void SetPosition(int64_t bytes) = 0;
    virtual void SetFrequency(int32_t samplesPerSecond) = 0;
    virtual void SetVolume(int32_t hundredthsOfDb) = 0;
    virtual void SetPan(int32_t hundredthsOfDb) = 0;
    virtual void Play() = 0;
    virtual bool Playing() const = 0;
};

class SoundSink {
public:
    virtual ~SoundSink() = default;
    // Output devices that can actually be opened; 0 means no sound.
    virtual int CountDevices() = 0;
    // Opens the output; called once before any voice is created. Throws SoundError.
    virtual void Open() = 0;
    virtual std::unique_ptr<SoundVoice> CreateVoice(const PcmView& pcm) = 0;
};

// A failure of the sound output; the message is Slovak in Windows-1250.
class SoundError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Linear gain of an attenuation in hundredths of a dB (held at 0 dB above 0, and at
// -100 dB below that).
double GainOfHundredthsDb(int32_t hundredthsOfDb);

// Linear gains of the left and right channel for a volume and a pan, as described above.
struct ChannelGains {
    double left = 1.0;
    double right = 1.0;
};
ChannelGains GainsOf(int32_t volume, int32_t pan);

}  // namespace tamzel::speech
