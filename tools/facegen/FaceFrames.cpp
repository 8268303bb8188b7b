#include "tools/facegen/FaceFrames.h"

namespace tamzel::speech {
namespace {

FacePose WithMouth(Mouth mouth) {
    FacePose pose;
    pose.mouth = mouth;
    return pose;
}

FacePose Expression(Mouth mouth, Eyes eyes, Brows brows, bool flushed = false) {
    FacePose pose;
    pose.mouth = mouth;
    pose.eyes = eyes;
    pose.brows = brows;
    pose.flushed = flushed;
    return pose;
}

// A gaze direction; pupils move by the same amount on both axes for the diagonals.
FacePose Gaze(double x, double y) {
    FacePose pose;
    pose.gazeX = x;
    pose.gazeY = y;
    return pose;
}

FacePose Head(double dx, double dy) {
    FacePose pose;
    pose.headShiftX = dx * 0.4;
    pose.headShiftY = dy * 0.4;
    pose.featureShiftX = dx;
    pose.featureShiftY = dy;
    pose.gazeX = dx / 10.0;
    pose.gazeY = dy / 8.0;
    return pose;
}

std::vector<FaceFrame> MakeFrames() {
    constexpr double d = 0.7071;  // diagonal gaze: the same distance as straight
    return {
        {"default2", FacePose{}, true},
        {"a", WithMouth(Mouth::WideOpen)},
        {"t", WithMouth(Mouth::Clenched)},
        {"i", WithMouth(Mouth::Spread)},
        {"b", WithMouth(Mouth::Pressed)},
        {"z", WithMouth(Mouth::TeethClose)},
        {"o", WithMouth(Mouth::Round)},
        {"l", WithMouth(Mouth::TongueUp)},
        {"f", WithMouth(Mouth::LipUnderTeeth)},
        {"h", WithMouth(Mouth::Pucker)},
        {"m", WithMouth(Mouth::Closed)},
        {"r", WithMouth(Mouth::Tongue)},
        {"v", WithMouth(Mouth::LipUnderTeethWide)},
        {"j", WithMouth(Mouth::Protruded)},
        {"p", WithMouth(Mouth::PressedPuff)},
        {"default1", FacePose{}},
        {"happy", Expression(Mouth::Smile, Eyes::HappyArcs, Brows::Raised)},
        {"sad", Expression(Mouth::Frown, Eyes::Open, Brows::Sad)},
        {"face7", Expression(Mouth::Flat, Eyes::Bored, Brows::Bored)},
        {"face8", Expression(Mouth::SmirkSmile, Eyes::WinkRight, Brows::Raised)},
        {"face9", Expression(Mouth::Tight, Eyes::Open, Brows::Angry)},
        {"face0", Expression(Mouth::Shout, Eyes::Open, Brows::Furious, true)},
        {"headleft", Head(-9, 0), true},
        {"headright", Head(9, 0), true},
        {"headup", Head(0, -8), true},
        {"headdown", Head(0, 8), true},
        {"mrk", Expression(Mouth::Neutral, Eyes::Closed, Brows::Neutral)},
        // Gaze frames; "look1".."look4" are the diagonals, clockwise from up-right.
        {"up", Gaze(0, -1)},
        {"look1", Gaze(d, -d)},
        {"right", Gaze(1, 0)},
        {"look2", Gaze(d, d)},
        {"down", Gaze(0, 1)},
        {"look3", Gaze(-d, d)},
        {"left", Gaze(-1, 0)},
        {"look4", Gaze(-d, -d)},
    };
}

}  // namespace

const std::vector<FaceFrame>& FaceFrames() {
    static const std::vector<FaceFrame> frames = MakeFrames();
    return frames;
}

}  // namespace tamzel::speech
