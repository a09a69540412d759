#include "ui/layout.h"

#include "moon/moon_picture.h"
#include "ui/accessibility.h"
#include "ui/colours.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {
namespace {

constexpr FontSpec G9{Face::Gothic, 9, false};
constexpr FontSpec G825{Face::Gothic, 8.25, false};
constexpr FontSpec G975{Face::Gothic, 9.75, false};
constexpr FontSpec G1125{Face::Gothic, 11.25, false};
constexpr FontSpec G1425{Face::Gothic, 14.25, false};
constexpr FontSpec G15B{Face::Gothic, 15, true};
constexpr FontSpec P9{Face::PGothic, 9, false};
constexpr FontSpec P975{Face::PGothic, 9.75, false};
constexpr FontSpec P1125{Face::PGothic, 11.25, false};
constexpr FontSpec A12{Face::Arial, 12, false};
constexpr FontSpec A12B{Face::Arial, 12, true};
constexpr FontSpec A1575{Face::Arial, 15.75, false};
constexpr FontSpec N825{Face::ArialNarrow, 8.25, false};

constexpr std::int64_t N = kNoColor;
constexpr unsigned T = kTransparent;
constexpr unsigned B = kBorder;
constexpr unsigned C = kCentred;
constexpr unsigned H = kHidden;
constexpr unsigned A = kAbove;

// clang-format off
constexpr ControlSpec kControls[] = {
    // Buttons
    {"btBB", 27, Kind::Button, "+50", 2850, 570, 420, 285, G9, N, N, 0, 73, nullptr, nullptr},
    {"btBB", 28, Kind::Button, "-50", 2850, 855, 420, 285, G9, N, N, 0, 72, nullptr, nullptr},
    {"btSIZE", -1, Kind::Button, "&W", 30, 30, 360, 240, G825, N, N, 0, 62, "窓のサイズを順次切り替えます。", nullptr},
    {"btEND", 1, Kind::Button, "&Q", 6810, 1725, 255, 270, G9, N, N, 0, 61, "終了します。", nullptr},
    {"btEV", 4, Kind::Button, "上段に設定", 6015, 2595, 1065, 255, G9, N, N, 0, 58, "表示されている設定を上段の初期値にセットします。", nullptr},
    {"btEV", 3, Kind::Button, "削除", 3225, 2595, 585, 255, G9, N, N, 0, 55, "表示されている設定を削除します。", nullptr},
    {"btEV", 2, Kind::Button, "追加", 2505, 2595, 585, 255, G9, N, N, 0, 54, "書き込んだ設定を別に追加します。", nullptr},
    {"btEV", 1, Kind::Button, "更新", 1800, 2595, 585, 255, G9, N, N, 0, 53, "書き込んだ設定に更新します。", nullptr},
    {"btEV", 0, Kind::Button, "下段の初期表示に設定", 3945, 2595, 1950, 255, G9, N, N, 0, 52, "表示されている設定を、起動時に下段にセットするようにします。", nullptr},
    {"btINFO", -1, Kind::Button, "INFO", 6555, 855, 525, 285, G825, N, N, 0, 49, nullptr, nullptr},
    {"btHELP", -1, Kind::Button, "HELP", 6555, 570, 525, 285, G825, N, N, 0, 3, nullptr, nullptr},
    {"btEND", 0, Kind::Button, "終了", 165, 2175, 525, 315, G9, N, N, 0, 2, "終了します。", nullptr},
    {"btBB", 26, Kind::Button, "-10", 3270, 855, 420, 285, G9, N, N, 0, 7, nullptr, nullptr},
    {"btBB", 25, Kind::Button, "+10", 3270, 570, 420, 285, G9, N, N, 0, 6, nullptr, nullptr},
    {"btBB", 2, Kind::Button, "+5", 5655, 570, 360, 285, G9, N, N, 0, 16, nullptr, nullptr},
    {"btBB", 4, Kind::Button, "-5", 5655, 855, 360, 285, G9, N, N, 0, 17, nullptr, nullptr},
    {"btBB", 1, Kind::Button, "+", 6000, 570, 360, 285, G9, N, N, 0, 0, nullptr, nullptr},
    {"btBB", 3, Kind::Button, "-", 6000, 855, 360, 285, G9, N, N, 0, 1, nullptr, nullptr},
    {"btBB", 12, Kind::Button, "+5", 4725, 570, 360, 285, G9, N, N, 0, 12, nullptr, nullptr},
    {"btBB", 14, Kind::Button, "-5", 4725, 855, 360, 285, G9, N, N, 0, 13, nullptr, nullptr},
    {"btBB", 11, Kind::Button, "+", 5085, 570, 360, 285, G9, N, N, 0, 14, nullptr, nullptr},
    {"btBB", 13, Kind::Button, "-", 5085, 855, 360, 285, G9, N, N, 0, 15, nullptr, nullptr},
    {"btBB", 22, Kind::Button, "+5", 3690, 570, 420, 285, G9, N, N, 0, 8, nullptr, nullptr},
    {"btBB", 24, Kind::Button, "-5", 3690, 855, 420, 285, G9, N, N, 0, 9, nullptr, nullptr},
    {"btBB", 21, Kind::Button, "+", 4110, 570, 420, 285, G9, N, N, 0, 10, nullptr, nullptr},
    {"btBB", 23, Kind::Button, "-", 4110, 855, 420, 285, G9, N, N, 0, 11, nullptr, nullptr},
    {"btNG", 1, Kind::Button, "-", 1815, 855, 735, 285, G9, N, N, 0, 5, nullptr, nullptr},
    {"btNG", 0, Kind::Button, "+", 1815, 570, 735, 285, G9, N, N, 0, 4, nullptr, nullptr},

    // Labels, in the window description's order
    {"laZL", 12, Kind::Label, "南北朝時代設定：", 225, 3015, 1470, 180, G9, N, kBlue, T, 71, nullptr, nullptr},
    {"laTest", -1, Kind::Label, "QQQ", 1590, 1590, 285, 165, G825, N, N, H, 66, nullptr, nullptr},
    {"laMAX", -1, Kind::Label, "", 15, 300, 345, 1320, G9, N, N, T | A, 60, nullptr, nullptr},
    {"laYMD", 0, Kind::Label, "1997/10/16", 600, 60, 735, 180, N825, kProgramBack, kBlue, C | T, 59, nullptr, nullptr},
    {"laD", -1, Kind::Label, "？", 6855, 2250, 285, 240, G825, kProgramBack, kRed, T, 57, "リストの何番目かを表示しています。", nullptr},
    {"laZL", 15, Kind::Label, "何の日？の設定：", 225, 2640, 1470, 180, G9, N, kBlue, T, 56, nullptr, nullptr},
    {"laZL", 14, Kind::Label, "何の日？", 870, 2250, 735, 180, G9, N, kBlue, T, 51, nullptr, nullptr},
    {"laBT", -1, Kind::Label, "10.00", 120, 1515, 480, 195, G9, kProgramBack, kCyan, H | C | T, 48, nullptr, nullptr},
    {"laZL", 13, Kind::Label, "日数=", 1440, 1770, 510, 195, G9, N, kBlue, T, 46, nullptr, nullptr},
    {"laDD", 0, Kind::Label, "", 5850, 1695, 465, 330, A12, kPaleAqua, kBlack, B | C, 45, nullptr, nullptr},
    {"laZL", 11, Kind::Label, "日間", 6315, 1770, 405, 225, G9, N, kBlue, T, 44, nullptr, nullptr},
    {"laZL", 10, Kind::Label, "日間 =", 3120, 1770, 555, 225, G9, N, kBlue, T, 43, nullptr, nullptr},
    {"laZL", 5, Kind::Label, "月年", 5430, 1290, 270, 225, G1125, N, kBlue, T, 42, nullptr, nullptr},
    {"laZL", 9, Kind::Label, "ヶ月+", 5400, 1770, 555, 225, P9, N, kBlue, T, 41, nullptr, nullptr},
    {"laZL", 8, Kind::Label, "年 + (歳)", 4575, 1680, 390, 390, G9, N, kBlue, T, 40, nullptr, nullptr},
    {"laZL", 7, Kind::Label, "日", 6300, 1275, 270, 225, G1125, N, kBlue, T, 39, nullptr, nullptr},
    {"laZL", 6, Kind::Label, "日", 6300, 180, 255, 225, G1125, N, kBlue, T, 38, nullptr, nullptr},
    {"laZL", 4, Kind::Label, "月年", 5430, 180, 270, 225, G1125, N, kBlue, T, 37, nullptr, nullptr},
    {"laZL", 3, Kind::Label, "年", 4560, 1275, 270, 225, G1125, N, kBlue, T, 36, nullptr, nullptr},
    {"laZL", 2, Kind::Label, "年", 4560, 180, 270, 225, G1125, N, kBlue, T, 35, nullptr, nullptr},
    {"laZL", 1, Kind::Label, "年", 3360, 1305, 270, 225, G975, N, kBlack, T, 34, nullptr, nullptr},
    {"laZL", 0, Kind::Label, "年", 3360, 210, 270, 225, G975, N, kBlack, T, 33, nullptr, nullptr},
    {"laOB2", 0, Kind::Label, "", 2895, 45, 4155, 480, P9, N, kBlack, T, 18, nullptr, nullptr},
    {"laOB2", 1, Kind::Label, "", 2925, 1215, 4200, 360, P9, N, kBlack, T, 19, nullptr, nullptr},
    {"laDD", 1, Kind::Label, "", 1950, 1695, 1185, 330, A12B, kPaleAqua, kBlack, B | C, 32, "日数を絶対値で表示します。", nullptr},
    {"laDY", 0, Kind::Label, "", 3735, 1695, 825, 330, A12, kPaleAqua, kBlack, B | C, 31, nullptr, nullptr},
    {"laDM", 0, Kind::Label, "", 4980, 1695, 450, 330, A12, kPaleAqua, kBlack, B | C, 30, nullptr, nullptr},
    {"laYB", 1, Kind::Label, "", 6630, 1215, 420, 375, G15B, kPaleYellow, N, B | C, 29, nullptr, nullptr},
    {"laYB", 0, Kind::Label, "", 6630, 120, 420, 375, G15B, kPaleYellow, N, B | C, 28, nullptr, nullptr},
    {"laDay", 1, Kind::Label, "", 5850, 1215, 450, 375, A1575, kPaleYellow, N, B | C, 27, nullptr, nullptr},
    {"laDay", 0, Kind::Label, "", 5850, 120, 450, 375, A1575, kPaleYellow, N, B | C, 26, nullptr, nullptr},
    {"laMon", 1, Kind::Label, "", 4980, 1215, 450, 375, A1575, kPaleYellow, N, B | C, 25, nullptr, nullptr},
    {"laMon", 0, Kind::Label, "", 4980, 120, 450, 375, A1575, kPaleYellow, N, B | C, 24, nullptr, nullptr},
    {"laYer", 1, Kind::Label, "", 3735, 1215, 825, 375, A1575, kPaleYellow, N, B | C, 23, nullptr, nullptr},
    {"laYer", 0, Kind::Label, "", 3735, 120, 825, 375, A1575, kPaleYellow, N, B | C, 22, nullptr, nullptr},
    {"laNen", 1, Kind::Label, "", 2835, 1230, 525, 345, G1425, kSystemWindow, N, B | C, 21, nullptr, nullptr},
    {"laNen", 0, Kind::Label, "10", 2835, 135, 525, 345, G1425, kSystemWindow, N, B | C, 20, nullptr, nullptr},

    // Combo boxes
    {"cobNG", 1, Kind::Combo, "Combo1", 1590, 1230, 1275, 345, P1125, N, kSystemMenuText, 0, 65, nullptr, nullptr},
    {"cobNG", 0, Kind::Combo, "Combo1", 1590, 135, 1275, 345, P1125, N, N, 0, 64, nullptr, nullptr},
    {"cobEV", -1, Kind::Combo, "", 1620, 2190, 5205, 300, G9, kBlack, kWhite, 0, 50, "イベント名＋@<日付>で設定します。", nullptr},

    // Check boxes
    {"ckBS", -1, Kind::Check, "仕事", 4560, 3015, 690, 180, G9, kProgramBack, kBlue, 0, 74, "月相表示なし、背景色デフォルトに設定します。", nullptr},
    {"ckST", -1, Kind::Check, "起算日含む", 210, 1695, 1215, 360, G9, kProgramBack, kBlue, 0, 63, "起算日を含んだ日数を算出したいときチェックします。", nullptr},

    // Frame and option buttons
    {"frNSM", -1, Kind::Frame, "", 1620, 2970, 2715, 270, P975, N, kSystemWindowText, 0, 67, nullptr, nullptr},
    {"opNS", 2, Kind::Option, "ミニ", 1965, 30, 630, 240, P975, N, N, kSelected, 70, "内部の年号表を使用します。年号の変わる日は、西暦年月日です。", "frNSM"},
    {"opNS", 1, Kind::Option, "南朝", 1050, 30, 705, 240, P975, N, N, 0, 69, "南朝の年号を読み込みます。年号の変わる日は、旧暦月日です。", "frNSM"},
    {"opNS", 0, Kind::Option, "北朝", 150, 30, 705, 240, P975, N, N, 0, 68, "北朝の年号を読み込みます。年号の変わる日は、旧暦月日です。", "frNSM"},

    // Picture box
    {"picM", -1, Kind::Picture, "", 165, 300, 1200, 1200, G1125, kBlack, kYellow, 0, 47, "フォーカスのある年月日の月相です。", nullptr},
};
// clang-format on

QWidget* create(const ControlSpec& c, QWidget* parent) {
    const QString caption = QString::fromUtf8(c.caption);
    switch (c.kind) {
        case Kind::Button: {
            auto* button = new QPushButton(caption, parent);
            button->setAutoDefault(true);  // Enter presses the focused button, as Space does
            return button;
        }
        case Kind::Label: {
            auto* label = new ClickLabel(caption, parent);
            label->setWordWrap(true);
            label->setAlignment((c.style & kCentred) ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignTop);
            if (c.style & kBorder) {
                label->setFrameStyle(QFrame::Box | QFrame::Plain);
                label->setLineWidth(1);
                label->setAlignment(Qt::AlignCenter);
            }
            return label;
        }
        case Kind::Combo: {
            auto* combo = new QComboBox(parent);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr);
            combo->setEditText(caption);
            combo->setMaxVisibleItems(20);
            return combo;
        }
        case Kind::Check: return new QCheckBox(caption, parent);
        case Kind::Frame: {
            auto* frame = new QGroupBox(parent);
            frame->setFlat(false);
            return frame;
        }
        case Kind::Option: {
            auto* option = new QRadioButton(caption, parent);
            option->setChecked(c.style & kSelected);
            return option;
        }
        case Kind::Picture: return new MoonPicture(parent);
    }
    return nullptr;
}

