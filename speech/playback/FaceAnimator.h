// The animated face: frames of the voice pack drawn over the main window's face picture.
//
// While speaking, every started unit shows the frame of its lip group (ShowUnitFrame);
// between utterances the window shows frames by name (ShowFaceFrame: "-", "mrk", gaze
// frames). Small frames (mouth and eyes) go to (FaceLeft, kSmallFrameY); the five head frames are
// whole faces and go to the face picture's place after a repaint of the whole window,
// which wipes earlier small frames, followed by a repaint of the label lying over the face.
//
// The 26 unit frames are decoded once (Load); frames shown by name are read from the pack
// and decoded at every call. Nothing is drawn while the window says animation is off.
// The window supplies a FaceSurface; tests record what is drawn.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "speech/playback/FaceGeometry.h"
#include "speech/playback/JpegImage.h"
#include "speech/text/VoicePack.h"

namespace tamzel::speech {

// How the face is laid out right now and whether it is animated at all.
struct FaceView {
    bool animationOn = true;  // menu entry "Animácia"
    bool simpleLayout = false;
    int faceLeft = SmallFrameX(false);  // x of the small frames in the current layout
};

class FaceSurface {
public:
    virtual ~FaceSurface() = default;
    virtual FaceView View() const = 0;
    // Draws a decoded frame with its top-left corner at (x, y) of the window.
    virtual void DrawFrame(const std::string& name, const JpegImage& image, int x, int y) = 0;
    // Repaints the whole window (its own pictures; earlier frames disappear).
    virtual void RepaintWindow() = 0;
    // Repaints the label that lies over the lower right of the face.
    virtual void RepaintLabel() = 0;
};

// The frame name for a one-character code ("-" -> "default1", "@" -> "default2", ...);
// any other text is its own frame name.
std::string FaceFrameName(std::string_view text);

inline constexpr int kUnitFrameCount = 26;
inline constexpr int kFirstHeadFrame = 22;
// The code of unit frame k is kUnitFrameCodes[k - 1].
inline constexpr std::string_view kUnitFrameCodes = "atibzolfhmrvjp-)(7890{}[]@";

// The unit frame (1..26) that shows a unit-string character; 0 for a character of no
// lip group. Upper-case letters select the frames of their lower-case forms.
int LipGroup(char c);

class FaceAnimator {
public:
    // Reads and decodes the 26 unit frames from the pack and keeps the pack for frames
    // shown by name. Fails naming a missing or broken frame; the animator is then unchanged.
    base::Status Load(std::shared_ptr<const VoicePack> pack);
    bool loaded() const { return pack_ != nullptr; }

    // The window's surface; without one nothing is drawn.
    void SetSurface(FaceSurface* surface) { surface_ = surface; }

    // Fails naming a missing or broken frame; nothing is drawn then.
    base::Status ShowFaceFrame(const std::string& name);
    void ShowUnitFrame(char c);

    // Unit frame k (1..26); frame 26, "default2", is the neutral full face.
    const JpegImage& UnitFrame(int k) const { return frames_.at(k - 1); }
    const JpegImage& NeutralFace() const { return UnitFrame(kUnitFrameCount); }
    const std::string& UnitFrameName(int k) const { return names_.at(k - 1); }
    const std::string& NeutralFaceName() const { return UnitFrameName(kUnitFrameCount); }
    // The pack the frames come from; null before Load.
    const VoicePack* pack() const { return pack_.get(); }

private:
    bool Drawing() const { return surface_ && pack_ && surface_->View().animationOn; }

    std::shared_ptr<const VoicePack> pack_;
    FaceSurface* surface_ = nullptr;
    std::array<JpegImage, kUnitFrameCount> frames_;
    std::array<std::string, kUnitFrameCount> names_;
};

}  // namespace tamzel::speech
