// The style of the window's controls: the desktop's own, with a keyboard focus frame that
// shows on the window's pale colours.
#pragma once

#include <QProxyStyle>

namespace kalvo {

// Draws every control as the application's style does, and marks the control that has
// the keyboard focus with a frame two pixels wide in the palette's highlight colour: round
// a button and round a combo box, round the box of a check box and the circle of an
// option button (their captions are as tall as the control). The desktop style's own
// mark (a pale outline) is barely seen on the pale cyan background.
// A button, check box or option button shows the frame once the keyboard has moved the
// focus, as the style's own mark does; a combo box shows it whenever its field has the
// focus, as an edit field does.
class FocusStyle : public QProxyStyle {
public:
    FocusStyle();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;
};

}  // namespace kalvo
