// Control arrays and the few widget kinds the window needs beyond plain Qt ones.
#pragma once

#include "core/layout/colours.h"
#include "core/layout/window_geometry.h"  // twips to pixels, for the layout and the window sizes
#include "window/ui/click_tracker.h"

#include <QColor>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>

namespace kalvo {

// Widgets of one name reached by their index; indexes may have gaps (btBB has 1..28).
template <class T>
class ControlArray {
public:
    T* operator()(int index) const { return at(index); }
    T* operator[](int index) const { return at(index); }
    T* at(int index) const {
        const auto it = items_.find(index);
        return it == items_.end() ? nullptr : it->second;
    }
    bool contains(int index) const { return items_.count(index) != 0; }
    void add(int index, T* widget) { items_[index] = widget; }
    int size() const { return static_cast<int>(items_.size()); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::map<int, T*> items_;
};

// A label that reports a click anywhere in its rectangle, transparent or not.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // Sets the caption and tells a screen reader, whose name for the label carries it
    // (QLabel says nothing once the label has an accessible name of its own). Every
    // caption the window changes goes through a ClickLabel pointer, so this hides
    // QLabel::setText on purpose.
    void setText(const QString& text);
    // Someone listens to clicks: a screen reader may press the label.
    bool isClickable() const;
    // A press that did not come from the mouse (a screen reader's press action).
    void click() { emit clicked(); }
    // Shows the caption `caption` as exactly these lines, each on one line, instead of
    // wrapping it with the face in use, while it is the label's caption; any other caption
    // is shown as QLabel shows it.
    void setShownLines(const QStringList& lines, const QString& caption);
    const QStringList& shownLines() const { return shownLines_; }
    bool showsOwnLines() const { return !shownLines_.isEmpty() && linesFor_ == text(); }
    // A hint worked out only when it is asked for (by the pointer resting on the label or
    // by a screen reader, as its description), so that showing a date costs nothing more.
    void setLazyHint(std::function<QString()> hint) { lazyHint_ = std::move(hint); }
    QString hint() const { return lazyHint_ ? lazyHint_() : toolTip(); }
signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    ClickTracker clicks_;
    std::function<QString()> lazyHint_;
    QStringList shownLines_;
    QString linesFor_;
};

// The edit field of a combo box. Text being composed with an input method is always
// marked: underlined in a colour that shows on the field, whatever the input method
// asked for (some send no format at all, or text colours meant for a white field, which
// vanish on the black event field).
class ComposingLineEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void inputMethodEvent(QInputMethodEvent* event) override;
};

// The attributes of a composed text of `length` characters as they are drawn on a field
// of the given text and background colours: every character underlined, every text
// colour readable on its background; the rest as the input method sent it.
QList<QInputMethodEvent::Attribute> markedComposition(const QList<QInputMethodEvent::Attribute>& attributes, int length,
                                                      const QColor& text, const QColor& base);

// The contrast ratio of two colours, 1 (the same lightness) to 21 (black and white), as
// the accessibility guidelines measure it; 3 is the least for a mark one must see.
double contrastRatio(const QColor& a, const QColor& b);
inline constexpr double kVisibleContrast = 3.0;

// The colour of a colour value (core/layout/colours.h); system colours come from lightPalette().
QColor toQColor(ColorValue value);

// The window's palette for every role the layout leaves alone: light, whatever the
// desktop's theme, because the layout's own colours (navy and blue text, pale
// backgrounds) are chosen for a light window.
QPalette lightPalette();

// Sets a widget's background (filled) or text colour through its palette. A combo box's
// text colour is its field's, and its arrow's too unless it would not show on the arrow's
// button face (the event list's white text).
void setBackColor(QWidget* widget, ColorValue value);
void setForeColor(QWidget* widget, ColorValue value);

}  // namespace kalvo
