#include "tools/facegen/FacePainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "tools/facegen/FaceFrames.h"

namespace tamzel::speech {
namespace {

const QColor kSkin(255, 214, 176);
const QColor kSkinShade(238, 178, 134);
const QColor kOutline(150, 92, 58);
const QColor kHair(122, 72, 36);
const QColor kBrow(92, 54, 26);
const QColor kLip(196, 86, 84);
const QColor kLipFill(222, 126, 122);
const QColor kMouthInside(92, 30, 34);
const QColor kTeeth(252, 250, 242);
const QColor kTongue(228, 116, 118);
const QColor kEyeLine(58, 40, 30);
const QColor kIris(70, 128, 182);

constexpr double kHeadX = 104.0;
constexpr double kHeadY = 112.0;
constexpr double kEyeDX = 21.0;   // eyes at kHeadX -/+ kEyeDX
constexpr double kEyeY = 90.0;
constexpr double kEyeRX = 11.0;
constexpr double kEyeRY = 14.0;
constexpr double kMouthY = 148.0;

QPen Stroke(const QColor& color, double width) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A closed mouth opening from two curves: the upper lip edge and the lower lip edge,
// each a quadratic curve between the two corners.
QPainterPath Opening(QPointF left, QPointF right, double upperControlY, double lowerControlY) {
    const double middleX = (left.x() + right.x()) / 2;
    QPainterPath path(left);
    path.quadTo(QPointF(middleX, upperControlY), right);
    path.quadTo(QPointF(middleX, lowerControlY), left);
    path.closeSubpath();
    return path;
}

QPainterPath RoundedBox(double cx, double top, double width, double height, double radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(cx - width / 2, top, width, height), radius, radius);
    return path;
}

// What shows inside an open mouth.
struct Inside {
    double upperTeeth = 0;  // height of the upper teeth band, from the top of the opening
    double lowerTeeth = 0;  // height of the lower teeth band, from the bottom
    double tongueRise = 0;  // how far the tongue reaches up from the bottom
    double tongueWidth = 0;
};

void DrawOpenMouth(QPainter& p, const QPainterPath& opening, const Inside& inside,
                   double lipWidth) {
    const QRectF box = opening.boundingRect();
    p.save();
    p.setClipPath(opening);
    p.fillPath(opening, kMouthInside);
    if (inside.tongueRise > 0) {
        p.setBrush(kTongue);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(box.center().x(), box.bottom() + inside.tongueRise * 0.35),
                      inside.tongueWidth / 2, inside.tongueRise * 1.35);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kTeeth);
    if (inside.upperTeeth > 0)
        p.drawRect(QRectF(box.left(), box.top() - 2, box.width(), inside.upperTeeth + 2));
    if (inside.lowerTeeth > 0)
        p.drawRect(QRectF(box.left(), box.bottom() - inside.lowerTeeth, box.width(),
                          inside.lowerTeeth + 2));
    p.restore();
    p.strokePath(opening, Stroke(kLip, lipWidth));
}

// Teeth seen through parted lips, both rows touching, with the gaps between teeth.
void DrawClenchedTeeth(QPainter& p, const QPainterPath& opening) {
    const QRectF box = opening.boundingRect();
    p.save();
    p.setClipPath(opening);
    p.fillPath(opening, kTeeth);
    p.setPen(Stroke(QColor(150, 140, 130), 1.0));
    p.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
    for (double x = box.center().x() - 12; x <= box.center().x() + 12.5; x += 6)
        p.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
    p.restore();
    p.strokePath(opening, Stroke(kLip, 2.5));
}

