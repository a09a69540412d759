#include "ui/controls.h"

#include <QAccessible>
#include <QComboBox>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <algorithm>

namespace kalvo {

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    clicks_.press(event);
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) { clicks_.doubleClick(event); }

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = clicks_.release(event, rect());
    QLabel::mouseReleaseEvent(event);
    if (click) emit clicked();
}

void ClickLabel::setText(const QString& text) {
    if (text == QLabel::text()) return;
    const QString before = QLabel::text();
    QLabel::setText(text);
    if (!QAccessible::isActive()) return;  // nobody listens: no interface is made for the label
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleTextUpdateEvent updated(this, 0, before, text);
    QAccessible::updateAccessibility(&updated);
}

void ClickLabel::setShownLines(const QStringList& lines) {
    shownLines_ = lines;
    linesFor_ = text();
    update();
}

// The lines stand where QLabel would put them; a block taller than the box (a face
// with taller lines than the design face) has its ink centred on the box, so that what
// is cut is the lines' empty leading rather than the characters.
void ClickLabel::paintEvent(QPaintEvent* event) {
    if (!showsOwnLines()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    drawFrame(&p);
    const QRect box = contentsRect();
    const QFontMetrics fm(font());
    const int n = static_cast<int>(shownLines_.size());
    const int pitch = n == 1 ? fm.height() : std::min(fm.lineSpacing(), box.height() / n);
    const int block = (n - 1) * pitch + fm.height();
    int baseline = box.top() + fm.ascent();
    if (block > box.height() || (alignment() & Qt::AlignVCenter)) {
        const int inkTop = fm.ascent() + fm.tightBoundingRect(shownLines_.front()).top();
        const int inkBottom = (n - 1) * pitch + fm.ascent() + fm.tightBoundingRect(shownLines_.back()).bottom();
        baseline = box.top() + (box.height() - (inkBottom - inkTop + 1)) / 2 - inkTop + fm.ascent();
    }
    p.setClipRect(box);
    p.setFont(font());
    p.setPen(palette().color(foregroundRole()));
    const Qt::Alignment horizontal = alignment() & Qt::AlignHorizontal_Mask;
    for (int i = 0; i < n; ++i) {
        const int width = fm.horizontalAdvance(shownLines_[i]);
        int x = box.left();
        if (horizontal & Qt::AlignHCenter) x += (box.width() - width) / 2;
        else if (horizontal & Qt::AlignRight) x = box.right() + 1 - width;
        p.drawText(x, baseline + i * pitch, shownLines_[i]);
    }
}

bool ClickLabel::isClickable() const {
    static const QMetaMethod signal = QMetaMethod::fromSignal(&ClickLabel::clicked);
    return isSignalConnected(signal);
}

QPalette lightPalette() {
    const QColor face(240, 240, 240);
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    // window text, button, light, dark, mid, text, bright text, base, window
    QPalette pal(black, face, white, QColor(160, 160, 160), QColor(200, 200, 200), black, white, white, face);
    pal.setColor(QPalette::Midlight, QColor(227, 227, 227));
    pal.setColor(QPalette::Shadow, QColor(105, 105, 105));
    pal.setColor(QPalette::AlternateBase, QColor(245, 245, 245));
    pal.setColor(QPalette::ToolTipBase, QColor(255, 255, 220));
    pal.setColor(QPalette::ToolTipText, black);
    pal.setColor(QPalette::PlaceholderText, QColor(120, 120, 120));
    pal.setColor(QPalette::Highlight, QColor(0, 120, 215));
    pal.setColor(QPalette::HighlightedText, white);
    pal.setColor(QPalette::Link, QColor(0, 0, 255));
    pal.setColor(QPalette::LinkVisited, QColor(128, 0, 128));
    pal.setColor(QPalette::BrightText, white);
    const QColor grey(120, 120, 120);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(QPalette::Disabled, role, grey);
    pal.setColor(QPalette::Disabled, QPalette::Base, face);
    pal.setColor(QPalette::Disabled, QPalette::Highlight, QColor(200, 200, 200));
    return pal;
}

QColor toQColor(ColorValue value) {
    if (value & kSystemColor) {
        static const QPalette pal = lightPalette();
        switch (kSystemColor | (value & 0xFF)) {
            case kSystemWindow: return pal.color(QPalette::Base);
            case kSystemMenuText: return pal.color(QPalette::Text);
            case kSystemWindowText: return pal.color(QPalette::WindowText);
            case kSystemButtonFace: return pal.color(QPalette::Button);
            default: return pal.color(QPalette::Window);
        }
    }
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

void setBackColor(QWidget* widget, ColorValue value) {
    // Only the widget's own face: the window's colour must not reach the buttons and the
    // edit fields of its children, which keep the system's colours.
    QPalette pal = widget->palette();
    const QColor c = toQColor(value);
    if (qobject_cast<QComboBox*>(widget)) {
        pal.setColor(QPalette::Base, c);
    } else {
        pal.setColor(widget->backgroundRole(), c);  // Window for most, Button for check boxes
    }
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

void setForeColor(QWidget* widget, ColorValue value) {
    QPalette pal = widget->palette();
    const QColor c = toQColor(value);
    pal.setColor(QPalette::WindowText, c);
    pal.setColor(QPalette::Text, c);
    pal.setColor(QPalette::ButtonText, c);
    widget->setPalette(pal);
}

}  // namespace kalvo
