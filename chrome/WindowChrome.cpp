#include "chrome/WindowChrome.h"

#include <algorithm>
#include <cmath>

#include <QGuiApplication>
#include <QMouseEvent>
#include <QRegion>
#include <QScreen>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

#include "base/Files.h"
#include "base/Codepage.h"
#include "chrome/PixelRatio.h"

namespace tamzel::profiles {

QImage WindowTheme::Image(const char* name) const {
    const PictureLoader read = load ? load : [](const std::string& path) {
        return QImage(QString::fromStdString(path));
    };
    return PictureForRatio(folder + name, pixelRatio, read);
}

const char* const kDefaultThemeFolder = "design/interface/";

namespace {
// A message naming every damaged picture of a theme would outgrow the dialog.
constexpr size_t kNamedPictures = 3;
}  // namespace

ThemePictures::ThemePictures(WindowTheme theme) : theme_(std::move(theme)) {}

QImage ThemePictures::Image(const char* name) {
    QImage image = theme_.Image(name);
    if (!image.isNull()) return image;
    std::string path = theme_.folder + name;
    if (std::find(failed_.begin(), failed_.end(), path) == failed_.end()) failed_.push_back(path);
    if (theme_.folder == kDefaultThemeFolder) return image;
    WindowTheme fallback = theme_;
    fallback.folder = kDefaultThemeFolder;
    return fallback.Image(name);
}

void ThemePictures::AddThemeProblem(const std::string& cp1250) { themeProblem_ = cp1250; }

std::string ThemePictures::Problem() const {
    std::string text = themeProblem_;
    if (failed_.empty()) return text;
    if (!text.empty()) text += "\\";
    if (failed_.size() == 1) {
        return text + base::FromUtf8Lossy("Obrázok vzhľadu ") + base::FromUtf8Lossy(failed_[0]) +
               base::FromUtf8Lossy(" chýba alebo je poškodený. Okno ukazuje obrázok základného "
                                     "vzhľadu alebo predchádzajúci.");
    }
    text += base::FromUtf8Lossy("Obrázky vzhľadu chýbajú alebo sú poškodené: ");
    for (size_t i = 0; i < failed_.size() && i < kNamedPictures; ++i)
        text += (i ? ", " : "") + base::FromUtf8Lossy(failed_[i]);
    if (failed_.size() > kNamedPictures)
        text += base::FromUtf8Lossy(" a ďalšie (spolu ") + std::to_string(failed_.size()) + ")";
    return text + base::FromUtf8Lossy(
                      ". Okno ukazuje obrázky základného vzhľadu alebo predchádzajúce.");
}

QColor ThemeQColor(int encoded) {
    if (encoded < 0) return QColor(220, 220, 220);
    return QColor(encoded & 0xFF, (encoded >> 8) & 0xFF, (encoded >> 16) & 0xFF);
}

QColor WindowTheme::Color() const { return ThemeQColor(color); }

namespace {
double RelativeLuminance(const QColor& c) {
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
           0.0722 * channel(c.blueF());
}
}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableTextOn(const QColor& background) {
    return ContrastRatio(Qt::black, background) >= ContrastRatio(Qt::white, background)
               ? QColor(Qt::black) : QColor(Qt::white);
}

std::string ThemeFolderOf(const std::string& themeFile) {
    std::string base = themeFile.size() >= 4 ? themeFile.substr(0, themeFile.size() - 4) : "";
    return base + "/";
}

std::optional<int> ReadThemeColor(const std::string& themeFile) {
    std::string text;
    if (base::ReadFileAtMost(themeFile, kMaxThemeFileBytes, text) != base::BoundedRead::Ok)
        return std::nullopt;
    std::string line = text.substr(0, text.find('\n'));
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos) return std::nullopt;
    size_t end = i;
    if (line[end] == '-' || line[end] == '+') ++end;
    size_t digits = end;
    while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end]))) ++end;
    if (end == digits) return std::nullopt;
    // Any int is a colour (system colours use the sign bit), as the main window reads it.
    errno = 0;
    long value = std::strtol(line.c_str() + i, nullptr, 10);
    if (errno == ERANGE || value < INT_MIN || value > INT_MAX) return std::nullopt;
    return static_cast<int>(value);
}

QString Qt1250(const std::string& cp1250) {
    return QString::fromStdString(base::ToUtf8(cp1250));
}

std::string From1250(const QString& text) {
    return base::FromUtf8Lossy(text.toStdString());
}

ChromeButton::ChromeButton(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
}

void ChromeButton::SetImages(const QImage& normal, const QImage& pressed) {
    if (!normal.isNull()) normalImage_ = normal;
    if (!pressed.isNull()) pressedImage_ = pressed;
    pressed_ = false;
    setPixmap(QPixmap::fromImage(normalImage_));
}

void ChromeButton::Click() {
    pressed_ = false;
    setPixmap(QPixmap::fromImage(normalImage_));
    emit clicked();
}

void ChromeButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    setPixmap(QPixmap::fromImage(pressedImage_));
}

void ChromeButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    Click();
}

ChromeWindow::ChromeWindow(QWidget* parent, Qt::WindowFlags extra)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | extra) {}

void ChromeWindow::SetCutOut(const QRect& cut) {
    cut_ = cut;
    QRegion shape(rect());
    if (cut_.isValid()) shape -= QRegion(cut_.intersected(rect()));
    setMask(shape);
}

void ChromeWindow::CentreOnScreen() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

// The shape follows the size: the cut always reaches the right edge of the window.
void ChromeWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (cut_.isValid()) SetCutOut(QRect(cut_.left(), cut_.top(), width(), cut_.height()));
}

void ChromeWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void ChromeWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) move(event->globalPosition().toPoint() - dragOffset_);
}

void ChromeWindow::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

QLabel* MakePicture(QWidget* parent, int x, int y, int w, int h) {
    auto* label = new QLabel(parent);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->move(x, y);
    if (w > 0 && h > 0) label->resize(w, h);
    return label;
}

TitleButtons MakeTitleButtons(QWidget* window, const QRect& place, int firstButtonX) {
    constexpr int kButtonSize = 16, kButtonTop = 2, kButtonPitch = 20;
    TitleButtons strip{};
    strip.panel = new QWidget(window);
    strip.panel->setGeometry(place);
    strip.picture = MakePicture(strip.panel, 0, 0, place.width(), place.height());
    strip.minimize = new ChromeButton(strip.panel);
    strip.minimize->setGeometry(firstButtonX, kButtonTop, kButtonSize, kButtonSize);
    strip.close = new ChromeButton(strip.panel);
    strip.close->setGeometry(firstButtonX + kButtonPitch, kButtonTop, kButtonSize, kButtonSize);
    return strip;
}

void ShowPicture(QLabel* label, const QImage& image) {
    if (image.isNull()) return;  // a missing picture keeps the previous one
    label->setPixmap(QPixmap::fromImage(image));
    label->resize(image.deviceIndependentSize().toSize());
}

QColor PictureColorAt(const QImage& image, QPoint logical) {
    const QPoint device = (QPointF(logical) * image.devicePixelRatio()).toPoint();
    return image.valid(device) ? QColor(image.pixel(device)) : QColor();
}

WindowTheme ThemeFor(const QWidget& window, WindowTheme theme) {
    theme.pixelRatio = window.devicePixelRatioF();
    return theme;
}

}  // namespace tamzel::profiles
