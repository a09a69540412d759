#include "window/ui/layout.h"

#include "window/ui/accessibility.h"
#include "window/ui/focus_style.h"
#include "window/ui/moon_picture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace kalvo {
namespace {

// `lent` is a completer without a model that an edit field holds while it is made a combo
// box's: QComboBox gives a field that has none a completer of its own, only for
// setCompleter(nullptr) to drop it again (three of them were a hundredth of start-up).
QWidget* create(const ControlSpec& c, QWidget* parent, QCompleter* lent) {
    const QString caption = QString::fromUtf8(c.caption);
    switch (c.kind) {
        case Kind::Button: {
            auto* button = new QPushButton(caption, parent);
            button->setAutoDefault(true);  // Enter presses the focused button, as Space does
            return button;
        }
        case Kind::Label: {
            auto* label = new ClickLabel(caption, parent);
            label->setWordWrap(true);
            label->setAlignment((c.style & kCentred) ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignTop);
            if (c.style & kBorder) {
                label->setFrameStyle(QFrame::Box | QFrame::Plain);
                label->setLineWidth(1);
                label->setAlignment(Qt::AlignCenter);
                // A centred caption takes no indent; QLabel would measure an "x" in the
                // label's font for the indent of a framed caption at every paint.
                label->setIndent(0);
            }
            return label;
        }
        case Kind::Combo: {
            auto* combo = new QComboBox(parent);
            // The field lays out its text as soon as it is made: in the combo's own font,
            // no font is loaded that nothing shows.
            combo->setFont(makeFont(c.font));
            // A new QLineEdit lays out its empty text in the application's font before
            // it takes its own: for that moment the application's font is the combo's,
            // so that no font is loaded that nothing shows (the default face's).
            const QFont applicationFont = QGuiApplication::font();
            QGuiApplication::setFont(combo->font());
            auto* field = new ComposingLineEdit(combo);
            QGuiApplication::setFont(applicationFont);
            field->setPalette(combo->palette());
            field->setCompleter(lent);
            combo->setLineEdit(field);  // this makes the combo editable
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr);  // no completion
            combo->setEditText(caption);
            combo->setMaxVisibleItems(20);
            return combo;
        }
        case Kind::Check: return new QCheckBox(caption, parent);
        case Kind::Frame: {
            auto* frame = new QGroupBox(parent);
            frame->setFlat(false);
            return frame;
        }
        case Kind::Option: {
            auto* option = new QRadioButton(caption, parent);
            option->setChecked(c.style & kSelected);
            return option;
        }
        case Kind::Picture: return new MoonPicture(parent);
    }
    return nullptr;
}

QString accessibleName(const ControlSpec& c) {
    if (c.accessibleName) return QString::fromUtf8(c.accessibleName);
    return QString::fromUtf8(c.caption).remove(QLatin1Char('&'));
}

void applyProperties(const ControlSpec& c, QWidget* w) {
    w->setObjectName(c.index >= 0 ? QStringLiteral("%1(%2)").arg(QString::fromUtf8(c.name)).arg(c.index)
                                  : QString::fromUtf8(c.name));
    w->setGeometry(twipsToPixels(c.left), twipsToPixels(c.top), twipsToPixels(c.width), twipsToPixels(c.height));
    w->setFont(makeFont(c.font));
    const bool transparent = c.style & kTransparent;
    if (c.back != kNoColor && !transparent) setBackColor(w, static_cast<ColorValue>(c.back));
    if (c.fore != kNoColor) setForeColor(w, static_cast<ColorValue>(c.fore));
    if (c.hint) w->setToolTip(QString::fromUtf8(c.hint));
    w->setAccessibleName(accessibleName(c));
    if (c.hint) w->setAccessibleDescription(QString::fromUtf8(c.hint));
    if (c.style & kHidden) w->setVisible(false);
}

}  // namespace

void buildLayout(QWidget* window, std::span<const ControlSpec> table, std::span<const CaptionBuddy> buddies,
                 const std::function<void(const ControlSpec&, QWidget*)>& place, std::vector<PendingCaption>* pending) {
    installAccessibility();
    std::vector<const ControlSpec*> order;
    for (const auto& c : table) order.push_back(&c);
    // Qt stacks later siblings on top. Labels go first, the table's later rows first, so
    // that an earlier label lies above a later one (a caption above the panel background
    // above the value boxes); windowed controls follow and lie above every label.
    std::stable_partition(order.begin(), order.end(), [](const ControlSpec* c) { return c->kind == Kind::Label; });
    const auto firstWindowed =
        std::find_if(order.begin(), order.end(), [](const ControlSpec* c) { return c->kind != Kind::Label; });
    std::reverse(order.begin(), firstWindowed);
    // Frames before the controls they hold.
    std::stable_partition(firstWindowed, order.end(), [](const ControlSpec* c) { return c->kind != Kind::Option; });

    QCompleter lent;
    lent.setCompletionMode(QCompleter::InlineCompletion);  // no popup list
    auto* focusStyle = new FocusStyle;
    focusStyle->setParent(window);
    std::map<std::string, QWidget*> containers;
    std::vector<std::pair<int, QWidget*>> tabbing;
    std::vector<QWidget*> above;
    for (const ControlSpec* c : order) {
        QWidget* parent = window;
        if (c->container) parent = containers.at(c->container);
        QWidget* w = create(*c, parent, &lent);
        if (c->kind != Kind::Label && c->kind != Kind::Picture) w->setStyle(focusStyle);
        applyProperties(*c, w);
        if (pending) pending->push_back({w, c->font, QString::fromUtf8(c->caption)});
        else fitCaption(w, c->font, QString::fromUtf8(c->caption));
        if (c->kind == Kind::Frame) containers[c->name] = w;
        if (c->style & kAbove) above.push_back(w);
        if (c->kind == Kind::Label || c->kind == Kind::Frame) {
            w->setFocusPolicy(Qt::NoFocus);
        } else {
            // The moon picture is reached by Tab alone: a click on it explains it and
            // leaves the focus where it was.
            w->setFocusPolicy(c->kind == Kind::Picture ? Qt::TabFocus : Qt::StrongFocus);
            tabbing.emplace_back(c->tab, w);
        }
        place(*c, w);
    }
    // The strip at the moon picture's left edge takes the clicks there: in the small tile
    // it is the way back to the full window.
    for (QWidget* w : above) w->raise();
    for (const CaptionBuddy& b : buddies) {
        auto* caption = window->findChild<ClickLabel*>(QString::fromUtf8(b.caption), Qt::FindDirectChildrenOnly);
        auto* control = window->findChild<QWidget*>(QString::fromUtf8(b.control), Qt::FindDirectChildrenOnly);
        if (caption && control) caption->setBuddy(control);
    }
    std::sort(tabbing.begin(), tabbing.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 1; i < tabbing.size(); ++i) QWidget::setTabOrder(tabbing[i - 1].second, tabbing[i].second);
}

void fitCaptionsWithin(std::vector<PendingCaption>& pending, const QWidget* window, const QRect& area) {
    std::erase_if(pending, [&](const PendingCaption& p) {
        const QRect place(p.control->mapTo(window, QPoint(0, 0)), p.control->size());
        if (!place.intersects(area)) return false;
        fitCaption(p.control, p.design, p.caption);
        return true;
    });
}

}  // namespace kalvo