// Names a screen reader gives the controls whose caption says nothing by itself.
struct AccessibleName {
    const char* name;
    int index;
    const char* text;
};
constexpr AccessibleName kAccessibleNames[] = {
    {"laNen", 0, "上段 年号の年"}, {"laNen", 1, "下段 年号の年"}, {"laYer", 0, "上段 西暦年"},
    {"laYer", 1, "下段 西暦年"},   {"laMon", 0, "上段 月"},       {"laMon", 1, "下段 月"},
    {"laDay", 0, "上段 日"},       {"laDay", 1, "下段 日"},       {"laYB", 0, "上段 曜日"},
    {"laYB", 1, "下段 曜日"},      {"cobNG", 0, "上段 年号"},     {"cobNG", 1, "下段 年号"},
    {"laOB2", 0, "上段 日付パネル"}, {"laOB2", 1, "下段 日付パネル"}, {"laDD", 1, "日数"},
    {"laDY", 0, "年数"},           {"laDM", 0, "月数"},           {"laDD", 0, "端数の日数"},
    {"laYMD", 0, "月相の年月日"},  {"laD", -1, "リストの番号"},   {"laBT", -1, "月齢"},
    {"laMAX", -1, "窓の大きさ切替"}, {"picM", -1, "月相"},         {"cobEV", -1, "何の日？"},
    {"frNSM", -1, "南北朝時代設定"}, {"btSIZE", -1, "窓のサイズ"}, {"btNG", 0, "年号 +"},
    {"btNG", 1, "年号 -"},
};

