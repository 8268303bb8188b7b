#include "tools/themegen/ThemePainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "speech/playback/FaceGeometry.h"

namespace tamzel::tools {
namespace {

QFont Font(int pixels, bool bold = false, bool italic = false) {
    QFont f("DejaVu Sans");
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

// A picture of w x h logical pixels with `scale` device pixels each way per logical one;
// painters on it draw in logical coordinates.
QImage Canvas(int w, int h, int scale) {
    QImage image(w * scale, h * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    return image;
}

void Gradient(QPainter& p, const QRect& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
}

// A window background: gradient body, a title band (full width or a tab of `tabWidth`) with
// the caption, and a thin border.
QImage Window(const ThemeColors& c, int scale, int w, int h, const QString& title,
             int tabWidth = 0) {
    QImage image = Canvas(w, h, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Gradient(p, QRect(0, 0, w, h), c.faceTop, c.faceBottom);
    QRect band(0, 0, tabWidth > 0 ? tabWidth : w, 24);
    Gradient(p, band, c.bandTop, c.bandBottom);
    p.setPen(c.bandText);
    p.setFont(Font(12, true));
    p.drawText(band.adjusted(8, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
    // On the pixel row below the band, not across two rows: the windows' title strips are
    // separate pictures of the band alone, and a line smeared into the band's last row
    // would show as a seam where a strip meets the background.
    p.setPen(c.buttonBorder);
    p.drawLine(QPointF(0, 24.5), QPointF(w, 24.5));
    p.setPen(QPen(c.bandBottom, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    return image;
}

// A sunken frame with a soft shadow, behind a control.
void Inset(QPainter& p, const ThemeColors& c, const QRect& r) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(r.adjusted(-3, -3, 4, 4), 5, 5);
    p.setBrush(c.inset);
    p.drawRoundedRect(r.adjusted(-2, -2, 2, 2), 4, 4);
    p.restore();
}

void Caption(QPainter& p, const ThemeColors& c, int x, int y, const QString& text, int size = 11) {
    p.setPen(c.caption);
    p.setFont(Font(size, true));
    p.drawText(x, y, text);
}

QImage TextButton(const ThemeColors& c, int scale, int w, int h, const QString& text,
                  bool pressed) {
    QImage image = Canvas(w, h, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(0, 0, w, h), c.faceBottom);
    QRectF r(0.5, 0.5, w - 1, h - 1);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, pressed ? c.buttonBottom : c.buttonTop);
    g.setColorAt(1, pressed ? c.buttonTop : c.buttonBottom);
    p.setBrush(g);
    p.setPen(c.buttonBorder);
    p.drawRoundedRect(r, 3, 3);
    p.setPen(c.buttonText);
    p.setFont(Font(h >= 20 ? 12 : 10, true));
    p.drawText(QRect(pressed ? 1 : 0, pressed ? 1 : 0, w, h), Qt::AlignCenter, text);
    return image;
}

enum class Glyph { Simple, Full, Minimise, Close, Alert, Info };

// A 16 x 16 window button or message icon.
QImage SmallButton(const ThemeColors& c, int scale, Glyph glyph, bool pressed) {
    QImage image = Canvas(16, 16, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QColor band = c.bandBottom;
    p.fillRect(QRect(0, 0, 16, 16), band);
    QColor face = glyph == Glyph::Close ? QColor(196, 64, 56) : c.buttonTop;
    if (glyph == Glyph::Alert) face = QColor(214, 150, 30);
    if (glyph == Glyph::Info) face = QColor(50, 110, 190);
    if (pressed) face = face.darker(130);
    p.setBrush(face);
    p.setPen(face.darker(150));
    if (glyph == Glyph::Alert || glyph == Glyph::Info) {
        p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    } else {
        p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    }
    QColor ink = glyph == Glyph::Close || glyph == Glyph::Alert || glyph == Glyph::Info
                     ? QColor(255, 255, 255) : c.buttonText;
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    int d = pressed ? 1 : 0;
    switch (glyph) {
        case Glyph::Close:
            p.drawLine(QPointF(5 + d, 5 + d), QPointF(11 + d, 11 + d));
            p.drawLine(QPointF(11 + d, 5 + d), QPointF(5 + d, 11 + d));
            break;
        case Glyph::Minimise:
            p.drawLine(QPointF(4.5 + d, 11 + d), QPointF(11.5 + d, 11 + d));
            break;
        case Glyph::Simple:  // to the small layout: a narrow window
            p.setPen(QPen(ink, 1.2));
            p.drawRect(QRectF(5.5 + d, 3.5 + d, 5, 9));
            break;
        case Glyph::Full:    // back to the full layout: a wide window
            p.setPen(QPen(ink, 1.2));
            p.drawRect(QRectF(2.5 + d, 4.5 + d, 11, 7));
            break;
        case Glyph::Alert:
            p.setFont(Font(12, true));
            p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "!");
            break;
        case Glyph::Info:
            p.setFont(Font(12, true, true));
            p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "i");
            break;
    }
    return image;
}

QImage MainBackground(const ThemeColors& c, int scale, bool simple) {
    int w = simple ? 255 : 558, h = simple ? 325 : 378;
    QImage image = Window(c, scale, w, h, simple ? "" : "Tamzel", simple ? 120 : 0);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (simple) {
        // The right part of the band beyond the notch.
        Gradient(p, QRect(187, 0, w - 187, 24), c.bandTop, c.bandBottom);
        p.setPen(c.bandText);
        p.setFont(Font(12, true));
        p.drawText(QRect(8, 0, 110, 24), Qt::AlignVCenter, "Tamzel");
    }
    const int border = speech::kFaceFrameBorder;
    const QRect face = QRect(speech::FaceLeft(simple), speech::kFaceTop, speech::kFaceWidth,
                             speech::kFaceHeight).adjusted(-border, -border, border, border);
    Inset(p, c, face);
    Inset(p, c, QRect(face.left(), speech::kFaceStripTop, face.width(), speech::kFaceStripHeight));
    if (!simple) {
        Inset(p, c, QRect(14, 64, 275, 300));
        Caption(p, c, 18, 59, QString::fromUtf8("Rozhovor"), 10);
    }
    p.setPen(c.caption);
    p.setFont(Font(10, false, true));
    p.drawText(QRect(face.left(), 309, face.width(), 14), Qt::AlignCenter,
               QString::fromUtf8("Napíš vetu a stlač Enter"));
    return image;
}

}  // namespace

ThemeColors LightColors() {
    return {QColor(72, 108, 160), QColor(44, 74, 122), QColor(255, 255, 255),
            QColor(236, 240, 246), QColor(206, 214, 228), QColor(250, 251, 253),
            QColor(44, 62, 92), QColor(250, 250, 252), QColor(214, 220, 232),
            QColor(30, 44, 70), QColor(120, 134, 160), QColor(44, 74, 122),
            0xDCDCDC};
}

ThemeColors DarkColors() {
    return {QColor(58, 58, 66), QColor(30, 30, 36), QColor(236, 200, 120),
            QColor(56, 58, 66), QColor(32, 33, 38), QColor(22, 22, 26),
            QColor(226, 200, 140), QColor(92, 94, 104), QColor(58, 60, 68),
            QColor(240, 226, 190), QColor(20, 20, 24), QColor(236, 200, 120),
            0x463C3A};
}

std::map<QString, QImage> DrawTheme(const ThemeColors& c, int scale) {
    std::map<QString, QImage> images;
    images["background1.jpg"] = MainBackground(c, scale, false);
    images["background2.jpg"] = MainBackground(c, scale, true);
    QImage strip = Canvas(64, 22, scale);
    {
        QPainter p(&strip);
        Gradient(p, QRect(0, -2, 64, 24), c.bandTop, c.bandBottom);
    }
    images["background.jpg"] = strip;
    const std::pair<const char*, Glyph> small[] = {{"1", Glyph::Simple}, {"4", Glyph::Full},
                                                   {"2", Glyph::Minimise}, {"3", Glyph::Close}};
    for (auto [name, glyph] : small) {
        images[QString(name) + ".jpg"] = SmallButton(c, scale, glyph, false);
        images[QString(name) + "b.jpg"] = SmallButton(c, scale, glyph, true);
    }
    images["alert.jpg"] = SmallButton(c, scale, Glyph::Alert, false);
    images["info.jpg"] = SmallButton(c, scale, Glyph::Info, false);

    QImage welcome = Window(c, scale, 277, 128, QString::fromUtf8("Tamzel – prihlásenie"));
    {
        QPainter p(&welcome);
        p.setRenderHint(QPainter::Antialiasing);
        Caption(p, c, 12, 50, QString::fromUtf8("Užívateľ:"));
        Caption(p, c, 12, 82, QString::fromUtf8("Hlas:"));
    }
    images["welcome.jpg"] = welcome;
    // The caption is the window's own ("Nový užívateľ" or "Úprava užívateľa").
    QImage reg = Window(c, scale, 249, 176, "", 120);
    {
        QPainter p(&reg);
        p.setRenderHint(QPainter::Antialiasing);
        Caption(p, c, 10, 70, QString::fromUtf8("Meno:"));
        Caption(p, c, 10, 102, QString::fromUtf8("Výslovnosť:"));
        Caption(p, c, 10, 136, QString::fromUtf8("Pohlavie:"));
    }
    images["register.jpg"] = reg;
    QImage options = Window(c, scale, 349, 254, QString::fromUtf8("Nastavenia"));
    {
        QPainter p(&options);
        p.setRenderHint(QPainter::Antialiasing);
        Caption(p, c, 24, 54, QString::fromUtf8("Užívateľské kontá"));
        Caption(p, c, 175, 78, QString::fromUtf8("Hlasitosť"));
        Caption(p, c, 175, 135, QString::fromUtf8("Rýchlosť reči"));
        Caption(p, c, 175, 191, QString::fromUtf8("Intonácia"));
        Inset(p, c, QRect(24, 61, 121, 153));
    }
    images["options.jpg"] = options;
    images["warning.jpg"] = Window(c, scale, 249, 400, "", 120);

    const std::tuple<const char*, int, int, const char*> buttons[] = {
        {"main_ok", 80, 24, "Prihlásiť"}, {"reg_ok", 50, 24, "OK"},
        {"alert_ok", 57, 16, "OK"},      {"yes", 57, 16, "Áno"},
        {"no", 57, 16, "Nie"},           {"change", 57, 15, "Upraviť"},
        {"erase", 57, 15, "Vymazať"}};
    for (auto [name, w, h, text] : buttons) {
        images[QString(name) + "1.jpg"] = TextButton(c, scale, w, h, QString::fromUtf8(text), false);
        images[QString(name) + "2.jpg"] = TextButton(c, scale, w, h, QString::fromUtf8(text), true);
    }
    return images;
}

QImage DrawRecordsBackground() {
    QImage image = Canvas(580, 64, 1);
    QPainter p(&image);
    Gradient(p, image.rect(), QColor(214, 218, 226), QColor(200, 205, 215));
    p.setPen(QColor(190, 196, 208));
    for (int y = 4; y < 64; y += 8) p.drawLine(0, y, 580, y);
    return image;
}

QImage DrawRecordsTitle() {
    QImage image = Canvas(640, 22, 1);
    for (int x = 0; x < 640; ++x) {
        int shade = x * 120 / 640;
        QColor col(30 + shade / 4, 90 + shade / 3, 60 + shade / 5);
        for (int y = 0; y < 22; ++y) image.setPixel(x, y, col.darker(100 + (y * 2)).rgb());
    }
    return image;
}

QImage DrawProgramIcon() {
    QImage image(128, 128, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 128);
    g.setColorAt(0, QColor(72, 108, 160));
    g.setColorAt(1, QColor(44, 74, 122));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(4, 4, 120, 120), 24, 24);
    // A speech bubble with a smiling face.
    p.setBrush(QColor(250, 251, 253));
    p.drawEllipse(QRectF(20, 22, 88, 70));
    QPainterPath tail;
    tail.moveTo(40, 82);
    tail.lineTo(30, 108);
    tail.lineTo(60, 88);
    p.drawPath(tail);
    p.setBrush(QColor(44, 74, 122));
    p.drawEllipse(QRectF(46, 44, 9, 11));
    p.drawEllipse(QRectF(73, 44, 9, 11));
    p.setPen(QPen(QColor(196, 64, 56), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(46, 50, 36, 24), 200 * 16, 140 * 16);
    return image;
}

}  // namespace tamzel::tools
