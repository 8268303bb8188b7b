// The face frames of the voice pack: their names, what each shows, and which part of the
// whole face it covers.
//
// Every frame is drawn as a whole face (kFaceWidth x kFaceHeight). Whole frames
// ("default2" and the four head frames) keep it all; the others are cut to kSmallFrame,
// the mouth-and-eyes region (kSmallFrameLeft, kSmallFrameTop) inside the face picture, which
// the program draws at (SmallFrameX, kSmallFrameY) of the window. Because every small frame is
// cut from a full drawing with the same background, head and nose, it lines up with
// "default2" without seams.
#pragma once

#include <string>
#include <vector>

#include "speech/playback/FaceGeometry.h"
#include "tools/facegen/FacePose.h"

namespace tamzel::speech {

struct FaceFrame {
    std::string name;   // resource name, file <name>.jpg
    FacePose pose;
    bool whole = false; // true: the whole face; false: the small mouth-and-eyes region
};

// All 35 frames: "default2", the 14 lip-group frames, "default1", the six expressions,
// the four head frames, "mrk" and the eight gaze frames.
const std::vector<FaceFrame>& FaceFrames();

}  // namespace tamzel::speech