// Captions that name the control beside them, for a screen reader (label for / labelled by).
struct Buddy {
    const char* caption;  // object name of the caption label
    const char* control;
};
constexpr Buddy kBuddies[] = {{"laZL(14)", "cobEV"}, {"laZL(12)", "frNSM"}};

QString accessibleName(const ControlSpec& c) {
    for (const auto& a : kAccessibleNames)
        if (std::string_view(a.name) == c.name && a.index == c.index) return QString::fromUtf8(a.text);
    QString caption = QString::fromUtf8(c.caption).remove(QLatin1Char('&'));
    if (std::string_view(c.name) == "btBB") {
        const char* unit = c.index >= 21 ? "年 " : c.index >= 11 ? "月 " : "日 ";
        return QString::fromUtf8(unit) + caption;
    }
    return caption;
}

void applyProperties(const ControlSpec& c, QWidget* w) {
    w->setObjectName(c.index >= 0 ? QStringLiteral("%1(%2)").arg(QString::fromUtf8(c.name)).arg(c.index)
                                  : QString::fromUtf8(c.name));
    w->setGeometry(twipsToPixels(c.left), twipsToPixels(c.top), twipsToPixels(c.width), twipsToPixels(c.height));
    w->setFont(makeFont(c.font));
    const bool transparent = c.style & kTransparent;
    if (c.back != kNoColor && !transparent) setBackColor(w, static_cast<ColorValue>(c.back));
    if (c.fore != kNoColor) setForeColor(w, static_cast<ColorValue>(c.fore));
    if (c.hint) w->setToolTip(QString::fromUtf8(c.hint));
    w->setAccessibleName(accessibleName(c));
    if (c.hint) w->setAccessibleDescription(QString::fromUtf8(c.hint));
    if (c.style & kHidden) w->setVisible(false);
    fitCaption(w, c.font);
}

}  // namespace

