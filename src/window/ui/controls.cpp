#include "window/ui/controls.h"

#include <QHelpEvent>
#include <QToolTip>

#include <QAccessible>
#include <QComboBox>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QTextCharFormat>
#include <algorithm>
#include <cmath>

namespace kalvo {

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    clicks_.press(event);
    QLabel::mousePressEvent(event);
}

bool ClickLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && lazyHint_) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = lazyHint_();
        if (text.isEmpty()) QToolTip::hideText();
        else QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QLabel::event(event);
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

void ClickLabel::setShownLines(const QStringList& lines, const QString& caption) {
    shownLines_ = lines;
    linesFor_ = caption;
    update();
}

// The lines stand where QLabel would put them; a block taller than the box (a face
// with taller lines than the design face) has its ink centred on the box, so that what
// is cut is the lines' empty leading rather than the characters.
void ClickLabel::paintEvent(QPaintEvent* event) {
    // A label without caption or frame (a panel's background, the strip over the moon
    // picture) draws nothing; Qt still sends it a paint event whenever a control under
    // it repaints.
    if (text().isEmpty() && frameShape() == QFrame::NoFrame) return;
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
    const bool arrowHides =
        qobject_cast<QComboBox*>(widget) && contrastRatio(c, pal.color(QPalette::Button)) < kVisibleContrast;
    if (!arrowHides) pal.setColor(QPalette::ButtonText, c);
    widget->setPalette(pal);
}

double contrastRatio(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

namespace {

// A text colour readable on the background: the field's own if it is, else black or white.
QColor readableOn(const QColor& back, const QColor& preferred) {
    if (contrastRatio(preferred, back) >= kVisibleContrast) return preferred;
    return contrastRatio(Qt::black, back) >= contrastRatio(Qt::white, back) ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace

QList<QInputMethodEvent::Attribute> markedComposition(const QList<QInputMethodEvent::Attribute>& attributes, int length,
                                                      const QColor& text, const QColor& base) {
    using Attribute = QInputMethodEvent::Attribute;
    QTextCharFormat underlined;
    underlined.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    // First, so that the input method's own formats are merged over it.
    QList<Attribute> marked{Attribute(QInputMethodEvent::TextFormat, 0, length, underlined)};
    for (const Attribute& a : attributes) {
        QTextCharFormat format = a.value.value<QTextFormat>().toCharFormat();
        if (a.type != QInputMethodEvent::TextFormat || !format.isValid()) {
            marked.append(a);
            continue;
        }
        const QColor back = format.hasProperty(QTextFormat::BackgroundBrush) ? format.background().color() : base;
        const QColor shown = format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : text;
        if (contrastRatio(shown, back) < kVisibleContrast) format.setForeground(readableOn(back, text));
        if (format.underlineStyle() == QTextCharFormat::NoUnderline)
            format.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        marked.append(Attribute(a.type, a.start, a.length, format));
    }
    return marked;
}

void ComposingLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString composed = event->preeditString();
    if (composed.isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    const QPalette pal = palette();
    QInputMethodEvent marked(composed, markedComposition(event->attributes(), static_cast<int>(composed.size()),
                                                         pal.color(QPalette::Text), pal.color(QPalette::Base)));
    marked.setCommitString(event->commitString(), event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&marked);
    event->setAccepted(marked.isAccepted());
}

}  // namespace kalvo
