#include "window/ui/accessibility.h"

#include "window/ui/controls.h"
#include "window/ui/moon_picture.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>

namespace kalvo {
namespace {

// A label: static text whose name is its accessible name followed by its caption, and
// whose caption is readable through the text interface (Qt's Linux bridge sends no
// value for labels, so a value that only sat in text(Value) was never heard).
class LabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit LabelAccessible(ClickLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    ClickLabel* label() const { return static_cast<ClickLabel*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        const QString caption = label()->text();
        switch (t) {
            case QAccessible::Name: {
                const QString name = label()->accessibleName();
                if (name.isEmpty() || name == caption) return caption;
                return caption.isEmpty() ? name : name + QLatin1Char(' ') + caption;
            }
            case QAccessible::Value: return caption;
            case QAccessible::Description: return label()->hint();
            default: return QAccessibleWidget::text(t);
        }
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (label()->isClickable()) names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& action) override {
        if (action == pressAction() && label()->isClickable()) {
            label()->click();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

    // ---- text interface: the caption, read-only, no selection ----------------------
    QString text(int start, int end) const override { return label()->text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(label()->text().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return QString();
    }

    // Characters of a one-line caption laid out as the label aligns it.
    QRect characterRect(int offset) const override {
        const QString caption = label()->text();
        if (offset < 0 || offset >= caption.size()) return QRect();
        const QFontMetrics fm(label()->font());
        const QRect box = label()->contentsRect();
        const int x = lineLeft(fm, box) + fm.horizontalAdvance(caption.left(offset));
        const int y = (label()->alignment() & Qt::AlignVCenter) ? box.center().y() - fm.height() / 2 : box.top();
        const QRect local(x, y, fm.horizontalAdvance(caption.at(offset)), fm.height());
        return QRect(label()->mapToGlobal(local.topLeft()), local.size());
    }

    int offsetAtPoint(const QPoint& point) const override {
        const QString caption = label()->text();
        const QFontMetrics fm(label()->font());
        const int x = label()->mapFromGlobal(point).x() - lineLeft(fm, label()->contentsRect());
        for (int i = 0; i < caption.size(); ++i)
            if (x < fm.horizontalAdvance(caption.left(i + 1))) return x < 0 ? -1 : i;
        return -1;
    }

private:
    int lineLeft(const QFontMetrics& fm, const QRect& box) const {
        const int width = fm.horizontalAdvance(label()->text());
        if (label()->alignment() & Qt::AlignHCenter) return box.left() + (box.width() - width) / 2;
        if (label()->alignment() & Qt::AlignRight) return box.right() - width;
        return box.left();
    }
};

// A combo box named by its accessible name, its current text being its value; the
// children are Qt's own, the list first and the edit field second.
class ComboAccessible : public QAccessibleWidget {
public:
    explicit ComboAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return combo()->currentText();
        const QString own = QAccessibleWidget::text(t);  // accessible name, else the buddy's caption
        if (t == QAccessible::Name && own.isEmpty()) return combo()->currentText();
        return own;
    }

    int childCount() const override { return combo()->lineEdit() ? 2 : 1; }

    QAccessibleInterface* child(int index) const override {
        if (index == 0) return QAccessible::queryAccessibleInterface(combo()->view());
        if (index == 1 && combo()->lineEdit()) return QAccessible::queryAccessibleInterface(combo()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        if (child->object() == combo()->view()) return 0;
        if (combo()->lineEdit() && child->object() == combo()->lineEdit()) return 1;
        return -1;
    }

    QAccessibleInterface* focusChild() const override {
        if (combo()->view() && combo()->view()->hasFocus()) return child(0);
        return nullptr;
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = combo()->view() && combo()->view()->isVisible();
        s.editable = combo()->isEditable();
        return s;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) return;
        if (combo()->view() && combo()->view()->isVisible()) combo()->hidePopup();
        else combo()->showPopup();
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

// The moon picture: a graphic that takes the keyboard focus and can be pressed, as a
// click explains it.
class PictureAccessible : public QAccessibleWidget {
public:
    explicit PictureAccessible(MoonPicture* picture) : QAccessibleWidget(picture, QAccessible::Graphic) {}

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& action) override {
        if (action == pressAction()) {
            static_cast<MoonPicture*>(widget())->click();
            return;
        }
        QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    if (className == QLatin1String("kalvo::ClickLabel")) return new LabelAccessible(static_cast<ClickLabel*>(object));
    if (className == QLatin1String("kalvo::MoonPicture"))
        return new PictureAccessible(static_cast<MoonPicture*>(object));
    if (className == QLatin1String("QComboBox")) return new ComboAccessible(static_cast<QComboBox*>(object));
    return nullptr;
}

}  // namespace

void installAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(factory);
}

}  // namespace kalvo
