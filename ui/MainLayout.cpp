#include "ui/MainLayout.h"

namespace tamzel::ui {

// Rectangles given by corners in the design ((303,325) to (600,390)) are built with
// QRect(QPoint, QPoint), whose right and bottom are inclusive, so one is taken off.
static QRect Corners(int x1, int y1, int x2, int y2) { return QRect(x1, y1, x2 - x1, y2 - y1); }

const MainLayout& FullLayout() {
    static const MainLayout layout{
        {558, 378}, Corners(303, 325, 600, 390), true,
        {325, 64, 209, 216}, {326, 65, 207, 214}, {325, 288, 209, 19},
        {492, 2, 64, 22}, {2, 24, 554, 25}, 385,
        "background1.jpg", "1.jpg", "1b.jpg"};
    return layout;
}

const MainLayout& SimpleLayout() {
    static const MainLayout layout{
        {255, 325}, Corners(120, 0, 187, 22), false,
        {23, 64, 209, 216}, {24, 65, 207, 214}, {23, 288, 209, 19},
        {189, 2, 64, 22}, {2, 24, 250, 25}, 83,
        "background2.jpg", "4.jpg", "4b.jpg"};
    return layout;
}

QRegion WindowShape(const MainLayout& layout) {
    return QRegion(QRect(QPoint(0, 0), layout.window)).subtracted(QRegion(layout.cutOut));
}

}  // namespace tamzel::ui
