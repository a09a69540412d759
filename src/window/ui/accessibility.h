// What a screen reader learns about the window's own kinds of control, beyond what Qt
// tells by itself:
//  - a label's name carries its value ("上段 西暦年 2026") and the label offers its text
//    through the text interface; a label that takes clicks can be pressed;
//  - a combo box is named by its accessible name ("上段 年号"), its current text being
//    its value, where Qt on Linux would name it by the current text;
//  - the moon picture is a focusable graphic that can be pressed.
#pragma once

namespace kalvo {

// Installed once, before the first control is built; later calls do nothing.
void installAccessibility();

}  // namespace kalvo
