// Draws Tamzel's cartoon face for a pose with QPainter.
//
// DrawFace always draws the whole face picture (kFaceWidth x kFaceHeight, RGB): the
// background, ears, head and hair, then the features (cheeks, nose, eyes, brows, mouth)
// as the pose says. Only floating-point coordinates and fixed colours are used, so the
// same pose gives the same pixels on every run; small frames are cut from these pictures.
#pragma once

#include <QImage>

#include "tools/facegen/FacePose.h"

namespace tamzel::speech {

// `scale` device pixels per face pixel each way: 1 for the frames, 2 for their double-size
// companions on scaled screens.
QImage DrawFace(const FacePose& pose, int scale = 1);

}  // namespace tamzel::speech
