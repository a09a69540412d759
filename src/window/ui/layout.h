// Controls as data: the rows a control table is made of (one row a control, positions
// in twips), and the builder that makes the widgets from them.
#pragma once

#include "window/ui/controls.h"
#include "window/ui/fonts.h"

#include <QWidget>
#include <functional>
#include <span>
#include <vector>

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

// Where a built control goes: `fill` stores it in the window's field (a pointer, or
// the element `index` of a control array); `kind` is the kind of widget the field holds
// and `array` says whether it is a control array. A table states the field of each row
// and the builder leaves the filling to it, so that this folder needs no window class.
struct ControlField {
    void (*fill)(QWidget& window, int index, QWidget* control);
    Kind kind;
    bool array;
};

// A row of a control table (one row a control; app/control_table.cpp has the window's).
struct ControlSpec {
    const char* name;  // the object name, with the index for an array element: "btBB(27)"
    ControlField field;
    int index;  // -1: a single control, not an array element
    Kind kind;
    const char* caption;
    const char* accessibleName;    // nullptr: the caption, without its access-key mark
    int left, top, width, height;  // twips; options relative to their frame
    FontSpec font;
    std::int64_t back;  // kNoColor: the palette's
    std::int64_t fore;
    unsigned style;
    int tab;                // place in the tab order
    const char* hint;       // tool tip and accessible description, or nullptr
    const char* container;  // name of the frame holding it, or nullptr
};

// A caption that names the control beside it, for a screen reader (label for /
// labelled by); both by object name.
struct CaptionBuddy {
    const char* caption;
    const char* control;
};

inline constexpr int kClientWidthTwips = 7185;
inline constexpr int kClientHeightTwips = 3330;
// Where the client area first stands on the screen, until a stored position replaces it.
inline constexpr int kClientLeftTwips = 885;
inline constexpr int kClientTopTwips = 1440;

// A control whose caption is yet to be fitted to the face in use (fitCaption), with its
// row's font and caption.
struct PendingCaption {
    QWidget* control;
    FontSpec design;
    QString caption;
};

// Creates every control of the table as a child of the window, in an order that puts
// windowed controls above labels and earlier labels above later ones (a label marked
// kAbove above everything), applies every design property, chains the tab order, names
// each caption's buddy, and hands each widget with its row to `place`. Buttons, combo
// boxes, check boxes and option buttons are drawn with a FocusStyle; the combo boxes'
// edit fields mark text being composed (ComposingLineEdit). Each caption is fitted to the
// face in use as its control is made, or, given `pending`, listed there for
// fitCaptionsWithin.
void buildLayout(QWidget* window, std::span<const ControlSpec> table, std::span<const CaptionBuddy> buddies,
                 const std::function<void(const ControlSpec&, QWidget*)>& place,
                 std::vector<PendingCaption>* pending = nullptr);

// Fits the captions of the listed controls that lie in `area` (the window's coordinates)
// and drops them from the list. Fitting measures a caption, which loads its font: a
// window that starts in a small size loads only the fonts of what it shows.
void fitCaptionsWithin(std::vector<PendingCaption>& pending, const QWidget* window, const QRect& area);

}  // namespace kalvo
