#include "ui/ImageButton.h"

#include <QMouseEvent>
#include <QPainter>

namespace tamzel::ui {

ImageButton::ImageButton(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
}

void ImageButton::SetImages(const QImage& normal, const QImage& pressed) {
    if (!normal.isNull()) normal_ = normal;
    if (!pressed.isNull()) pressed_ = pressed;
    ShowNormal();
}

void ImageButton::ShowNormal() {
    pressedShown_ = false;
    setPixmap(QPixmap::fromImage(normal_));
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressedShown_ = true;
    setPixmap(QPixmap::fromImage(pressed_));
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressedShown_) return;
    ShowNormal();
    emit clicked();
}

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