// Closed lips with their shape visible: upper lip with its bow, lower lip below the seam.
void DrawLips(QPainter& p, double cx, double y, double halfWidth, double fullness) {
    QPainterPath upper(QPointF(cx - halfWidth, y));
    upper.cubicTo(QPointF(cx - halfWidth * 0.5, y - fullness), QPointF(cx - 3, y - fullness * 1.2),
                  QPointF(cx, y - fullness * 0.7));
    upper.cubicTo(QPointF(cx + 3, y - fullness * 1.2), QPointF(cx + halfWidth * 0.5, y - fullness),
                  QPointF(cx + halfWidth, y));
    upper.quadTo(QPointF(cx, y + 1), QPointF(cx - halfWidth, y));
    QPainterPath lower(QPointF(cx - halfWidth, y));
    lower.quadTo(QPointF(cx, y + 1), QPointF(cx + halfWidth, y));
    lower.quadTo(QPointF(cx, y + fullness * 2.2), QPointF(cx - halfWidth, y));
    p.fillPath(upper, kLipFill);
    p.fillPath(lower, kLipFill);
    p.strokePath(upper, Stroke(kLip, 1.4));
    p.strokePath(lower, Stroke(kLip, 1.4));
    p.setPen(Stroke(kMouthInside, 1.6));
    p.drawLine(QPointF(cx - halfWidth + 1, y), QPointF(cx + halfWidth - 1, y));
}

// Upper teeth resting on the lower lip, which is drawn in under them (f, v).
void DrawLipUnderTeeth(QPainter& p, double cx, double halfWidth) {
    const double y = kMouthY;
    p.setPen(Stroke(kLip, 2.0));
    p.setBrush(kLipFill);
    QPainterPath lip(QPointF(cx - halfWidth - 3, y + 1));
    lip.quadTo(QPointF(cx, y + 11), QPointF(cx + halfWidth + 3, y + 1));
    lip.quadTo(QPointF(cx, y + 5), QPointF(cx - halfWidth - 3, y + 1));
    p.drawPath(lip);
    p.setBrush(kTeeth);
    p.setPen(Stroke(QColor(150, 140, 130), 1.0));
    p.drawRoundedRect(QRectF(cx - halfWidth, y - 6, halfWidth * 2, 9), 2, 2);
    p.drawLine(QPointF(cx, y - 6), QPointF(cx, y + 3));
    p.setPen(Stroke(kLip, 2.6));
    p.setBrush(Qt::NoBrush);
    QPainterPath upperLip(QPointF(cx - halfWidth - 4, y - 3));
    upperLip.quadTo(QPointF(cx, y - 12), QPointF(cx + halfWidth + 4, y - 3));
    p.drawPath(upperLip);
}

void DrawCurve(QPainter& p, QPointF from, QPointF control, QPointF to, double width) {
    QPainterPath path(from);
    path.quadTo(control, to);
    p.strokePath(path, Stroke(kLip, width));
}

