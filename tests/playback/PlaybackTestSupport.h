// Helpers for the playback tests: synthetic tones and measurements of rendered audio, a
// synthetic voice pack in a temporary folder, and a face surface that records what it is
// asked to draw.
#pragma once

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "speech/playback/FaceAnimator.h"
#include "speech/playback/SoundSink.h"

namespace tamzel::speech::test {

inline std::vector<int16_t> Sine(double hz, int rate, double seconds, double amplitude) {
    std::vector<int16_t> out(static_cast<size_t>(rate * seconds));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<int16_t>(amplitude * std::sin(2 * M_PI * hz * i / rate));
    return out;
}

inline PcmView ViewOf(const std::vector<int16_t>& samples, int rate) {
    return PcmView{1, 16, rate, reinterpret_cast<const uint8_t*>(samples.data()), samples.size() * 2};
}

// RMS of one channel of interleaved stereo samples.
inline double Rms(const std::vector<int16_t>& stereo, int channel, size_t from = 0, size_t to = SIZE_MAX) {
    double sum = 0;
    size_t n = 0;
    for (size_t i = from * 2 + channel; i < std::min(to * 2, stereo.size()); i += 2, ++n)
        sum += static_cast<double>(stereo[i]) * stereo[i];
    return n ? std::sqrt(sum / n) : 0.0;
}

// Frequency of a steady tone from its rising zero crossings in one channel.
inline double DominantFrequency(const std::vector<int16_t>& stereo, int channel, int rate,
                                size_t from = 0, size_t to = SIZE_MAX) {
    to = std::min(to, stereo.size() / 2);
    size_t first = 0, last = 0, crossings = 0;
    for (size_t f = from + 1; f < to; ++f) {
        int a = stereo[(f - 1) * 2 + channel], b = stereo[f * 2 + channel];
        if (a < 0 && b >= 0) {
            if (crossings == 0) first = f;
            last = f;
            ++crossings;
        }
    }
    return crossings > 1 ? (crossings - 1) * double(rate) / double(last - first) : 0.0;
}

// A fresh temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Writes a voice pack into `folder`: every sound unit a tone of `seconds` at 22050 Hz
// (pauses silent, so they carry no pitch), units named in `emptyUnits` without samples,
// and every frame the 26 unit frames plus the named extras need, each a small JPEG of its
// own colour.
struct SyntheticPack {
    double seconds = 0.1;
    std::string emptyUnits;
    double toneHz = 220.0;
    void Write(const std::filesystem::path& folder) const;
};

// A face surface that records every draw and repaint.
class RecordingSurface : public FaceSurface {
public:
    struct Entry {
        std::string what;  // a frame name, "repaint" or "label"
        int x = 0, y = 0;
    };
    FaceView view;
    std::vector<Entry> entries;

    FaceView View() const override { return view; }
    void DrawFrame(const std::string& name, const JpegImage&, int x, int y) override {
        entries.push_back({name, x, y});
    }
    void RepaintWindow() override { entries.push_back({"repaint", 0, 0}); }
    void RepaintLabel() override { entries.push_back({"label", 0, 0}); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const Entry& e : entries) names.push_back(e.what);
        return names;
    }
};

}  // namespace tamzel::speech::test
