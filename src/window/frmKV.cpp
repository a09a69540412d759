#include "window/frmKV.h"

#include "window/control_table.h"
#include "window/ui/moon_picture.h"
#include "window/ui/qt_text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>

#include <cstdio>

namespace kalvo {

namespace {
const QString kCaptionPrefix = QStringLiteral("Kalvo         ");  // the name and nine spaces
const QString kSaveQuestion = QStringLiteral("変更を保存しますか？\r\n[ｷｬﾝｾﾙ]で Kalvoに戻れます。");
const QString kEndTitle = QStringLiteral("終了");
const QString kDisplayLostNothingUnsaved =
    QStringLiteral("画面（ウィンドウシステム）との接続が切れたため終了します。保存していない変更はありません。");
const QString kDisplayLostSaved =
    QStringLiteral("画面（ウィンドウシステム）との接続が切れたため、変更を %1 に保存して終了します。");
const QString kDisplayLostNotSaved =
    QStringLiteral("画面（ウィンドウシステム）との接続が切れたため終了します。変更を保存できませんでした。");
}  // namespace

frmKV::frmKV(Services s, QWidget* parent) : QWidget(parent), services(std::move(s)) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    // Each size mode has a fixed size: the title bar offers no maximize button.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // Every role the layout leaves alone is light whatever the desktop's theme: the
    // layout's navy and blue texts are meant for a light window.
    setPalette(lightPalette());
    setFont(makeFont({Face::Gothic, 12, false}));
    setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    setGeometry(twipsToPixels(kClientLeftTwips), twipsToPixels(kClientTopTwips), width(), height());
    setBackColor(this, kProgramBack);
    buildControls();
    connectHandlers();
    connectAlmanacHints();
}

frmKV::~frmKV() = default;

void frmKV::buildControls() {
    buildLayout(
        this, controlTable(), captionBuddies(),
        [this](const ControlSpec& c, QWidget* w) { c.field.fill(*this, c.index, w); }, &unfittedCaptions);
}

// User actions reach the handlers through the user-only signals (clicked, activated);
// selections made by the program call the handlers themselves (selectNG and friends).
void frmKV::connectHandlers() {
    for (auto [i, b] : btBB) connect(b, &QPushButton::clicked, this, [this, i = i] { btBB_Click(i); });
    for (auto [i, b] : btEND) connect(b, &QPushButton::clicked, this, [this, i = i] { btEND_Click(i); });
    for (auto [i, b] : btEV) connect(b, &QPushButton::clicked, this, [this, i = i] { btEV_Click(i); });
    for (auto [i, b] : btNG) connect(b, &QPushButton::clicked, this, [this, i = i] { btNG_Click(i); });
    connect(btSIZE, &QPushButton::clicked, this, [this] { btSIZE_Click(); });
    connect(btINFO, &QPushButton::clicked, this, [this] { btINFO_Click(); });
    connect(btHELP, &QPushButton::clicked, this, [this] { btHELP_Click(); });
    for (auto [i, l] : laZL) connect(l, &ClickLabel::clicked, this, [this, i = i] { laZL_Click(i); });
    for (auto [i, l] : laOB2) connect(l, &ClickLabel::clicked, this, [this, i = i] { laOB2_Click(i); });
    connect(laMAX, &ClickLabel::clicked, this, [this] { laMAX_Click(); });
    for (auto [i, c] : cobNG) {
        connect(c, &QComboBox::activated, this, [this, i = i] { cobNG_Click(i); });
        c->installEventFilter(this);
        if (c->lineEdit()) c->lineEdit()->installEventFilter(this);
    }
    connect(cobEV, &QComboBox::activated, this, [this] { cobEV_Click(); });
    cobEV->installEventFilter(this);
    if (cobEV->lineEdit()) cobEV->lineEdit()->installEventFilter(this);
    connect(ckST, &QCheckBox::clicked, this, [this] { ckST_Click(); });
    connect(ckBS, &QCheckBox::clicked, this, [this] { ckBS_Click(); });
    for (auto [i, o] : opNS) connect(o, &QRadioButton::clicked, this, [this, i = i] { opNS_Click(i); });
    connect(picM, &MoonPicture::clicked, this, [this] { picM_Click(); });
}

