// The face frames of the voice pack: their names, what each shows, and which part of the
// whole face it covers.
//
// Every frame is drawn as a whole face (kFaceWidth x kFaceHeight). Whole frames
// ("default2" and the four head frames) keep it all; the others are cut to kSmallFrame,
// the mouth-and-eyes region that the program draws at (FaceLeft, 122), which is
// (kSmallFrameLeft, kSmallFrameTop) inside the face picture. Because every small frame is
// cut from a full drawing with the same background, head and nose, it lines up with
// "default2" without seams.
#pragma once

#include <string>
#include <vector>

#include "tools/facegen/FacePose.h"

namespace tamzel::speech {

inline constexpr int kFaceWidth = 207;
inline constexpr int kFaceHeight = 214;
// The program draws small frames at (FaceLeft, 122) and the face picture at (FaceLeft - 59, 65).
inline constexpr int kSmallFrameLeft = 59;
inline constexpr int kSmallFrameTop = 57;
inline constexpr int kSmallFrameWidth = 90;
inline constexpr int kSmallFrameHeight = 116;

struct FaceFrame {
    std::string name;   // resource name, file <name>.jpg
    FacePose pose;
    bool whole = false; // true: the whole face; false: the small mouth-and-eyes region
};

// All 35 frames: "default2", the 14 lip-group frames, "default1", the six expressions,
// the four head frames, "mrk" and the eight gaze frames.
const std::vector<FaceFrame>& FaceFrames();

}  // namespace tamzel::speech
