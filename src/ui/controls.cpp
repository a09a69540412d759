#include "ui/controls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPalette>

namespace kalvo {

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    pressed_ = false;  // the press before it was the second half of a double-click
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) emit clicked();
}

namespace {

class LabelAccessible : public QAccessibleWidget {
public:
    explicit LabelAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        const auto* label = static_cast<const QLabel*>(widget());
        switch (t) {
            case QAccessible::Name: return label->accessibleName().isEmpty() ? label->text() : label->accessibleName();
            case QAccessible::Value: return label->text();
            default: return QAccessibleWidget::text(t);
        }
    }
};

QAccessibleInterface* labelFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("kalvo::ClickLabel") && object && object->isWidgetType())
        return new LabelAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

void installLabelAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(labelFactory);
}

QColor toQColor(ColorValue value) {
    if (value & kSystemColor) {
        const QPalette pal = QApplication::palette();
        switch (value & 0xFF) {
            case 5: return pal.color(QPalette::Base);
            case 7: return pal.color(QPalette::Text);
            case 8: return pal.color(QPalette::WindowText);
            case 15: return pal.color(QPalette::Button);
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