void DrawMouth(QPainter& p, Mouth mouth) {
    const double cx = kHeadX, y = kMouthY;
    switch (mouth) {
    case Mouth::Neutral:
        DrawCurve(p, {cx - 20, y - 2}, {cx, y + 8}, {cx + 20, y - 2}, 3.0);
        break;
    case Mouth::WideOpen:
        DrawOpenMouth(p, Opening({cx - 21, y - 5}, {cx + 21, y - 5}, y - 13, y + 33),
                      {6, 0, 9, 22}, 3.0);
        break;
    case Mouth::Clenched:
        DrawClenchedTeeth(p, RoundedBox(cx, y - 6, 36, 12, 5));
        break;
    case Mouth::Spread:
        DrawOpenMouth(p, RoundedBox(cx, y - 4, 50, 9, 4.5), {4, 0, 0, 0}, 2.5);
        break;
    case Mouth::Pressed:
        p.setPen(Stroke(kLip, 5.0));
        p.drawLine(QPointF(cx - 16, y), QPointF(cx + 16, y));
        p.setPen(Stroke(kSkinShade, 1.5));
        p.drawLine(QPointF(cx - 21, y - 3), QPointF(cx - 19, y + 3));
        p.drawLine(QPointF(cx + 21, y - 3), QPointF(cx + 19, y + 3));
        DrawCurve(p, {cx - 7, y + 9}, {cx, y + 6}, {cx + 7, y + 9}, 1.2);
        break;
    case Mouth::TeethClose:
        DrawOpenMouth(p, RoundedBox(cx, y - 6, 30, 12, 6), {5, 5, 0, 0}, 3.5);
        break;
    case Mouth::Round:
        DrawOpenMouth(p, Opening({cx - 12, y + 1}, {cx + 12, y + 1}, y - 19, y + 21),
                      {0, 0, 5, 14}, 4.0);
        break;
    case Mouth::TongueUp: {
        const QPainterPath opening = Opening({cx - 18, y - 3}, {cx + 18, y - 3}, y - 12, y + 22);
        DrawOpenMouth(p, opening, {4, 0, 0, 0}, 3.0);
        // The tongue rises from the floor of the mouth and touches the upper teeth.
        p.save();
        p.setClipPath(opening);
        p.setPen(Stroke(kTongue.darker(120), 1.0));
        p.setBrush(kTongue);
        p.drawRoundedRect(QRectF(cx - 6, y - 5, 12, 20), 6, 6);
        p.restore();
        p.strokePath(opening, Stroke(kLip, 3.0));
        break;
    }
    case Mouth::LipUnderTeeth:
        DrawLipUnderTeeth(p, cx, 12);
        break;
    case Mouth::Pucker:
        DrawOpenMouth(p, Opening({cx - 6, y + 1}, {cx + 6, y + 1}, y - 9, y + 11), {}, 5.0);
        p.setPen(Stroke(kSkinShade, 1.2));
        for (double dx : {-13.0, 13.0}) p.drawLine(QPointF(cx + dx, y - 2), QPointF(cx + dx * 0.8, y + 4));
        break;
    case Mouth::Closed:
        DrawLips(p, cx, y, 18, 4.0);
        break;
    case Mouth::Tongue:
        DrawOpenMouth(p, RoundedBox(cx, y - 6, 32, 13, 6), {4, 0, 7, 18}, 3.0);
        break;
    case Mouth::LipUnderTeethWide:
        DrawLipUnderTeeth(p, cx, 16);
        break;
    case Mouth::Protruded:
        DrawOpenMouth(p, RoundedBox(cx, y - 8, 26, 17, 7.5), {6, 5, 0, 0}, 4.5);
        break;
    case Mouth::PressedPuff:
        DrawLips(p, cx, y, 13, 2.5);
        p.setPen(Stroke(kSkinShade, 1.4));
        p.drawLine(QPointF(cx - 17, y - 2), QPointF(cx - 15, y + 2));
        p.drawLine(QPointF(cx + 17, y - 2), QPointF(cx + 15, y + 2));
        break;
    case Mouth::Smile:
        DrawOpenMouth(p, Opening({cx - 25, y - 7}, {cx + 25, y - 7}, y + 1, y + 34),
                      {6, 0, 6, 22}, 3.0);
        break;
    case Mouth::Frown:
        DrawCurve(p, {cx - 17, y + 7}, {cx, y - 7}, {cx + 17, y + 7}, 3.0);
        break;
    case Mouth::Flat:
        DrawCurve(p, {cx - 15, y + 3}, {cx, y + 3}, {cx + 11, y + 1}, 3.0);
        break;
    case Mouth::SmirkSmile:
        DrawCurve(p, {cx - 18, y - 1}, {cx + 2, y + 10}, {cx + 21, y - 6}, 3.2);
        break;
    case Mouth::Tight:
        DrawCurve(p, {cx - 13, y + 5}, {cx, y - 2}, {cx + 13, y + 5}, 3.5);
        break;
    case Mouth::Shout:
        // Open but turned down at the corners, both rows of teeth clenched: a shout.
        DrawOpenMouth(p, Opening({cx - 22, y + 8}, {cx + 22, y + 8}, y - 17, y + 11),
                      {6, 5, 0, 0}, 3.0);
        break;
    }
}

