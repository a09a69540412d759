// The window's controls as data: one row a control, positions in twips.
#pragma once

#include "ui/controls.h"
#include "ui/fonts.h"

#include <QWidget>
#include <functional>
#include <span>

namespace kalvo {

enum class Kind { Button, Label, Combo, Check, Frame, Option, Picture };

enum Style : unsigned {
    kPlain = 0,
    kTransparent = 1,
    kBorder = 2,
    kCentred = 4,
    kHidden = 8,
    kSelected = 16,  // option button selected at design time
    kAbove = 32,     // a label that lies above the windowed controls it overlaps
};

inline constexpr std::int64_t kNoColor = -1;

struct ControlSpec {
    const char* name;
    int index;  // -1: a single control, not an array element
    Kind kind;
    const char* caption;
    int left, top, width, height;  // twips; options relative to their frame
    FontSpec font;
    std::int64_t back;
    std::int64_t fore;
    unsigned style;
    int tab;
    const char* hint;
    const char* container;  // name of the frame holding it, or nullptr
};

inline constexpr int kClientWidthTwips = 7185;
inline constexpr int kClientHeightTwips = 3330;
// Where the client area first stands on the screen, until a stored position replaces it.
inline constexpr int kClientLeftTwips = 885;
inline constexpr int kClientTopTwips = 1440;

std::span<const ControlSpec> controlTable();

// Creates every control of the table as a child of the window, in an order that puts
// windowed controls above labels and earlier labels above later ones (a label marked
// kAbove above everything), applies every
// design property, chains the tab order, and hands each widget to `place` by name and
// index (-1 for single controls).
void buildLayout(QWidget* window, const std::function<void(const ControlSpec&, QWidget*)>& place);

}  // namespace kalvo
