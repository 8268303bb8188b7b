#include "tools/themegen/ImageFiles.h"

#include <turbojpeg.h>

#include <QFile>
#include <cstdio>
#include <vector>

namespace tamzel::tools {
namespace {

bool WriteBytes(const QString& path, const char* data, qsizetype size) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data, size) != size) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Packs variable-width LZW codes into GIF data sub-blocks.
class CodeWriter {
public:
    void Put(int code, int width) {
        bits_ |= static_cast<uint32_t>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes_.push_back(static_cast<char>(bits_ & 0xFF));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    std::vector<char> Finish() {
        if (count_ > 0) bytes_.push_back(static_cast<char>(bits_ & 0xFF));
        std::vector<char> blocks;
        for (size_t i = 0; i < bytes_.size(); i += 255) {
            size_t n = std::min<size_t>(255, bytes_.size() - i);
            blocks.push_back(static_cast<char>(n));
            blocks.insert(blocks.end(), bytes_.begin() + i, bytes_.begin() + i + n);
        }
        blocks.push_back(0);
        return blocks;
    }

private:
    uint32_t bits_ = 0;
    int count_ = 0;
    std::vector<char> bytes_;
};

int NearestIndex(const std::vector<QRgb>& palette, QRgb c) {
    int best = 0;
    int bestDistance = 1 << 30;
    for (size_t i = 0; i < palette.size(); ++i) {
        int dr = qRed(palette[i]) - qRed(c), dg = qGreen(palette[i]) - qGreen(c),
            db = qBlue(palette[i]) - qBlue(c);
        int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) bestDistance = d, best = static_cast<int>(i);
    }
    return best;
}

}  // namespace

bool WriteJpeg(const QImage& image, const QString& path, int quality) {
    QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    tjhandle handle = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    int rc = tjCompress2(handle, rgb.constBits(), rgb.width(), static_cast<int>(rgb.bytesPerLine()),
                         rgb.height(), TJPF_RGB, &out, &size, TJSAMP_444, quality, 0);
    bool ok = rc == 0 && WriteBytes(path, reinterpret_cast<const char*>(out),
                                    static_cast<qsizetype>(size));
    if (rc != 0) std::fprintf(stderr, "JPEG compression failed for %s\n", qPrintable(path));
    tjFree(out);
    tjDestroy(handle);
    return ok;
}

// Every pixel is sent as a literal code and the table is cleared before it would need
// 10-bit codes; the file is larger than a fully compressed one but trivially correct.
bool WriteGif(const QImage& image, const QString& path) {
    QImage src = image.convertToFormat(QImage::Format_RGB32);
    std::vector<QRgb> palette;
    std::vector<uint8_t> indices;
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            QRgb c = src.pixel(x, y) | 0xFF000000u;
            int index = -1;
            for (size_t i = 0; i < palette.size() && index < 0; ++i) {
                if (palette[i] == c) index = static_cast<int>(i);
            }
            if (index < 0 && palette.size() < 256) {
                palette.push_back(c);
                index = static_cast<int>(palette.size() - 1);
            }
            if (index < 0) index = NearestIndex(palette, c);
            indices.push_back(static_cast<uint8_t>(index));
        }
    }
    palette.resize(256, 0xFF000000u);
    std::vector<char> out = {'G', 'I', 'F', '8', '9', 'a'};
    auto put16 = [&out](int v) { out.push_back(static_cast<char>(v & 0xFF)); out.push_back(static_cast<char>(v >> 8)); };
    put16(src.width());
    put16(src.height());
    out.push_back(static_cast<char>(0xF7));  // global table of 256 colours
    out.push_back(0);
    out.push_back(0);
    for (QRgb c : palette) {
        out.push_back(static_cast<char>(qRed(c)));
        out.push_back(static_cast<char>(qGreen(c)));
        out.push_back(static_cast<char>(qBlue(c)));
    }
    out.push_back(',');
    put16(0);
    put16(0);
    put16(src.width());
    put16(src.height());
    out.push_back(0);
    out.push_back(8);  // minimum code size
    CodeWriter codes;
    const int clear = 256, end = 257;
    int sinceClear = 0;
    codes.Put(clear, 9);
    for (uint8_t index : indices) {
        if (sinceClear == 250) {
            codes.Put(clear, 9);
            sinceClear = 0;
        }
        codes.Put(index, 9);
        ++sinceClear;
    }
    codes.Put(end, 9);
    std::vector<char> data = codes.Finish();
    out.insert(out.end(), data.begin(), data.end());
    out.push_back(';');
    return WriteBytes(path, out.data(), static_cast<qsizetype>(out.size()));
}

}  // namespace tamzel::tools