bool frmKV::eventFilter(QObject* watched, QEvent* event) {
    const auto owner = [&](QComboBox* c) { return watched == c || (c->lineEdit() && watched == c->lineEdit()); };
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && owner(cobEV)) {
            cobEV_KeyDown(13, static_cast<int>(key->modifiers() >> 25));
            return true;
        }
        // Enter in an era combo's edit field chooses nothing; only the list does.
        for (auto [i, c] : cobNG)
            if (enter && owner(c)) return true;
    } else if (event->type() == QEvent::FocusIn) {
        // Focus that comes back with the window (another program, a message box) or after
        // the combo's own list closes is no new focus: the highlight stays where it is.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return QWidget::eventFilter(watched, event);
        for (auto [i, c] : cobNG) {
            if (watched == c) {
                cobNG_GotFocus(i);
                break;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmKV::selectNG(int panel, int listIndex) {
    QComboBox* c = cobNG(panel);
    // A combo that shows the row already, in its list and its edit field, is left alone:
    // setting it again moves nothing on screen but lays out its edit field anew, which
    // makes the next repaint of the window work out again which controls cover others.
    const bool shown = c->currentIndex() == listIndex && c->currentText() == c->itemText(listIndex);
    if (!shown) {
        const QSignalBlocker block(c);
        c->setCurrentIndex(listIndex);
    }
    cobNG_Click(panel);
}

void frmKV::selectEV(int listIndex) {
    {
        const QSignalBlocker block(cobEV);
        cobEV->setCurrentIndex(listIndex);
    }
    cobEV_Click();
}

void frmKV::selectNS(int index) {
    if (QRadioButton* o = opNS(index)) {
        const QSignalBlocker block(o);
        o->setChecked(true);
    }
    opNS_Click(index);
}

void frmKV::Form_Load() {
    zVER = QStringLiteral("Ver." KALVO_VERSION);
    setWindowTitle(kCaptionPrefix + zVER);
    litColor = kYellow;
    darkColor = kBlack;
    customBackColor = kProgramBack;
    defaultBackColor = kSystemButtonFace;
    backColor = kProgramBack;
    eventFileName = QStringLiteral("kalvoe.dat");
    readEventFile();
    chooseNGTable();
    resetDates();
    applySizeMode();
    setBackColor(ckBS, backColor);
}

void frmKV::btEND_Click(int) {
    if (modified == 1 && saveSilently == 0) {
        switch (services.dialogs->message(kSaveQuestion, kEndTitle, Buttons::YesNoCancel, Icon::None)) {
            case Answer::Yes: break;
            case Answer::No: modified = 0; break;
            default:
                // Cancel and Escape go back to the program; an end from outside that
                // closed the question saves, as nobody is there to answer it.
                if (!endUnattended) return;
                break;
        }
    }
    close();
}

void frmKV::Form_Unload(int& cancel) {
    if (unloaded || saving) return;
    saving = true;
    const SaveOutcome outcome = writeEventFile();
    saving = false;
    if (outcome == SaveOutcome::BackToWindow && !endUnattended) {
        cancel = 1;
        return;
    }
    unloaded = true;
    QCoreApplication::exit(0);
}

// The window stays when the user went back to it from a question of the save, and while
// that save is still under way.
void frmKV::closeEvent(QCloseEvent* event) {
    int cancel = 0;
    Form_Unload(cancel);
    if (unloaded) event->accept();
    else event->ignore();
}

void frmKV::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    lastPlace = pos();
}

void frmKV::endFromOutside() {
    endUnattended = true;
    services.dialogs->endAttendance();
    // A box that was open returns first, and its handler runs to its end; then the
    // window closes (when the box was the save's own, the save has ended it already).
    QTimer::singleShot(0, this, [this] { close(); });
}

int frmKV::endWithoutDisplay() {
    displayLost = true;
    endUnattended = true;
    services.dialogs->endAttendance(false);
    if (unloaded || modified == 0) {
        std::fprintf(stderr, "kalvo: %s\n", toUtf8(kDisplayLostNothingUnsaved).c_str());
        return kExitDisplayLost;
    }
    savedTo.clear();
    writeEventFile();
    if (modified == 0 && !savedTo.isEmpty()) {
        std::fprintf(stderr, "kalvo: %s\n", toUtf8(kDisplayLostSaved.arg(savedTo)).c_str());
        return kExitDisplayLost;
    }
    std::fprintf(stderr, "kalvo: %s\n", toUtf8(kDisplayLostNotSaved).c_str());
    return kExitDisplayLostUnsaved;
}

}  // namespace kalvo
