// Moon age of the focused date, its phase picture, the picture's explanation box and
// the box "仕事" that switches the picture off together with the program's own colour.
#include "core/moon/moon_age.h"
#include "window/frmKV.h"
#include "window/ui/moon_picture.h"
#include "window/ui/qt_text.h"

namespace kalvo {

namespace {
const QString kPhaseTitle = QStringLiteral("月相の表示です！");
const QString kPhaseLine1 = QStringLiteral("フォーカスがある年月日の月相です。");
const QString kPhaseLine2 = QStringLiteral("旧暦年月日の月相ではありません！");
const QString kAgeIndent = QStringLiteral("　　　　");  // four ideographic spaces
const QString kLineBreak = QStringLiteral("\r\n");
}  // namespace

void frmKV::drwMoon3() {
    laYMD(0)->setText(toQt(toText(panelDate[curPanel])));
    synodicMonth = kSynodicMonth;
    moonAge = moonAgeOf(panelDate[curPanel], synodicMonth);
    moond2();
}

// Drawn even while the picture is hidden: the backing image keeps it for the next show.
void frmKV::moond2() {
    const PhaseFigure figure = phaseFigure(moonAge, synodicMonth);
    picM->clear();
    picM->drawPie(0, 0, kMoonRadius, figure.sectorStart, figure.sectorEnd, toQColor(litColor));
    const ColorValue shade = figure.ellipseShade == MoonShade::Lit ? litColor : darkColor;
    picM->drawEllipse(0, 0, figure.ellipseSemiAxis, kMoonRadius, toQColor(shade));
    laBT->setText(toQt(formatDecimals(moonAge, 2)));
}

// The age in the box is the caption's text rounded once more, to one decimal.
void frmKV::picM_Click() {
    const QString age = toQt(formatDecimalText(toUtf8(laBT->text()), 1));
    services.dialogs->showMessage(kPhaseLine1 + kLineBreak + kPhaseLine2 + kLineBreak + kAgeIndent + age, kPhaseTitle);
}

void frmKV::ckBS_Click() {
    modified = 1;
    applyMoonDisplay();
}

void frmKV::applyMoonDisplay() {
    if (ckBS->isChecked()) {
        backColor = defaultBackColor;
        picM->hide();
    } else {
        backColor = customBackColor;
        picM->show();
    }
    setBackColor(this, backColor);
    setBackColor(ckST, backColor);
    setBackColor(ckBS, backColor);
}

}  // namespace kalvo
