#include "ui/MainLayout.h"

#include "speech/playback/FaceGeometry.h"

namespace tamzel::ui {

// Rectangles given by corners in the design ((303,325) to (600,390)) are built with
// QRect(QPoint, QPoint), whose right and bottom are inclusive, so one is taken off.
static QRect Corners(int x1, int y1, int x2, int y2) { return QRect(x1, y1, x2 - x1, y2 - y1); }

static QRect FaceImage(bool simple) {
    return {speech::FaceLeft(simple), speech::kFaceTop, speech::kFaceWidth, speech::kFaceHeight};
}

static QRect FaceFrame(bool simple) {
    const int border = speech::kFaceFrameBorder;
    return FaceImage(simple).adjusted(-border, -border, border, border);
}

static QRect FaceStrip(bool simple) {
    QRect frame = FaceFrame(simple);
    return {frame.left(), speech::kFaceStripTop, frame.width(), speech::kFaceStripHeight};
}

const MainLayout& FullLayout() {
    static const MainLayout layout{
        {558, 378}, Corners(303, 325, 600, 390), true,
        FaceFrame(false), FaceImage(false), FaceStrip(false),
        {492, 2, 64, 22}, {2, 24, 554, 25}, speech::SmallFrameX(false),
        "background1.jpg", "1.jpg", "1b.jpg", 66};
    return layout;
}

const MainLayout& SimpleLayout() {
    static const MainLayout layout{
        {255, 325}, Corners(120, 0, 187, 22), false,
        FaceFrame(true), FaceImage(true), FaceStrip(true),
        {189, 2, 64, 22}, {2, 24, 250, 25}, speech::SmallFrameX(true),
        "background2.jpg", "4.jpg", "4b.jpg", 60};
    return layout;
}

QRegion WindowShape(const MainLayout& layout) {
    return QRegion(QRect(QPoint(0, 0), layout.window)).subtracted(QRegion(layout.cutOut));
}

}  // namespace tamzel::ui
