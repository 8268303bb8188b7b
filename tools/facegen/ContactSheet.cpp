#include "tools/facegen/ContactSheet.h"

#include <QPainter>
#include <algorithm>
#include <stdexcept>

#include "tools/facegen/FaceFrames.h"

namespace tamzel::speech {
namespace {

constexpr int kColumns = 7;
constexpr int kLabel = 16;
constexpr int kGap = 8;

bool IsWhole(const QImage& image) {
    return image.width() == kFaceWidth && image.height() == kFaceHeight;
}

QImage Composite(const QImage& base, const QImage& frame) {
    if (IsWhole(frame)) return frame;
    QImage out = base.copy();
    QPainter p(&out);
    p.drawImage(kSmallFrameLeft, kSmallFrameTop, frame);
    return out;
}

const QImage& Find(const std::vector<NamedImage>& frames, const std::string& name) {
    for (const auto& [frameName, image] : frames)
        if (frameName == name) return image;
    throw std::runtime_error("Na prehľad chýba snímka " + name);
}

}  // namespace

QImage RenderContactSheet(const std::vector<NamedImage>& frames, int scale) {
    const QImage& base = Find(frames, "default2");
    const int cellW = kFaceWidth + kGap, cellH = kFaceHeight + kLabel + kGap;
    const int rows = (static_cast<int>(frames.size()) + kColumns - 1) / kColumns;
    const int smallCellW = kSmallFrameWidth + kGap, smallCellH = kSmallFrameHeight + kLabel + kGap;
    const int smallColumns = kColumns * cellW / smallCellW;
    const int smallCount = static_cast<int>(std::count_if(
        frames.begin(), frames.end(), [](const NamedImage& f) { return !IsWhole(f.second); }));
    const int smallRows = (smallCount + smallColumns - 1) / smallColumns;

    QImage sheet(kColumns * cellW * scale, (rows * cellH + smallRows * smallCellH + kGap) * scale,
                 QImage::Format_RGB888);
    sheet.fill(QColor(60, 60, 60));
    QPainter p(&sheet);
    p.scale(scale, scale);
    p.setPen(Qt::white);
    int index = 0;
    for (const auto& [name, image] : frames) {
        const int x = (index % kColumns) * cellW, y = (index / kColumns) * cellH;
        p.drawText(QRect(x, y, kFaceWidth, kLabel), Qt::AlignCenter, QString::fromStdString(name));
        p.drawImage(x, y + kLabel, Composite(base, image));
        ++index;
    }
    index = 0;
    const int top = rows * cellH + kGap;
    for (const auto& [name, image] : frames) {
        if (IsWhole(image)) continue;
        const int x = (index % smallColumns) * smallCellW, y = top + (index / smallColumns) * smallCellH;
        p.drawText(QRect(x, y, kSmallFrameWidth, kLabel), Qt::AlignCenter, QString::fromStdString(name));
        p.drawImage(x, y + kLabel, image);
        p.setPen(Qt::yellow);
        p.drawRect(x - 1, y + kLabel - 1, image.width() + 1, image.height() + 1);
        p.setPen(Qt::white);
        ++index;
    }
    return sheet;
}

}  // namespace tamzel::speech
