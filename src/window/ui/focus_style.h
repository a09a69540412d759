// The style of the window's controls: the desktop's own, with a keyboard focus frame that
// shows on the window's pale colours.
#pragma once

#include <QPixmap>
#include <QProxyStyle>

namespace kalvo {

// The picture the Fusion style draws a group box's frame with, as a premultiplied ARGB32
// image keeps it, written at build time from Qt's own (cmake/icon_pixels.cpp); width 0
// when the build's Qt had none.
struct FramePixels {
    int width;
    int height;
    const quint32* pixels;
};
extern const FramePixels kFusionGroupBoxFrame;

// Draws every control as the application's style does, and marks the control that has
// the keyboard focus with a frame two pixels wide in the palette's highlight colour: round
// a button and round a combo box, round the box of a check box and the circle of an
// option button (their captions are as tall as the control). The desktop style's own
// mark (a pale outline) is barely seen on the pale cyan background.
// A button, check box or option button shows the frame once the keyboard has moved the
// focus, as the style's own mark does; a combo box shows it whenever its field has the
// focus, as an edit field does.
// Under Fusion, a frame without title is drawn from the picture written at build time,
// pixel for pixel as Fusion draws it: Fusion decodes its PNG at the first paint, for which
// Qt first loads every image format plugin installed.
class FocusStyle : public QProxyStyle {
public:
    FocusStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;

private:
    mutable QPixmap groupBoxFrame_;  // made at the first frame drawn
};

}  // namespace kalvo
