#include "app/ColorBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace vantor {

QColor WindowColorToQColor(std::uint32_t windowColor) {
    return QColor(static_cast<int>(windowColor & 0xFF), static_cast<int>((windowColor >> 8) & 0xFF),
                  static_cast<int>((windowColor >> 16) & 0xFF));
}

TColorBox::TColorBox(QWidget* parent) : QWidget(parent) {
    resize(sizeHint());
}

void TColorBox::SetColor(std::uint32_t windowColor) {
    FColor = windowColor & 0xFFFFFF;
    update();
}

void TColorBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), WindowColorToQColor(FColor));
}

void TColorBox::mousePressEvent(QMouseEvent* event) {
    FPressed = event->button() == Qt::LeftButton;
}

void TColorBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = FPressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    FPressed = false;
    if (click) {
        emit OnClick();
    }
}

} // namespace vantor