struct Brow {
    double innerY, outerY, arch, width;
};

Brow BrowShape(Brows brows) {
    switch (brows) {
    case Brows::Neutral: return {72, 72, -4, 3.5};
    case Brows::Raised: return {66, 67, -6, 3.5};
    case Brows::Sad: return {65, 73, -1, 3.5};
    case Brows::Angry: return {77, 67, 0, 4.0};
    case Brows::Furious: return {80, 63, 1, 5.0};
    case Brows::Bored: return {74, 74, 0, 3.5};
    }
    return {72, 72, -4, 3.5};
}

// side -1 is the eye on the picture's left, +1 the one on its right.
void DrawBrow(QPainter& p, double eyeX, int side, Brows brows) {
    const Brow b = BrowShape(brows);
    const QPointF inner(eyeX - side * 9, b.innerY);
    const QPointF outer(eyeX + side * 11, b.outerY);
    QPainterPath path(inner);
    path.quadTo(QPointF(eyeX, (b.innerY + b.outerY) / 2 + b.arch), outer);
    p.strokePath(path, QPen(kBrow, b.width, Qt::SolidLine, Qt::RoundCap));
}

void DrawEyeArc(QPainter& p, double eyeX, double bend) {
    QPainterPath path(QPointF(eyeX - kEyeRX, kEyeY));
    path.quadTo(QPointF(eyeX, kEyeY + bend), QPointF(eyeX + kEyeRX, kEyeY));
    p.strokePath(path, Stroke(kEyeLine, 2.6));
}

void DrawOpenEye(QPainter& p, double eyeX, const FacePose& pose, double lidShare) {
    QPainterPath white;
    white.addEllipse(QPointF(eyeX, kEyeY), kEyeRX, kEyeRY);
    p.fillPath(white, Qt::white);
    p.save();
    p.setClipPath(white);
    const QPointF iris(eyeX + pose.gazeX * 6.0, kEyeY + 2 + pose.gazeY * 7.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kIris);
    p.drawEllipse(iris, 7.0, 7.0);
    p.setBrush(QColor(20, 20, 26));
    p.drawEllipse(iris, 3.6, 3.6);
    p.setBrush(Qt::white);
    p.drawEllipse(iris + QPointF(-2.2, -2.6), 1.8, 1.8);
    if (lidShare > 0) {
        const double lidY = kEyeY - kEyeRY + 2 * kEyeRY * lidShare;
        p.restore();
        // The lid hides the upper part of the eye, its outline included.
        p.fillRect(QRectF(eyeX - kEyeRX - 2, kEyeY - kEyeRY - 2, 2 * kEyeRX + 4, lidY - kEyeY + kEyeRY + 2),
                   kSkin);
        p.save();
        p.setClipRect(QRectF(eyeX - kEyeRX - 2, lidY, 2 * kEyeRX + 4, 2 * kEyeRY));
        p.strokePath(white, QPen(kEyeLine, 1.6));
        p.restore();
        QPainterPath lid(QPointF(eyeX - kEyeRX - 1, lidY));
        lid.quadTo(QPointF(eyeX, lidY - 3), QPointF(eyeX + kEyeRX + 1, lidY));
        p.strokePath(lid, Stroke(kEyeLine, 2.2));
        return;
    }
    p.restore();
    p.strokePath(white, QPen(kEyeLine, 1.6));
}

void DrawEye(QPainter& p, double eyeX, int side, const FacePose& pose) {
    switch (pose.eyes) {
    case Eyes::Open: DrawOpenEye(p, eyeX, pose, 0.0); break;
    case Eyes::Bored: DrawOpenEye(p, eyeX, pose, 0.5); break;
    case Eyes::Closed: DrawEyeArc(p, eyeX, 7.0); break;
    case Eyes::HappyArcs: DrawEyeArc(p, eyeX, -9.0); break;
    case Eyes::WinkRight:
        if (side > 0)
            DrawEyeArc(p, eyeX, -7.0);
        else
            DrawOpenEye(p, eyeX, pose, 0.0);
        break;
    }
}

