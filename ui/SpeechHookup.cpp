#include "ui/SpeechHookup.h"

#include "ui/FallbackPorts.h"
#include "ui/Theme.h"

namespace tamzel::ui {
namespace {

// Face frames read by name from the voice pack's Jpg folder at every call, drawn at
// (FaceLeft, 122) while animation is on.
class PackFace : public FacePort {
public:
    explicit PackFace(MainWindow& window) : window_(window) {}
    void ShowFaceFrame(const std::string& name) override {
        if (!window_.animationOn()) return;
        std::string frame = name == "-" ? "default1" : name;
        window_.DrawFaceImage(LoadJpeg("gorvin/Jpg/" + frame + ".jpg"), {window_.FaceLeft(), 122});
    }

private:
    MainWindow& window_;
};

}  // namespace

struct SpeechHookup::Parts {
    SilentSpeech speech;
    std::unique_ptr<PackFace> face;
};

SpeechHookup::SpeechHookup(MessagePort&) : parts_(std::make_unique<Parts>()) {}
SpeechHookup::~SpeechHookup() = default;

SpeechPort& SpeechHookup::port() { return parts_->speech; }

void SpeechHookup::Attach(MainWindow& window) {
    parts_->face = std::make_unique<PackFace>(window);
    window.SetFacePort(parts_->face.get());
    window.SetFacePicture(LoadJpeg("gorvin/Jpg/default2.jpg"));
}

}  // namespace tamzel::ui
