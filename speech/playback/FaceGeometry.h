// Where the face sits in the main window and where the frames drawn over it go, in pixels.
// The window's layouts, the face animation, the theme images' inset around the face and the
// frame generator all place the face by this one table.
//
// The face picture is kFaceWidth x kFaceHeight with its top-left corner at
// (FaceLeft(simple), kFaceTop). Small frames (mouth and eyes) cover the region
// (kSmallFrameLeft, kSmallFrameTop, kSmallFrameWidth, kSmallFrameHeight) of it; whole frames
// cover the whole picture.
#pragma once

namespace tamzel::speech {

inline constexpr int kFaceWidth = 207;
inline constexpr int kFaceHeight = 214;
inline constexpr int kFaceTop = 65;
inline constexpr int kFaceLeftFull = 326;
inline constexpr int kFaceLeftSimple = 24;

inline constexpr int kSmallFrameLeft = 59;
inline constexpr int kSmallFrameTop = 57;
inline constexpr int kSmallFrameWidth = 90;
inline constexpr int kSmallFrameHeight = 116;

// The sunken frame around the face picture is this much wider on every side.
inline constexpr int kFaceFrameBorder = 1;
// The strip under the face frame, as wide as the frame: the input line of the window.
inline constexpr int kFaceStripTop = 288;
inline constexpr int kFaceStripHeight = 19;

// The point the eyes follow the pointer from: the face's eye line, a little right of the
// picture's middle in the full layout.
inline constexpr int kGazeCentreXFull = 432;
inline constexpr int kGazeCentreXSimple = 127;
inline constexpr int kGazeCentreY = 144;

constexpr int FaceLeft(bool simple) { return simple ? kFaceLeftSimple : kFaceLeftFull; }
// Window position of the small frames.
constexpr int SmallFrameX(bool simple) { return FaceLeft(simple) + kSmallFrameLeft; }
inline constexpr int kSmallFrameY = kFaceTop + kSmallFrameTop;
constexpr int GazeCentreX(bool simple) { return simple ? kGazeCentreXSimple : kGazeCentreXFull; }

}  // namespace tamzel::speech
