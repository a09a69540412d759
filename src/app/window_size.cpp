// The five window sizes, the help box and the version box.
#include "app/frmKV.h"

namespace kalvo {

void frmKV::applySizeMode() {
    if (sizeMode < 0 || sizeMode > 4) sizeMode = 0;
    setBackColor(this, backColor);
    setBackColor(ckST, backColor);
    setForeColor(laYMD(0), darkColor);
}

void frmKV::btSIZE_Click() {}
void frmKV::laMAX_Click() {}
void frmKV::laZL_Click(int) {}
void frmKV::btHELP_Click() {}
void frmKV::btINFO_Click() {}

}  // namespace kalvo
