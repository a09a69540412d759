// The two date panels: display of the focused slot, the weekday, the highlight, the
// +/- buttons and the span row.
#include "core/calendar/adjust.h"
#include "core/calendar/span.h"
#include "window/frmKV.h"

namespace kalvo {

namespace {

const QString& weekdayText(int number) {
    static const QString names[] = {QStringLiteral("＊"), QStringLiteral("日"), QStringLiteral("月"),
                                    QStringLiteral("火"), QStringLiteral("水"), QStringLiteral("木"),
                                    QStringLiteral("金"), QStringLiteral("土")};
    return names[(number >= 1 && number <= 7) ? number : 0];
}
}  // namespace

void frmKV::setDate() {
    const Ymd d = toYmd(panelDate[curPanel]);
    laYer(curPanel)->setText(QString::number(d.year));
    laMon(curPanel)->setText(QString::number(d.month));
    laDay(curPanel)->setText(QString::number(d.day));
    getYOBI();
    laYB(curPanel)->setText(weekdayName);

    const Span span = computeSpan(panelDate[0], panelDate[1], ckST->isChecked());
    laDD(1)->setText(QString::number(span.total));
    laDY(0)->setText(QString::number(span.years));
    laDM(0)->setText(QString::number(span.months));
    laDD(0)->setText(QString::number(span.days));

    S2NG();
    if (eraIndex >= 0 && eraIndex <= 255) cobNG(curPanel)->setToolTip(eraReading[eraIndex]);
}

void frmKV::getYOBI() { weekdayName = weekdayText(weekday(panelDate[curPanel])); }

void frmKV::showFocus() {
    // The focused panel in dark blue, the other in grey.
    const int lit = curPanel == 0 ? 0 : 1;
    panelActive[lit] = 1;
    panelActive[1 - lit] = 0;
    for (int panel = 0; panel < 2; ++panel) {
        const ColorValue color = panel == lit ? kDarkBlue : kGrey;
        for (QWidget* w : {static_cast<QWidget*>(cobNG(panel)), static_cast<QWidget*>(laNen(panel)),
                           static_cast<QWidget*>(laYer(panel)), static_cast<QWidget*>(laMon(panel)),
                           static_cast<QWidget*>(laDay(panel)), static_cast<QWidget*>(laYB(panel))})
            setForeColor(w, color);
    }
    drwMoon3();
}

void frmKV::selectPanel(int index) {
    curPanel = index == 0 ? 0 : 1;
    showFocus();
}

void frmKV::laOB2_Click(int index) { selectPanel(index); }

void frmKV::btBB_Click(int index) {
    curPanel = panelActive[1] == 1 ? 1 : 0;
    const auto moved = applyAdjustButton(panelDate[curPanel], index);
    if (!moved) return;  // out of range: refused without a word
    panelDate[curPanel] = *moved;
    setDate();
    drwMoon3();
}

void frmKV::ckST_Click() {
    modified = 1;
    setDate();
}

}  // namespace kalvo
