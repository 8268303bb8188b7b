#include "ui/ImageButton.h"

#include <QMouseEvent>
#include <QPainter>

namespace tamzel::ui {

FaceView::FaceView(QWidget* parent) : QWidget(parent) {}

void FaceView::SetPicture(const QImage& picture) {
    picture_ = picture;
    Restore();
}

void FaceView::Restore() {
    surface_ = QImage(size(), QImage::Format_RGB32);
    surface_.fill(QColor(235, 235, 235));
    if (!picture_.isNull()) {
        QPainter p(&surface_);
        p.drawImage((width() - picture_.width()) / 2, (height() - picture_.height()) / 2, picture_);
    }
    update();
}

void FaceView::DrawFrame(const QImage& frame, QPoint windowPos) {
    if (frame.isNull()) return;
    QPainter p(&surface_);
    p.drawImage(windowPos - pos(), frame);
    update();
}

void FaceView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, surface_);
}

void FaceView::resizeEvent(QResizeEvent*) { Restore(); }

}  // namespace tamzel::ui