std::span<const ControlSpec> controlTable() { return kControls; }

void buildLayout(QWidget* window, const std::function<void(const ControlSpec&, QWidget*)>& place) {
    installAccessibility();
    std::vector<const ControlSpec*> order;
    for (const auto& c : kControls) order.push_back(&c);
    // Qt stacks later siblings on top. Labels go first, the table's later rows first, so
    // that an earlier label lies above a later one (a caption above the panel background
    // above the value boxes); windowed controls follow and lie above every label.
    std::stable_partition(order.begin(), order.end(), [](const ControlSpec* c) { return c->kind == Kind::Label; });
    const auto firstWindowed = std::find_if(order.begin(), order.end(), [](const ControlSpec* c) { return c->kind != Kind::Label; });
    std::reverse(order.begin(), firstWindowed);
    // Frames before the controls they hold.
    std::stable_partition(firstWindowed, order.end(), [](const ControlSpec* c) { return c->kind != Kind::Option; });

    std::map<std::string, QWidget*> containers;
    std::vector<std::pair<int, QWidget*>> tabbing;
    std::vector<QWidget*> above;
    for (const ControlSpec* c : order) {
        QWidget* parent = window;
        if (c->container) parent = containers.at(c->container);
        QWidget* w = create(*c, parent);
        applyProperties(*c, w);
        if (c->kind == Kind::Frame) containers[c->name] = w;
        if (c->style & kAbove) above.push_back(w);
        if (c->kind == Kind::Label || c->kind == Kind::Frame) {
            w->setFocusPolicy(Qt::NoFocus);
        } else {
            // The moon picture is reached by Tab alone: a click on it explains it and
            // leaves the focus where it was.
            w->setFocusPolicy(c->kind == Kind::Picture ? Qt::TabFocus : Qt::StrongFocus);
            tabbing.emplace_back(c->tab, w);
        }
        place(*c, w);
    }
    // The strip at the moon picture's left edge takes the clicks there: in the small tile
    // it is the way back to the full window.
    for (QWidget* w : above) w->raise();
    for (const Buddy& b : kBuddies) {
        auto* caption = window->findChild<ClickLabel*>(QString::fromUtf8(b.caption), Qt::FindDirectChildrenOnly);
        auto* control = window->findChild<QWidget*>(QString::fromUtf8(b.control), Qt::FindDirectChildrenOnly);
        if (caption && control) caption->setBuddy(control);
    }
    std::sort(tabbing.begin(), tabbing.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 1; i < tabbing.size(); ++i) QWidget::setTabOrder(tabbing[i - 1].second, tabbing[i].second);
}

}  // namespace kalvo
