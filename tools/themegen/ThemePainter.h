// Draws every image of one theme with QPainter: window backgrounds with their title tabs and
// Slovak captions, the 16 x 16 window buttons, the text buttons (normal and pressed) and the
// message icons. Two colour schemes: the light default theme and a dark one.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <map>

namespace tamzel::tools {

struct ThemeColors {
    QColor bandTop, bandBottom;    // title band gradient
    QColor bandText;
    QColor faceTop, faceBottom;    // window background gradient
    QColor inset;                  // frames around the view and the face
    QColor caption;                // captions on the background
    QColor buttonTop, buttonBottom, buttonText, buttonBorder;
    QColor accent;
    int themeColor;                // for the .thm file: blue*65536 + green*256 + red
};

ThemeColors LightColors();
ThemeColors DarkColors();

// Image name ("background1.jpg") -> picture, drawn with `scale` device pixels per logical
// pixel each way (1: the plain pictures, 2: their double-size companions).
std::map<QString, QImage> DrawTheme(const ThemeColors& c, int scale = 1);

// The records page pictures: the column background and the title of a "Záznamy" block.
QImage DrawRecordsBackground();
QImage DrawRecordsTitle();

// The program's desktop icon (128 x 128, transparent corners).
QImage DrawProgramIcon();

}  // namespace tamzel::tools
