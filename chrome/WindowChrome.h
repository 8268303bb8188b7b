// What every profile window shares: the current theme as plain values (so that these
// windows need nothing from the main window's library), the image buttons of the chrome,
// dragging a borderless window by any free point, the cut-out window shape and the
// Windows-1250 <-> QString boundary.
#pragma once

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tamzel::profiles {

// The current theme: the folder its images come from ("design/interface/"), its colour in
// the toolkit encoding (blue*65536 + green*256 + red; negative: a system colour) and the
// JPEG decoder to use, and the device pixel ratio of the window. Every window asks for it again at each show, so a theme change of
// the main window reaches it.
struct WindowTheme {
    std::string file = "design/interface.thm";
    std::string folder = "design/interface/";
    int color = 0xDCDCDC;
    std::function<QImage(const std::string& path)> load;  // empty: QImage's own reader
    double pixelRatio = 1.0;  // of the window that shows the pictures (double-size ones from 1.5)

    QImage Image(const char* name) const;
    QColor Color() const;
};
using ThemeSource = std::function<WindowTheme()>;

// The toolkit colour encoding (blue*65536 + green*256 + red) as a QColor; system-colour
// codes (negative values) give light grey.
QColor ThemeQColor(int encoded);

// The folder of the theme the program ships; its pictures stand in for damaged ones.
extern const char* const kDefaultThemeFolder;

// The pictures of one show of a window. Themes are downloaded and exchanged: a picture that
// is missing or cannot be decoded is taken from the default theme instead (else the widget
// keeps its previous picture), and the files that failed are named in one message once the
// window has loaded them all, instead of a blank face or a missing button.
class ThemePictures {
public:
    explicit ThemePictures(WindowTheme theme);
    // The window's device pixel ratio, for the double-size pictures.
    void SetPixelRatio(double ratio) { theme_.pixelRatio = ratio; }
    QImage Image(const char* name);
    // A problem of the theme itself (its .thm file), Windows-1250; it leads the message.
    void AddThemeProblem(const std::string& cp1250);
    // One Windows-1250 message naming what failed; empty when nothing did.
    std::string Problem() const;

private:
    WindowTheme theme_;
    std::string themeProblem_;
    std::vector<std::string> failed_;  // UTF-8 paths, each once
};

// The theme file's path without its last 4 characters, plus "/".
std::string ThemeFolderOf(const std::string& themeFile);
// A theme file holds one short line; a longer one (a device, a huge download) is refused
// without being read whole.
inline constexpr size_t kMaxThemeFileBytes = 4096;
// The integer at the start of the theme file's first line (leading blanks skipped);
// nothing when the file cannot be read, is longer than kMaxThemeFileBytes or the line
// starts otherwise.
std::optional<int> ReadThemeColor(const std::string& themeFile);

// The contrast of two colours as the accessibility guidelines count it, 1 (none) to 21.
double ContrastRatio(const QColor& a, const QColor& b);
// Black or white, whichever reads better on `background` (a theme's colour may be light or
// dark).
QColor ReadableTextOn(const QColor& background);

// Windows-1250 bytes to a QString and back; characters without a Windows-1250 form
// become '?'.
QString Qt1250(const std::string& cp1250);
std::string From1250(const QString& text);

// An image button: the pressed picture while the mouse button is held on it; on release
// the normal picture again, then clicked().
class ChromeButton : public QLabel {
    Q_OBJECT
public:
    explicit ChromeButton(QWidget* parent = nullptr);
    void SetImages(const QImage& normal, const QImage& pressed);
    bool pressedShown() const { return pressed_; }
    // What a click with the mouse does (tests and keyboard paths call it too).
    void Click();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage normalImage_, pressedImage_;
    bool pressed_ = false;
};

// A borderless window that a press on any free point drags, as a title bar would (child
// controls that take the mouse keep it). `cut` is the rectangle taken out of its shape.
class ChromeWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChromeWindow(QWidget* parent = nullptr, Qt::WindowFlags extra = {});
    void SetCutOut(const QRect& cut);
    void CentreOnScreen();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect cut_;
    QPoint dragOffset_;
    bool dragging_ = false;
};

// The theme of `source` for `window`: with the window's device pixel ratio.
WindowTheme ThemeFor(const QWidget& window, WindowTheme theme);

// A plain picture at a place of its parent that lets mouse presses through to the window.
QLabel* MakePicture(QWidget* parent, int x, int y, int w = 0, int h = 0);
// The label takes the picture's size in logical pixels.
void ShowPicture(QLabel* label, const QImage& image);
// The colour of the picture at a logical point (a double-size picture is read at twice it).
QColor PictureColorAt(const QImage& image, QPoint logical);

// The minimise and close buttons of a title strip: a panel at `place` with its picture and
// two 16 x 16 buttons side by side, the first `firstButtonX` from the panel's left.
struct TitleButtons {
    QWidget* panel;
    QLabel* picture;
    ChromeButton* minimize;
    ChromeButton* close;
};
TitleButtons MakeTitleButtons(QWidget* window, const QRect& place, int firstButtonX);

}  // namespace tamzel::profiles
