// The five window sizes, the help box and the version box.
#include "window/frmKV.h"
#include "window/ui/layout.h"

namespace kalvo {

namespace {

// Client-area heights in twips of sizes 0 to 3: each cuts the window just below a row
// of the layout (everything; the event list row; the span row; the two date panels).
constexpr int kClientHeights[] = {3330, 2570, 2100, 1660};
// Size 4 is a tile of the top left corner: the size button, the date line and the whole
// moon picture.
constexpr int kTileWidth = 1585;
constexpr int kTileHeight = 1500;

const QString kHelpTitle = QStringLiteral("簡易HELP");
const QString kHelpText = QStringLiteral(
    "・設定する日付エリアを切り替えたい時は、そのエリアの\r\n"
    "　日付パネルをクリックしてください。\r\n"
    "・年号や数値は、＋,－ のボタンで設定してください。\r\n"
    "・日数の計算結果は、絶対値で表示されます。");

// Size chosen by a click on a caption label; -1 for an index with no caption.
int sizeForCaption(int index) {
    if (index >= 0 && index <= 7) return 2;
    if ((index >= 8 && index <= 13) || index == 15) return 1;
    if (index == 14) return 0;
    return -1;
}

}  // namespace

void frmKV::applySizeMode() {
    if (sizeMode < 0 || sizeMode > 4) sizeMode = 0;
    setBackColor(this, backColor);
    setBackColor(ckST, backColor);
    setForeColor(laYMD(0), darkColor);
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    if (sizeMode < 4) {
        setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeights[sizeMode]));
        fitCaptionsWithin(unfittedCaptions, this, rect());
        return;
    }
    setFixedSize(twipsToPixels(kTileWidth), twipsToPixels(kTileHeight));
    fitCaptionsWithin(unfittedCaptions, this, rect());
    setBackColor(this, darkColor);
    setForeColor(laYMD(0), litColor);
    curPanel = 0;
    showFocus();
}

void frmKV::btSIZE_Click() {
    modified = 1;
    sizeMode = static_cast<short>(sizeMode + 1);
    applySizeMode();
}

void frmKV::laMAX_Click() {
    modified = 1;
    sizeMode = sizeMode > 3 ? 0 : 4;
    applySizeMode();
}

void frmKV::laZL_Click(int index) {
    const int size = sizeForCaption(index);
    if (size < 0) return;
    sizeMode = static_cast<short>(size);
    applySizeMode();
}

void frmKV::btHELP_Click() { services.dialogs->message(kHelpText, kHelpTitle, Buttons::OK, Icon::Information); }

void frmKV::btINFO_Click() {
    services.dialogs->message(QStringLiteral("Kalvo ") + zVER, QStringLiteral("Version Information"), Buttons::OK,
                              Icon::Information);
}

}  // namespace kalvo
