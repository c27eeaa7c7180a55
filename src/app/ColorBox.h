#pragma once
// A colour box: a small rectangle filled with one colour of the window inside a black
// one-pixel frame. The box holds the colour value itself, in the window form 0x00BBGGRR.

#include <QWidget>
#include <cstdint>

namespace vantor {

class TColorBox : public QWidget {
    Q_OBJECT
public:
    explicit TColorBox(QWidget* parent = nullptr);

    std::uint32_t Color() const { return FColor; }
    // Stores the colour and repaints the box.
    void SetColor(std::uint32_t windowColor);

    QSize sizeHint() const override { return QSize(49, 20); }

signals:
    // A left press and release inside the box.
    void OnClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::uint32_t FColor = 0;
    bool FPressed = false;
};

// The window-form colour as a QColor.
QColor WindowColorToQColor(std::uint32_t windowColor);

} // namespace vantor
