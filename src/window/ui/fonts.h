// The window's fonts: the design faces with the Japanese faces Debian ships in their
// place, and captions kept whole whichever of them is there.
#pragma once

#include <QFont>
#include <QStringList>

class QWidget;

namespace kalvo {

enum class Face { Gothic, PGothic, Arial, ArialNarrow };

struct FontSpec {
    Face face = Face::Gothic;
    double points = 9.0;
    bool bold = false;
};

// The families tried for a face, in order: the design face, then the faces Debian
// ships for it (for the Japanese faces: IPA, VL, Takao, then Noto Sans CJK JP, whose
// taller lines fit the layout least). Qt takes the first one installed.
QStringList fontFamilies(Face face);

// The families a face is drawn with: the first of fontFamilies(face) that is installed,
// or, with none of them installed, the whole list for Qt to choose from.
QStringList familiesInUse(Face face);

// Font of the given face with its family list. The size is set in pixels at 96 dpi, the
// scale on which the twips positions were laid out.
QFont makeFont(const FontSpec& design);

// Keeps a control's caption whole when the face in use is wider or taller than the
// design face. A label in a Japanese face shows the lines the design face shows (a
// caption that was one line stays one line; one whose second line was cut stays cut
// there), each set in a smaller size if it is too wide, down to three quarters of the
// design size; a button, check box or option button shrinks its caption the same way
// until it fits beside its indicator or inside its frame. Captions that fit are left
// exactly as designed.
// `caption` is the control's design caption, which a label may have changed since.
void fitCaption(QWidget* control, const FontSpec& design, const QString& caption);

// At least one installed font can show Japanese text.
bool hasJapaneseFont();

}  // namespace kalvo
