// Moon age of the focused date and its phase picture.
#include "app/frmKV.h"
#include "moon/moon_picture.h"

namespace kalvo {

void frmKV::drwMoon3() { laYMD(0)->setText(QString::fromStdString(toText(panelDate[curPanel]))); }
void frmKV::moond2() {}
void frmKV::picM_Click() {}
void frmKV::ckBS_Click() {}

}  // namespace kalvo
