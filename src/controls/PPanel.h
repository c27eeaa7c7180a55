#pragma once
// TPaintPanel, a panel that hands its painting to an OnPaint handler and drives its own scroll
// bars through two TMaxControlScrollBar state objects; and TTextPanel, a light label with a
// one-pixel bevel and horizontal or rotated text.

#include "MaxGroup.h"

#include <QAbstractSlider>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QString>
#include <memory>

namespace vantor {

// ---- TMaxControlScrollBar -------------------------------------------------------------------

// The state of one scroll bar of a window, in the platform's terms: a range Min..Max, a page
// size and a thumb position that runs from Min to Max - Page + 1. Until SetWindow attaches a
// scroll-bar widget the setters only keep the values; once attached, they drive the widget
// (whose own range is the thumb positions) and the getters read the position and page back
// from it while it is visible.
class TMaxControlScrollBar {
public:
    TMaxControlScrollBar() = default;
    TMaxControlScrollBar(const TMaxControlScrollBar&) = delete;
    TMaxControlScrollBar& operator=(const TMaxControlScrollBar&) = delete;

    // Step of the line commands.
    int Increment() const { return FIncrement; }
    void SetIncrement(int increment);
    int Min() const;
    void SetMin(int value);
    int Max() const;
    void SetMax(int value);
    unsigned int Page() const;
    void SetPage(unsigned int value);
    int Position() const;
    void SetPosition(int value);
    // The owner repaints while the thumb is dragged.
    bool Tracking() const { return FTracking; }
    void SetTracking(bool on) { FTracking = on; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool on);

    // Attaches the scroll-bar widget this object drives (its orientation is the bar's kind).
    void SetWindow(QScrollBar* bar);
    QScrollBar* Window() const { return FBar; }
    // Hands range, page and position to the widget and shows it, or hides it.
    void SetScrollInfo();
    // Moves the position for a scroll command: a line by Increment, a page by Page (by
    // Increment when Page is 0), the thumb to where it is dragged; other commands keep it.
    void UpdateScrollInfo(int command);

private:
    bool ReadsWidget() const { return FBar != nullptr && FVisible; }
    void ApplyRange();
    void ApplyRangeAndVisibility();

    int FIncrement = 8;
    mutable int FMin = 0;
    int FMax = 100;
    mutable unsigned int FPage = 0;
    mutable int FPosition = 0;
    bool FTracking = true;
    bool FVisible = false;
    QPointer<QScrollBar> FBar;
};

// ---- TPaintPanel ----------------------------------------------------------------------------

class TPaintPanel : public TMaxCustomPanel {
    Q_OBJECT
public:
    explicit TPaintPanel(QWidget* parent = nullptr);
    ~TPaintPanel() override;

    TMaxControlScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
    TMaxControlScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
    // Replace a state object; the old one is freed, the panel owns the new one and attaches
    // it to its bar.
    void SetHorzScrollBar(std::unique_ptr<TMaxControlScrollBar> bar);
    void SetVertScrollBar(std::unique_ptr<TMaxControlScrollBar> bar);

    // The panel's own scroll-bar widgets.
    QScrollBar* HorzBarWidget() const { return FHorzBar; }
    QScrollBar* VertBarWidget() const { return FVertBar; }
    // The part of the panel that its visible scroll bars leave free.
    QRect ClientRect() const;

signals:
    // Painting is the handler's: it draws with the painter it is given.
    void OnPaint(QPainter* canvas);
    void OnScroll();

protected:
    void Paint(QPainter& painter) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Scrolled(TMaxControlScrollBar* state, int command);
    void LayoutBars();

    QScrollBar* FHorzBar = nullptr;
    QScrollBar* FVertBar = nullptr;
    std::unique_ptr<TMaxControlScrollBar> FHorzScrollBar;
    std::unique_ptr<TMaxControlScrollBar> FVertScrollBar;
};

// ---- TTextPanel -----------------------------------------------------------------------------

enum TTextPanelTextStyle { tptsHorizonal, tptsVertical };

class TTextPanel : public TMaxControl {
    Q_OBJECT
public:
    explicit TTextPanel(QWidget* parent = nullptr);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    // None, lowered or raised; space draws no lines either.
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel bevel);
    // Distance of the text from the ends.
    int TextMargin() const { return FTextMargin; }
    void SetTextMargin(int margin);
    TTextPanelTextStyle TextStyle() const { return FTextStyle; }
    void SetTextStyle(TTextPanelTextStyle style);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);

    QSize sizeHint() const override { return QSize(96, 17); }

signals:
    // Raised after painting, with the painter, so a handler can draw over the panel.
    void OnPaint(QPainter* canvas);

protected:
    void paintEvent(QPaintEvent* event) override;
    virtual void PaintText(QPainter& painter);
    virtual void PaintHorizonalText(QPainter& painter);
    // Text running downward with the glyph tops facing right, centred across the panel.
    virtual void PaintVerticalText(QPainter& painter);

private:
    QColor TextColor() const;

    TAlignment FAlignment = TAlignment::taLeftJustify;
    TPanelBevel FBevelInner = TPanelBevel::bvLowered;
    int FTextMargin = 4;
    TTextPanelTextStyle FTextStyle = TTextPanelTextStyle::tptsHorizonal;
    QString FCaption;
};

} // namespace vantor
