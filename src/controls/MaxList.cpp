#include "MaxList.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>

namespace vantor {

bool IsCharacterInput(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty() ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        return false;
    }
    const QChar first = text.at(0);
    return first.unicode() >= 32 && first.unicode() != 127;
}

// Draws the items through the list, so that the margin and OnDrawItem apply, and gives them
// the list's item height.
class TMaxListBoxDelegate : public QStyledItemDelegate {
public:
    explicit TMaxListBoxDelegate(TMaxListBox* list) : QStyledItemDelegate(list), FList(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        FList->DrawItem(painter, option, index);
    }

    void PaintStandard(QPainter* painter, const QStyleOptionViewItem& option,
                       const QModelIndex& index) const {
        QStyledItemDelegate::paint(painter, option, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (FList->FItemHeight > 0) {
            size.setHeight(FList->FItemHeight);
        }
        return size;
    }

private:
    TMaxListBox* FList;
};

TMaxListBox::TMaxListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new TMaxListBoxDelegate(this));
    setUniformItemSizes(true);
    // Margin moves are reported with no button held, as every other pointer move.
    viewport()->setMouseTracking(true);
    // Qt gives a clicked widget the focus before the widget sees the press. The list takes the
    // focus itself for the presses it handles, so that a press in the margin leaves the focus
    // where it was.
    setFocusPolicy(Qt::TabFocus);
    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
        bar->installEventFilter(this);
        connect(bar, &QAbstractSlider::actionTriggered, this, [this] { emit OnScroll(); });
    }
}

TMaxListBox::~TMaxListBox() = default;

void TMaxListBox::SetLeftMargin(int width) {
    if (width == FLeftMargin) {
        return;
    }
    FLeftMargin = width;
    viewport()->repaint();
}

QColor TMaxListBox::MarginColor() const {
    return FMarginColor.isValid() ? FMarginColor
                                  : palette().color(QPalette::Active, QPalette::Base);
}

void TMaxListBox::SetMarginColor(const QColor& color) {
    FMarginColor = color;
    viewport()->update();
}

void TMaxListBox::SetItemHeight(int height) {
    if (height == FItemHeight) {
        return;
    }
    FItemHeight = height;
    // The view caches item sizes; a relayout asks the delegate again.
    doItemsLayout();
}

int TMaxListBox::ItemIndex() const {
    if (selectionMode() == QAbstractItemView::SingleSelection) {
        const QModelIndexList selected = selectionModel()->selectedIndexes();
        return selected.isEmpty() ? -1 : selected.first().row();
    }
    return currentRow();
}

void TMaxListBox::SetItemIndex(int index) {
    setCurrentRow(index >= 0 && index < count() ? index : -1);
}

QRect TMaxListBox::ItemRect(int index) const {
    QRect rect = visualRect(model()->index(index, 0));
    if (rect.isValid()) {
        rect.setLeft(FLeftMargin);
    }
    return rect;
}

int TMaxListBox::ItemAtPoint(const QPoint& point) const {
    const QModelIndex index = indexAt(point);
    return index.isValid() ? index.row() : -1;
}

void TMaxListBox::DrawItem(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
    const QRect& rect = option.rect;
    if (FLeftMargin > 0) {
        painter->fillRect(RectLTRB(0, rect.top(), FLeftMargin, rect.bottom() + 1), MarginColor());
    }
    QStyleOptionViewItem rest = option;
    rest.rect.setLeft(FLeftMargin);
    if (isSignalConnected(QMetaMethod::fromSignal(&TMaxListBox::OnDrawItem))) {
        painter->save();
        emit const_cast<TMaxListBox*>(this)->OnDrawItem(index.row(), painter, rest.rect,
                                                        rest.state);
        painter->restore();
        return;
    }
    static_cast<const TMaxListBoxDelegate*>(itemDelegate())->PaintStandard(painter, rest, index);
}

