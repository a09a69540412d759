#include "window/ui/fonts.h"

#include "core/layout/caption_lines.h"
#include "window/ui/controls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>

namespace kalvo {
namespace {

int minimumPixels(int design) { return std::max(6, static_cast<int>(std::ceil(design * 0.75))); }

// Smaller sizes of the widget's font, one pixel at a time, until `fits` holds or the
// floor is reached; the widget keeps the last size tried.
template <class Fits>
void shrinkUntil(QWidget* w, Fits fits) {
    QFont font = w->font();
    const int floor = minimumPixels(font.pixelSize());
    while (!fits(QFontMetrics(font)) && font.pixelSize() > floor) {
        font.setPixelSize(font.pixelSize() - 1);
        w->setFont(font);  // a check box measures its caption with its own font
    }
}

// A caption in a Japanese face shows the lines the design face shows, each set in a
// size at which it fits the width.
void fitLabel(ClickLabel* label, const FontSpec& design, const QString& text) {
    if (text.isEmpty() || (design.face != Face::Gothic && design.face != Face::PGothic)) return;
    const QRect box = label->contentsRect();
    const int em = label->font().pixelSize();
    QStringList shown;
    for (const std::u16string& line : designLines(text.toStdU16String(), 2 * box.width() / em, box.height() / em))
        shown.append(QString::fromStdU16String(line));
    shrinkUntil(label, [&](const QFontMetrics& fm) {
        // The characters' ink from the first line's top to the last line's bottom.
        const int lines = static_cast<int>(shown.size());
        const int pitch = lines == 1 ? fm.height() : std::min(fm.lineSpacing(), box.height() / lines);
        const int ink = (lines - 1) * pitch + fm.tightBoundingRect(shown.back()).bottom() -
                        fm.tightBoundingRect(shown.front()).top() + 1;
        return ink <= box.height() && std::all_of(shown.begin(), shown.end(), [&](const QString& line) {
                   return fm.horizontalAdvance(line) <= box.width();
               });
    });
    label->setShownLines(shown, text);
}

// The caption's room inside a check box or an option button, beside its indicator.
int captionRoom(QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const bool check = qobject_cast<QCheckBox*>(button) != nullptr;
    return button->style()
        ->subElementRect(check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, button)
        .width();
}

}  // namespace

QStringList fontFamilies(Face face) {
    switch (face) {
        case Face::Gothic:
            return {QStringLiteral("ＭＳ ゴシック"),   QStringLiteral("MS Gothic"),
                    QStringLiteral("IPAGothic"),       QStringLiteral("VL Gothic"),
                    QStringLiteral("TakaoGothic"),     QStringLiteral("Noto Sans Mono CJK JP"),
                    QStringLiteral("Noto Sans CJK JP")};
        case Face::PGothic:
            return {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                    QStringLiteral("IPAPGothic"),      QStringLiteral("VL PGothic"),
                    QStringLiteral("TakaoPGothic"),    QStringLiteral("Noto Sans CJK JP")};
        case Face::Arial: return {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")};
        case Face::ArialNarrow: return {QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow")};
    }
    return {};
}

// Looked up once per face: a family that is not installed costs the font matcher a
// search through every font each time a font names it, and the window makes dozens of
// fonts.
QStringList familiesInUse(Face face) {
    static QStringList resolved[4];
    static bool done[4] = {};
    const auto i = static_cast<size_t>(face);
    if (!done[i]) {
        done[i] = true;
        const QStringList installed = QFontDatabase::families();
        resolved[i] = fontFamilies(face);
        for (const QString& name : fontFamilies(face)) {
            if (installed.contains(name, Qt::CaseInsensitive)) {
                resolved[i] = QStringList{name};
                break;
            }
        }
    }
    return resolved[i];
}

QFont makeFont(const FontSpec& design) {
    QFont font;
    font.setFamilies(familiesInUse(design.face));
    font.setPixelSize(static_cast<int>(design.points * 96.0 / 72.0 + 0.5));
    font.setBold(design.bold);
    return font;
}

void fitCaption(QWidget* control, const FontSpec& design, const QString& caption) {
    if (auto* label = qobject_cast<ClickLabel*>(control)) {
        fitLabel(label, design, caption);
    } else if (auto* push = qobject_cast<QPushButton*>(control)) {
        const QString text = QString(caption).remove(QLatin1Char('&'));
        // The button's frame takes two pixels a side; the text may use the rest.
        shrinkUntil(push, [&](const QFontMetrics& fm) { return fm.horizontalAdvance(text) <= push->width() - 4; });
    } else if (qobject_cast<QCheckBox*>(control) || qobject_cast<QRadioButton*>(control)) {
        auto* button = static_cast<QAbstractButton*>(control);
        const QString& text = caption;
        shrinkUntil(button, [&](const QFontMetrics& fm) { return fm.horizontalAdvance(text) <= captionRoom(button); });
    }
}

bool hasJapaneseFont() { return !QFontDatabase::families(QFontDatabase::Japanese).isEmpty(); }

}  // namespace kalvo
