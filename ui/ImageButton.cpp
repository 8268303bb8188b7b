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
    // Device pixels, so that double-size face frames stay sharp on a scaled screen.
    const qreal ratio = devicePixelRatioF();
    surface_ = QImage((QSizeF(size()) * ratio).toSize(), QImage::Format_RGB32);
    surface_.setDevicePixelRatio(ratio);
    surface_.fill(QColor(235, 235, 235));
    if (!picture_.isNull()) {
        const QSizeF picture = picture_.deviceIndependentSize();
        QPainter p(&surface_);
        p.drawImage(QPointF((width() - picture.width()) / 2, (height() - picture.height()) / 2),
                    picture_);
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
