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

// Until the event list exists, both panels start on today's date.
void frmKV::resetDates() {
    const Serial today = services.today();
    panelDate[0] = today;
    panelDate[1] = today;
    curPanel = 1;
    setDate();
    showFocus();
    curPanel = 0;
    panelActive[0] = 1;
    setDate();
    showFocus();
}

}  // namespace kalvo