void DrawBackground(QPainter& p) {
    QLinearGradient sky(0, 0, 0, kFaceHeight);
    sky.setColorAt(0.0, QColor(234, 241, 248));
    sky.setColorAt(1.0, QColor(196, 214, 234));
    p.fillRect(QRectF(0, 0, kFaceWidth, kFaceHeight), sky);
}

void DrawHead(QPainter& p, const FacePose& pose) {
    const QPointF centre(kHeadX + pose.headShiftX, kHeadY + pose.headShiftY);
    p.setPen(Stroke(kOutline, 2.0));
    p.setBrush(kSkinShade);
    for (int side : {-1, 1}) {
        const double earX = centre.x() + side * 79 - pose.featureShiftX * 0.5;
        p.drawEllipse(QPointF(earX, centre.y() + 8 + pose.featureShiftY * 0.3), 12, 17);
    }
    QRadialGradient skin(centre + QPointF(-14, -20), 110);
    skin.setColorAt(0.0, kSkin.lighter(104));
    skin.setColorAt(0.7, kSkin);
    skin.setColorAt(1.0, kSkinShade);
    p.setBrush(skin);
    p.drawEllipse(centre, 78, 90);

    // Hair: a cap over the top of the head with a few tufts on the fringe.
    QPainterPath hair(centre + QPointF(-74, -38));
    hair.cubicTo(centre + QPointF(-70, -108), centre + QPointF(70, -108), centre + QPointF(74, -38));
    hair.quadTo(centre + QPointF(52, -58), centre + QPointF(32, -56));
    hair.quadTo(centre + QPointF(22, -70), centre + QPointF(6, -58));
    hair.quadTo(centre + QPointF(-8, -72), centre + QPointF(-22, -57));
    hair.quadTo(centre + QPointF(-44, -66), centre + QPointF(-74, -38));
    p.setBrush(kHair);
    p.setPen(Stroke(kHair.darker(130), 1.5));
    p.drawPath(hair);
}

void DrawFeatures(QPainter& p, const FacePose& pose) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 120, 120, 60));
    for (int side : {-1, 1}) p.drawEllipse(QPointF(kHeadX + side * 37, 130), 10, 7);
    if (pose.flushed) {
        // Kept inside the small frame's region, which the cheeks above reach past.
        p.setBrush(QColor(226, 48, 44, 110));
        for (int side : {-1, 1}) p.drawEllipse(QPointF(kHeadX + side * 32, 130), 9, 7.5);
    }

    p.setBrush(kSkinShade);
    p.drawEllipse(QPointF(kHeadX, 117), 7, 5.5);
    p.setBrush(QColor(255, 236, 214));
    p.drawEllipse(QPointF(kHeadX - 2, 115), 2.2, 1.6);

    for (int side : {-1, 1}) {
        const double eyeX = kHeadX + side * kEyeDX;
        DrawEye(p, eyeX, side, pose);
        DrawBrow(p, eyeX, side, pose.brows);
    }
    DrawMouth(p, pose.mouth);
}

}  // namespace

QImage DrawFace(const FacePose& pose, int scale) {
    QImage image(kFaceWidth * scale, kFaceHeight * scale, QImage::Format_RGB888);
    image.setDevicePixelRatio(scale);  // the painter keeps drawing in face coordinates
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    DrawBackground(p);
    DrawHead(p, pose);
    // The features lie on the front of the head and move further than the head itself.
    p.translate(pose.headShiftX + pose.featureShiftX, pose.headShiftY + pose.featureShiftY);
    DrawFeatures(p, pose);
    return image;
}

}  // namespace tamzel::speech
