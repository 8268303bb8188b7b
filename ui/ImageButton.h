// The image buttons and the face view of the main window. The image button is the one the
// other windows use: it shows its pressed picture while the mouse button is held on it, and
// on release shows the normal picture again and then emits clicked().
#pragma once

#include <QImage>
#include <QLabel>

#include "chrome/WindowChrome.h"

namespace tamzel::ui {

using ImageButton = profiles::ChromeButton;

// The face image Image2 together with the frames the face animation paints over it. Frames
// are composed onto a copy of the picture; Restore() brings back the bare picture, as a
// repaint of the window does.
class FaceView : public QWidget {
    Q_OBJECT
public:
    explicit FaceView(QWidget* parent = nullptr);
    void SetPicture(const QImage& picture);
    // Draws `frame` with its top-left corner at `windowPos` (main-window coordinates).
    void DrawFrame(const QImage& frame, QPoint windowPos);
    void Restore();
    const QImage& surface() const { return surface_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage picture_;
    QImage surface_;
};

}  // namespace tamzel::ui
