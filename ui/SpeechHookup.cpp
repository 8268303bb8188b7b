#include "ui/SpeechHookup.h"

#include <QGuiApplication>
#include <QScreen>
#include <cstdio>
#include <map>

#include "base/Files.h"
#include "chrome/PixelRatio.h"
#include "speech/playback/FaceAnimator.h"
#include "speech/playback/OpenAlSink.h"
#include "speech/playback/PlaybackClock.h"
#include "speech/playback/SpeechOutput.h"
#include "speech/text/SpeechError.h"
#include "ui/Text.h"
#include "ui/Theme.h"

namespace tamzel::ui {
namespace {

QImage ToQImage(const speech::JpegImage& image) {
    QImage wrapped(image.rgb().data(), image.width(), image.height(), image.width() * 3,
                   QImage::Format_RGB888);
    return wrapped.copy();  // the frame may be released right after drawing
}

// The window's face picture as the face animation's drawing surface.
class WindowSurface : public speech::FaceSurface {
public:
    MainWindow* window = nullptr;
    const speech::FaceAnimator* face = nullptr;

    // The frame for the window's device pixel ratio: on a scaled screen the pack's
    // double-size frame, read once per name.
    QImage Picture(const std::string& name, const speech::JpegImage& image) {
        QImage plain = ToQImage(image);
        const double ratio = window ? window->devicePixelRatioF() : 1.0;
        if (ratio < profiles::kDoublePictureRatio || !face || !face->pack()) return plain;
        auto [cached, fresh] = sharp_.try_emplace(name);
        if (fresh) {
            const std::string path = face->pack()->ResourcePath("Jpg", name);
            cached->second = profiles::PictureForRatio(path, ratio, [&](const std::string& p) {
                return p == path ? plain : LoadJpeg(p);
            });
        }
        return cached->second;
    }
    // A pack read again may hold other frames.
    void ForgetPictures() { sharp_.clear(); }
    speech::FaceView View() const override {
        if (!window) return {false, false, speech::SmallFrameX(false)};
        return {window->animationOn(), window->simpleOn(), window->FaceLeft()};
    }
    void DrawFrame(const std::string& name, const speech::JpegImage& image, int x, int y) override {
        if (window) window->DrawFaceImage(Picture(name, image), {x, y});
    }
    void RepaintWindow() override {
        if (window) window->RepaintFace();
    }
    void RepaintLabel() override {
        if (window) window->Label1->update();
    }

private:
    std::map<std::string, QImage> sharp_;
};

class SliderSettings : public speech::SpeechSettings {
public:
    explicit SliderSettings(SettingsPort& port) : port_(port) {}
    int Volume() const override { return port_.Volume(); }
    int Speed() const override { return port_.Speed(); }
    int Intonation() const override { return port_.Intonation(); }

private:
    SettingsPort& port_;
};

}  // namespace

struct SpeechHookup::Parts : SpeechPort, FacePort {
    Parts(MessagePort& m, SettingsPort& s, TalkPort& t)
        : messages(m), sliders(s), talk(t), output(sink, face, sliders, clock) {
        output.onMessage = [this](const std::string& title, const std::string& text) {
            messages.ShowMessageDialog(title, text);
        };
        output.userNames = [this] {
            base::ProfileValues v = talk.Profile();
            return std::make_pair(v.name, v.pronunciation);
        };
        output.placement = [this] {
            speech::ScreenPlacement p;
            if (surface.window) {
                p.windowLeft = surface.window->x();
                p.windowWidth = surface.window->width();
            }
            if (QScreen* screen = QGuiApplication::primaryScreen()) {
                p.screenWidth = screen->geometry().width();
            }
            return p;
        };
        surface.face = &face;
        face.SetSurface(&surface);
    }

    // SpeechPort
    bool InitSpeech(bool speechChecked) override {
        base::Status ready = output.InitSpeech(speechChecked);
        surface.ForgetPictures();
        if (face.loaded() && surface.window) {
            surface.window->SetFacePicture(surface.Picture(face.NeutralFaceName(), face.NeutralFace()));
        }
        // A missing voice pack or a broken sound output costs the voice, not the program.
        if (!ready) messages.ShowMessageDialog("Pozor", ready.message());
        return output.SoundAvailable();
    }
    void Speak(const std::string& text) override {
        if (base::Status said = output.Speak(text); !said)
            std::fprintf(stderr, "%s\n", ToQt(said.message()).toLocal8Bit().constData());
    }
    void SpeechTick() override { output.SpeechTick(); }
    void StopSpeech() override { output.StopSpeech(); }
    bool Speaking() const override { return output.Speaking; }
    void PlayWaveFile(const std::string& path) override {
        if (!output.SoundAvailable()) return;
        std::string bytes;
        if (!base::ReadWholeFile(path, bytes)) return;
        try {
            wave = speech::ParseWave(bytes, path);
            speech::PcmView pcm;
            pcm.sampleRate = static_cast<int>(wave.sampleRate);
            pcm.data = reinterpret_cast<const uint8_t*>(wave.samples.data());
            pcm.bytes = wave.samples.size() * sizeof(int16_t);
            sound = sink.CreateVoice(pcm);
            sound->Play();
        } catch (const std::exception&) {
            // A broken dialog sound plays nothing.
        }
    }

    // FacePort
    void ShowFaceFrame(const std::string& name) override {
        if (base::Status shown = face.ShowFaceFrame(name); !shown)
            std::fprintf(stderr, "%s\n", ToQt(shown.message()).toLocal8Bit().constData());
    }

    MessagePort& messages;
    SliderSettings sliders;
    TalkPort& talk;
    speech::OpenAlDeviceSink sink;
    speech::SteadyPlaybackClock clock;
    speech::FaceAnimator face;
    WindowSurface surface;
    speech::SpeechOutput output;
    speech::WaveSound wave;
    std::unique_ptr<speech::SoundVoice> sound;
};

SpeechHookup::SpeechHookup(MessagePort& messages, SettingsPort& settings, TalkPort& talk)
    : parts_(std::make_unique<Parts>(messages, settings, talk)) {}
SpeechHookup::~SpeechHookup() = default;

SpeechPort& SpeechHookup::port() { return *parts_; }

void SpeechHookup::Attach(MainWindow& window) {
    parts_->surface.window = &window;
    window.SetFacePort(parts_.get());
}

}  // namespace tamzel::ui
