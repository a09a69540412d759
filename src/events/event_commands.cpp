// The event file and the commands of the event list.
#include "app/frmKV.h"

namespace kalvo {

void frmKV::readEventFile() {}
void frmKV::writeEventFile() {}
void frmKV::parseEvent() {}
void frmKV::cobEV_Click() {}
void frmKV::cobEV_KeyDown(int, int) {}
void frmKV::btEV_Click(int) {}

}  // namespace kalvo