bool TMaxListBox::MarginMouse(QMouseEvent* event) {
    const QPoint p = MousePoint(event);
    const bool inMargin = p.x() < FLeftMargin;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if (event->button() != Qt::LeftButton || !inMargin) {
            return false;
        }
        FPressedInMargin = true;
        FMarginPressIndex = ItemAtPoint(p);
        if (FMarginPressIndex >= 0) {
            emit OnMarginMouseDown(FMarginPressIndex, Qt::LeftButton, event->modifiers(), p.x(),
                                   p.y());
        }
        return true;
    }
    case QEvent::MouseMove: {
        if (!FPressedInMargin && !inMargin) {
            return false;
        }
        const int index = ItemAtPoint(p);
        if (index >= 0) {
            emit OnMarginMouseMove(index, event->modifiers(), p.x(), p.y());
        }
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (event->button() != Qt::LeftButton || (!FPressedInMargin && !inMargin)) {
            return false;
        }
        const bool pressedInMargin = FPressedInMargin;
        FPressedInMargin = false;
        const int index = ItemAtPoint(p);
        if (index >= 0) {
            emit OnMarginMouseUp(index, Qt::LeftButton, event->modifiers(), p.x(), p.y());
            if (pressedInMargin && inMargin && index == FMarginPressIndex) {
                emit OnMarginClick(index);
            }
        }
        // The release of a press the list handled itself goes on to the list as well, or the
        // list would stay in the middle of its press.
        return pressedInMargin;
    }
    default:
        return false;
    }
}

bool TMaxListBox::PointerOverList(const QPoint& globalPos) const {
    const QWidget* under = QApplication::widgetAt(globalPos);
    return under == this || isAncestorOf(under);
}

bool TMaxListBox::Wheel(QWheelEvent* event) {
    switch (FMouseWheel) {
    case mwEnable:
        return false;
    case mwDisable:
        event->accept();
        return true;
    case mwOnlyOnControl: {
        const QPoint global = event->globalPosition().toPoint();
        if (PointerOverList(global)) {
            return false;
        }
        // The wheel belongs to what is under the pointer in this window, as if the list had
        // never seen it.
        QWidget* under = QApplication::widgetAt(global);
        if (under != nullptr && under->window() == window()) {
            QWheelEvent passed(under->mapFromGlobal(event->globalPosition()),
                               event->globalPosition(), event->pixelDelta(), event->angleDelta(),
                               event->buttons(), event->modifiers(), event->phase(),
                               event->inverted(), event->source(), event->pointingDevice());
            QCoreApplication::sendEvent(under, &passed);
        }
        event->accept();
        return true;
    }
    }
    return false;
}

bool TMaxListBox::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        if (MarginMouse(static_cast<QMouseEvent*>(event))) {
            return true;
        }
        break;
    case QEvent::Wheel:
        if (Wheel(static_cast<QWheelEvent*>(event))) {
            return true;
        }
        break;
    default:
        break;
    }
    if (FMessageHook && FMessageHook(this, event)) {
        return true;
    }

    const QEvent::Type type = event->type();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    const bool leftButton = (press || type == QEvent::MouseButtonRelease) &&
                            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    if (press && isEnabled() && !hasFocus()) {
        setFocus(Qt::MouseFocusReason);
    }
    if (press && leftButton) {
        FListPressed = true;
    }
    const bool handled = QListWidget::viewportEvent(event);
    if (type == QEvent::MouseButtonRelease && leftButton && FListPressed) {
        FListPressed = false;
        emit OnClick();
    }
    return handled;
}

bool TMaxListBox::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress && !FEnableKeyboard &&
        IsCharacterInput(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    if (FMessageHook && FMessageHook(this, event)) {
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const int before = currentRow();
        const bool handled = QListWidget::event(event);
        if (currentRow() != before) {
            emit OnClick();
        }
        return handled;
    }
    return QListWidget::event(event);
}

bool TMaxListBox::eventFilter(QObject* watched, QEvent* event) {
    // The scroll bars belong to the list: the wheel over them follows the list's rules.
    if (event->type() == QEvent::Wheel &&
        (watched == verticalScrollBar() || watched == horizontalScrollBar())) {
        if (Wheel(static_cast<QWheelEvent*>(event))) {
            return true;
        }
    }
    return QListWidget::eventFilter(watched, event);
}

} // namespace vantor
