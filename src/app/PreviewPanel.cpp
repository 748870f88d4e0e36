#include "app/PreviewPanel.h"

#include <QPainter>

namespace pellucor::app {

PreviewPanel::PreviewPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
}

void PreviewPanel::showPicture(int width, int height, const std::vector<std::uint8_t>& rgb) {
    if (width <= 0 || height <= 0) return;
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    if (rgb.size() < stride * static_cast<std::size_t>(height)) return;
    // The engine's buffer is reused for the next picture, so keep a deep copy.
    picture_ = QImage(rgb.data(), width, height, static_cast<qsizetype>(stride), QImage::Format_RGB888).copy();
    update();
}

void PreviewPanel::clearPicture() {
    picture_ = QImage();
    update();
}

void PreviewPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter p(this);
    const QRect area = contentsRect();
    p.fillRect(area, Qt::black);
    if (picture_.isNull()) return;
    QSize size = picture_.size().scaled(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), size);
    target.moveCenter(area.center());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, picture_);
}

} // namespace pellucor::app
