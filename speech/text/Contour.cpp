#include "speech/text/Contour.h"

#include <cmath>
#include <string_view>

namespace tamzel::speech {
namespace {

struct MarkShape {
    double start, fill, end;
};

bool IsMark(char c) { return c == '!' || c == ',' || c == '.' || c == '?'; }
bool IsWordChar(char c) { return c != '~' && !IsMark(c); }

MarkShape ShapeOf(char mark) {
    switch (mark) {
        case '?': return {128, 127, 255};
        case '!': return {255, 127, 20};
        case ',': return {128, 127, 20};
        default: return {128, 127, 1};
    }
}

// Half to even, then held inside the byte range (playback expects 0..255).
uint8_t ToByte(double v) {
    double r = std::nearbyint(v);  // the default rounding mode rounds halves to even
    if (std::fabs(v - std::trunc(v)) == 0.5) r = 2.0 * std::round(v / 2.0);
    if (r < 0) return 0;
    if (r > 255) return 255;
    return static_cast<uint8_t>(r);
}

// Works on 0-based positions; `set` remembers which positions a curve has written, so a
// curve value that comes out as 0 is not mistaken for "not yet set" by the fill.
class ContourBuilder {
public:
    explicit ContourBuilder(const std::string& text)
        : text_(text), values_(text.size(), 0), set_(text.size(), false) {}

    void Phrase(size_t s, size_t e) {
        MarkShape shape = ShapeOf(text_[e]);
        if (e == s + 1) {
            Store(s, shape.fill);
            Store(e, shape.fill);
            return;
        }
        int words = CountWords(s, e);
        if (words > 0) FirstWord(s, shape, words == 1 ? shape.end : 128.0);
        if (words >= 2) LastWord(s, e, shape);
        if (words != 2) Fill(s, e, shape.fill);
    }

    Contour Take() { return std::move(values_); }

private:
    void Store(size_t x, double v) {
        values_[x] = ToByte(v);
        set_[x] = true;
    }

    // Words that start after s, up to and including e.
    int CountWords(size_t s, size_t e) const {
        int n = 0;
        for (size_t x = s + 1; x <= e; ++x)
            if (IsWordChar(text_[x]) && !IsWordChar(text_[x - 1])) ++n;
        return n;
    }

    int SoundCount(size_t from, size_t to) const {
        int k = 0;
        for (size_t x = from; x <= to; ++x) k += text_[x] != '-';
        return k;
    }

    void FirstWord(size_t s, const MarkShape& shape, double endValue) {
        size_t i = s;
        while (i < text_.size() && text_[i] == '~') ++i;
        size_t j = i;  // the word runs to the next pause (or the end of the text)
        while (j + 1 < text_.size() && text_[j + 1] != '~') ++j;
        int k = SoundCount(i, j);
        if (k == 0) return;
        double step = (shape.start - endValue) / k, v = shape.start;
        int n = 0, h = k / 2;
        for (size_t x = i; x <= j; ++x) {
            if (text_[x] != '-') {
                ++n;
                v = v - step + step * (n - h - 1) / (h + 1);
            }
            Store(x, v);
        }
    }

    void LastWord(size_t s, size_t e, const MarkShape& shape) {
        size_t j2 = e;
        while (j2 > s && !IsWordChar(text_[j2])) --j2;
        if (j2 <= s) return;
        size_t m = j2;
        while (m - 1 > s && IsWordChar(text_[m - 1])) --m;
        int k = SoundCount(m, j2);
        if (k == 0) return;
        double step = (128.0 - shape.end) / k, v = 128.0;
        int n = 0, h = k / 2;
        for (size_t x = m; x <= j2; ++x) {
            if (text_[x] != '-') {
                ++n;
                v = v - step - step * (n - h - 1) / (h + 1);
            }
            Store(x, v);
        }
    }

    void Fill(size_t s, size_t e, double fill) {
        for (size_t x = s; x <= e; ++x)
            if (!set_[x]) Store(x, fill);
    }

    const std::string& text_;
    Contour values_;
    std::vector<bool> set_;
};

}  // namespace

Contour ComputeContour(const std::string& text) {
    ContourBuilder builder(text);
    size_t s = 0;
    for (size_t p = 0; p < text.size(); ++p) {
        if (!IsMark(text[p])) continue;
        size_t e = p;
        while (e + 1 < text.size() && IsMark(text[e + 1])) ++e;
        builder.Phrase(s, e);
        s = e + 1;
        p = e;
    }
    return builder.Take();
}

}  // namespace tamzel::speech
