#include "window/ui/focus_style.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QGroupBox>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace kalvo {
namespace {

constexpr int kFrameWidth = 2;

bool keyboardFocus(const QStyleOption* option) {
    return (option->state & QStyle::State_HasFocus) && (option->state & QStyle::State_KeyboardFocusChange);
}

QColor frameColour(const QStyleOption* option) { return option->palette.color(QPalette::Highlight); }

// The frame lies on the rectangle's outermost pixels.
void drawFrame(QPainter* painter, const QRect& rect, const QColor& colour) {
    const QRect inner = rect.adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth);
    painter->save();
    painter->setClipRegion(QRegion(rect).subtracted(QRegion(inner)));
    painter->fillRect(rect, colour);
    painter->restore();
}

void drawRing(QPainter* painter, const QRect& rect, const QColor& colour) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(colour, kFrameWidth));
    painter->setBrush(Qt::NoBrush);
    const qreal half = kFrameWidth / 2.0;
    painter->drawEllipse(QRectF(rect).adjusted(half, half, -half, -half));
    painter->restore();
}

}  // namespace

// The application's style by name, so that the controls look as the rest of the program.
FocusStyle::FocusStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

void FocusStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
    const auto* box = qobject_cast<const QGroupBox*>(widget);
    if (element == PE_FrameGroupBox && box && !box->isCheckable() && box->title().isEmpty() &&
        kFusionGroupBoxFrame.width > 0 &&
        baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0) {
        if (groupBoxFrame_.isNull()) {
            const FramePixels& f = kFusionGroupBoxFrame;
            groupBoxFrame_ = QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(f.pixels), f.width, f.height,
                                                       QImage::Format_ARGB32_Premultiplied));
        }
        // Fusion's own: a title-less frame starts 3 pixels down, its picture's corners 6 wide.
        qDrawBorderPixmap(painter, option->rect.adjusted(0, 3, 0, 0), QMargins(6, 6, 6, 6), groupBoxFrame_);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void FocusStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (!keyboardFocus(option)) return;
    switch (element) {
        case CE_PushButton: drawFrame(painter, option->rect, frameColour(option)); break;
        case CE_CheckBox:
            drawFrame(painter, subElementRect(SE_CheckBoxIndicator, option, widget), frameColour(option));
            break;
        case CE_RadioButton:
            drawRing(painter, subElementRect(SE_RadioButtonIndicator, option, widget), frameColour(option));
            break;
        default: break;
    }
}

void FocusStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                    const QWidget* widget) const {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control == CC_ComboBox && (option->state & State_HasFocus))
        drawFrame(painter, option->rect, frameColour(option));
}

}  // namespace kalvo
