// The controls of the window frmKV: what each is, where it stands, what it looks like,
// what a screen reader calls it, and the field of frmKV it fills.
#include "window/control_table.h"

#include "core/layout/colours.h"
#include "window/frmKV.h"
#include "window/ui/moon_picture.h"

#include <algorithm>
#include <type_traits>

namespace kalvo {
namespace {

template <class W>
constexpr Kind kindOf() {
    if constexpr (std::is_same_v<W, QPushButton>) return Kind::Button;
    else if constexpr (std::is_same_v<W, ClickLabel>) return Kind::Label;
    else if constexpr (std::is_same_v<W, QComboBox>) return Kind::Combo;
    else if constexpr (std::is_same_v<W, QCheckBox>) return Kind::Check;
    else if constexpr (std::is_same_v<W, QGroupBox>) return Kind::Frame;
    else if constexpr (std::is_same_v<W, QRadioButton>) return Kind::Option;
    else {
        static_assert(std::is_same_v<W, MoonPicture>, "a field of a widget kind the layout cannot build");
        return Kind::Picture;
    }
}

// What a field of frmKV holds: one widget, or a control array of them.
template <class Member>
struct FieldOf;
template <class W>
struct FieldOf<W * frmKV::*> {
    using Widget = W;
    static constexpr bool array = false;
    static void put(W*& field, int, W* control) { field = control; }
};
template <class W>
struct FieldOf<ControlArray<W> frmKV::*> {
    using Widget = W;
    static constexpr bool array = true;
    static void put(ControlArray<W>& field, int index, W* control) { field.add(index, control); }
};

// The builder makes each control of its row's kind, which the static_assert below
// matches with the field's, so the cast names the widget's real class.
template <auto member>
void fill(QWidget& window, int index, QWidget* control) {
    using Field = FieldOf<decltype(member)>;
    Field::put(static_cast<frmKV&>(window).*member, index, static_cast<typename Field::Widget*>(control));
}

template <auto member>
constexpr ControlField into{&fill<member>, kindOf<typename FieldOf<decltype(member)>::Widget>(),
                            FieldOf<decltype(member)>::array};

// A row's name and the field it fills are one: the object name is the field's name.
#define FIELD(member) #member, into < &frmKV::member>

// Shorthands of the table: fonts by face, size and weight; no colour; styles.
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

// One row a control. Columns: FIELD(name), the object name and the field of frmKV the
// control fills; array index (-1: a single control); kind; caption; accessible name
// (nullptr: the caption without "&"); left, top, width, height in twips (options
// relative to their frame); font; back and fore colour (N: the palette's); style (T
// transparent, B border, C centred, H hidden, A above, kSelected); tab position; hint
// (tool tip and accessible description); the frame holding it.
// clang-format off
constexpr ControlSpec kControls[] = {
    // Buttons
    {FIELD(btBB), 27, Kind::Button, "+50", "年 +50", 2850, 570, 420, 285, G9, N, N, 0, 73, nullptr, nullptr},
    {FIELD(btBB), 28, Kind::Button, "-50", "年 -50", 2850, 855, 420, 285, G9, N, N, 0, 72, nullptr, nullptr},
    {FIELD(btSIZE), -1, Kind::Button, "&W", "窓のサイズ", 30, 30, 360, 240, G825, N, N, 0, 62, "窓のサイズを順次切り替えます。", nullptr},
    {FIELD(btEND), 1, Kind::Button, "&Q", nullptr, 6810, 1725, 255, 270, G9, N, N, 0, 61, "終了します。", nullptr},
    {FIELD(btEV), 4, Kind::Button, "上段に設定", nullptr, 6015, 2595, 1065, 255, G9, N, N, 0, 58, "表示されている設定を上段の初期値にセットします。", nullptr},
    {FIELD(btEV), 3, Kind::Button, "削除", nullptr, 3225, 2595, 585, 255, G9, N, N, 0, 55, "表示されている設定を削除します。", nullptr},
    {FIELD(btEV), 2, Kind::Button, "追加", nullptr, 2505, 2595, 585, 255, G9, N, N, 0, 54, "書き込んだ設定を別に追加します。", nullptr},
    {FIELD(btEV), 1, Kind::Button, "更新", nullptr, 1800, 2595, 585, 255, G9, N, N, 0, 53, "書き込んだ設定に更新します。", nullptr},
    {FIELD(btEV), 0, Kind::Button, "下段の初期表示に設定", nullptr, 3945, 2595, 1950, 255, G9, N, N, 0, 52, "表示されている設定を、起動時に下段にセットするようにします。", nullptr},
    {FIELD(btINFO), -1, Kind::Button, "INFO", nullptr, 6555, 855, 525, 285, G825, N, N, 0, 49, nullptr, nullptr},
    {FIELD(btHELP), -1, Kind::Button, "HELP", nullptr, 6555, 570, 525, 285, G825, N, N, 0, 3, nullptr, nullptr},
    {FIELD(btEND), 0, Kind::Button, "終了", nullptr, 165, 2175, 525, 315, G9, N, N, 0, 2, "終了します。", nullptr},
    {FIELD(btBB), 26, Kind::Button, "-10", "年 -10", 3270, 855, 420, 285, G9, N, N, 0, 7, nullptr, nullptr},
    {FIELD(btBB), 25, Kind::Button, "+10", "年 +10", 3270, 570, 420, 285, G9, N, N, 0, 6, nullptr, nullptr},
    {FIELD(btBB), 2, Kind::Button, "+5", "日 +5", 5655, 570, 360, 285, G9, N, N, 0, 16, nullptr, nullptr},
    {FIELD(btBB), 4, Kind::Button, "-5", "日 -5", 5655, 855, 360, 285, G9, N, N, 0, 17, nullptr, nullptr},
    {FIELD(btBB), 1, Kind::Button, "+", "日 +", 6000, 570, 360, 285, G9, N, N, 0, 0, nullptr, nullptr},
    {FIELD(btBB), 3, Kind::Button, "-", "日 -", 6000, 855, 360, 285, G9, N, N, 0, 1, nullptr, nullptr},
    {FIELD(btBB), 12, Kind::Button, "+5", "月 +5", 4725, 570, 360, 285, G9, N, N, 0, 12, nullptr, nullptr},
    {FIELD(btBB), 14, Kind::Button, "-5", "月 -5", 4725, 855, 360, 285, G9, N, N, 0, 13, nullptr, nullptr},
    {FIELD(btBB), 11, Kind::Button, "+", "月 +", 5085, 570, 360, 285, G9, N, N, 0, 14, nullptr, nullptr},
    {FIELD(btBB), 13, Kind::Button, "-", "月 -", 5085, 855, 360, 285, G9, N, N, 0, 15, nullptr, nullptr},
    {FIELD(btBB), 22, Kind::Button, "+5", "年 +5", 3690, 570, 420, 285, G9, N, N, 0, 8, nullptr, nullptr},
    {FIELD(btBB), 24, Kind::Button, "-5", "年 -5", 3690, 855, 420, 285, G9, N, N, 0, 9, nullptr, nullptr},
    {FIELD(btBB), 21, Kind::Button, "+", "年 +", 4110, 570, 420, 285, G9, N, N, 0, 10, nullptr, nullptr},
    {FIELD(btBB), 23, Kind::Button, "-", "年 -", 4110, 855, 420, 285, G9, N, N, 0, 11, nullptr, nullptr},
    {FIELD(btNG), 1, Kind::Button, "-", "年号 -", 1815, 855, 735, 285, G9, N, N, 0, 5, nullptr, nullptr},
    {FIELD(btNG), 0, Kind::Button, "+", "年号 +", 1815, 570, 735, 285, G9, N, N, 0, 4, nullptr, nullptr},

    // Labels, in the window description's order
    {FIELD(laZL), 12, Kind::Label, "南北朝時代設定：", nullptr, 225, 3015, 1470, 180, G9, N, kBlue, T, 71, nullptr, nullptr},
    {FIELD(laTest), -1, Kind::Label, "QQQ", nullptr, 1590, 1590, 285, 165, G825, N, N, H, 66, nullptr, nullptr},
    {FIELD(laMAX), -1, Kind::Label, "", "窓の大きさ切替", 15, 300, 345, 1320, G9, N, N, T | A, 60, nullptr, nullptr},
    {FIELD(laYMD), 0, Kind::Label, "1997/10/16", "月相の年月日", 600, 60, 735, 180, N825, kProgramBack, kBlue, C | T, 59, nullptr, nullptr},
    {FIELD(laD), -1, Kind::Label, "？", "リストの番号", 6855, 2250, 285, 240, G825, kProgramBack, kRed, T, 57, "リストの何番目かを表示しています。", nullptr},
    {FIELD(laZL), 15, Kind::Label, "何の日？の設定：", nullptr, 225, 2640, 1470, 180, G9, N, kBlue, T, 56, nullptr, nullptr},
    {FIELD(laZL), 14, Kind::Label, "何の日？", nullptr, 870, 2250, 735, 180, G9, N, kBlue, T, 51, nullptr, nullptr},
    {FIELD(laBT), -1, Kind::Label, "10.00", "月齢", 120, 1515, 480, 195, G9, kProgramBack, kCyan, H | C | T, 48, nullptr, nullptr},
    {FIELD(laZL), 13, Kind::Label, "日数=", nullptr, 1440, 1770, 510, 195, G9, N, kBlue, T, 46, nullptr, nullptr},
    {FIELD(laDD), 0, Kind::Label, "", "端数の日数", 5850, 1695, 465, 330, A12, kPaleAqua, kBlack, B | C, 45, nullptr, nullptr},
    {FIELD(laZL), 11, Kind::Label, "日間", nullptr, 6315, 1770, 405, 225, G9, N, kBlue, T, 44, nullptr, nullptr},
    {FIELD(laZL), 10, Kind::Label, "日間 =", nullptr, 3120, 1770, 555, 225, G9, N, kBlue, T, 43, nullptr, nullptr},
    {FIELD(laZL), 5, Kind::Label, "月年", nullptr, 5430, 1290, 270, 225, G1125, N, kBlue, T, 42, nullptr, nullptr},
    {FIELD(laZL), 9, Kind::Label, "ヶ月+", nullptr, 5400, 1770, 555, 225, P9, N, kBlue, T, 41, nullptr, nullptr},
    {FIELD(laZL), 8, Kind::Label, "年 + (歳)", nullptr, 4575, 1680, 390, 390, G9, N, kBlue, T, 40, nullptr, nullptr},
    {FIELD(laZL), 7, Kind::Label, "日", nullptr, 6300, 1275, 270, 225, G1125, N, kBlue, T, 39, nullptr, nullptr},
    {FIELD(laZL), 6, Kind::Label, "日", nullptr, 6300, 180, 255, 225, G1125, N, kBlue, T, 38, nullptr, nullptr},
    {FIELD(laZL), 4, Kind::Label, "月年", nullptr, 5430, 180, 270, 225, G1125, N, kBlue, T, 37, nullptr, nullptr},
    {FIELD(laZL), 3, Kind::Label, "年", nullptr, 4560, 1275, 270, 225, G1125, N, kBlue, T, 36, nullptr, nullptr},
    {FIELD(laZL), 2, Kind::Label, "年", nullptr, 4560, 180, 270, 225, G1125, N, kBlue, T, 35, nullptr, nullptr},
    {FIELD(laZL), 1, Kind::Label, "年", nullptr, 3360, 1305, 270, 225, G975, N, kBlack, T, 34, nullptr, nullptr},
    {FIELD(laZL), 0, Kind::Label, "年", nullptr, 3360, 210, 270, 225, G975, N, kBlack, T, 33, nullptr, nullptr},
    {FIELD(laOB2), 0, Kind::Label, "", "上段 日付パネル", 2895, 45, 4155, 480, P9, N, kBlack, T, 18, nullptr, nullptr},
    {FIELD(laOB2), 1, Kind::Label, "", "下段 日付パネル", 2925, 1215, 4200, 360, P9, N, kBlack, T, 19, nullptr, nullptr},
    {FIELD(laDD), 1, Kind::Label, "", "日数", 1950, 1695, 1185, 330, A12B, kPaleAqua, kBlack, B | C, 32, "日数を絶対値で表示します。", nullptr},
    {FIELD(laDY), 0, Kind::Label, "", "年数", 3735, 1695, 825, 330, A12, kPaleAqua, kBlack, B | C, 31, nullptr, nullptr},
    {FIELD(laDM), 0, Kind::Label, "", "月数", 4980, 1695, 450, 330, A12, kPaleAqua, kBlack, B | C, 30, nullptr, nullptr},
    {FIELD(laYB), 1, Kind::Label, "", "下段 曜日", 6630, 1215, 420, 375, G15B, kPaleYellow, N, B | C, 29, nullptr, nullptr},
    {FIELD(laYB), 0, Kind::Label, "", "上段 曜日", 6630, 120, 420, 375, G15B, kPaleYellow, N, B | C, 28, nullptr, nullptr},
    {FIELD(laDay), 1, Kind::Label, "", "下段 日", 5850, 1215, 450, 375, A1575, kPaleYellow, N, B | C, 27, nullptr, nullptr},
    {FIELD(laDay), 0, Kind::Label, "", "上段 日", 5850, 120, 450, 375, A1575, kPaleYellow, N, B | C, 26, nullptr, nullptr},
    {FIELD(laMon), 1, Kind::Label, "", "下段 月", 4980, 1215, 450, 375, A1575, kPaleYellow, N, B | C, 25, nullptr, nullptr},
    {FIELD(laMon), 0, Kind::Label, "", "上段 月", 4980, 120, 450, 375, A1575, kPaleYellow, N, B | C, 24, nullptr, nullptr},
    {FIELD(laYer), 1, Kind::Label, "", "下段 西暦年", 3735, 1215, 825, 375, A1575, kPaleYellow, N, B | C, 23, nullptr, nullptr},
    {FIELD(laYer), 0, Kind::Label, "", "上段 西暦年", 3735, 120, 825, 375, A1575, kPaleYellow, N, B | C, 22, nullptr, nullptr},
    {FIELD(laNen), 1, Kind::Label, "", "下段 年号の年", 2835, 1230, 525, 345, G1425, kSystemWindow, N, B | C, 21, nullptr, nullptr},
    {FIELD(laNen), 0, Kind::Label, "10", "上段 年号の年", 2835, 135, 525, 345, G1425, kSystemWindow, N, B | C, 20, nullptr, nullptr},

    // Combo boxes
    {FIELD(cobNG), 1, Kind::Combo, "Combo1", "下段 年号", 1590, 1230, 1275, 345, P1125, N, kSystemMenuText, 0, 65, nullptr, nullptr},
    {FIELD(cobNG), 0, Kind::Combo, "Combo1", "上段 年号", 1590, 135, 1275, 345, P1125, N, N, 0, 64, nullptr, nullptr},
    {FIELD(cobEV), -1, Kind::Combo, "", "何の日？", 1620, 2190, 5205, 300, G9, kBlack, kWhite, 0, 50, "イベント名＋@<日付>で設定します。", nullptr},

    // Check boxes
    {FIELD(ckBS), -1, Kind::Check, "仕事", nullptr, 4560, 3015, 690, 180, G9, kProgramBack, kBlue, 0, 74, "月相表示なし、背景色デフォルトに設定します。", nullptr},
    {FIELD(ckST), -1, Kind::Check, "起算日含む", nullptr, 210, 1695, 1215, 360, G9, kProgramBack, kBlue, 0, 63, "起算日を含んだ日数を算出したいときチェックします。", nullptr},

    // Frame and option buttons
    {FIELD(frNSM), -1, Kind::Frame, "", "南北朝時代設定", 1620, 2970, 2715, 270, P975, N, kSystemWindowText, 0, 67, nullptr, nullptr},
    {FIELD(opNS), 2, Kind::Option, "ミニ", nullptr, 1965, 30, 630, 240, P975, N, N, kSelected, 70, "内部の年号表を使用します。年号の変わる日は、西暦年月日です。", "frNSM"},
    {FIELD(opNS), 1, Kind::Option, "南朝", nullptr, 1050, 30, 705, 240, P975, N, N, 0, 69, "南朝の年号を読み込みます。年号の変わる日は、旧暦月日です。", "frNSM"},
    {FIELD(opNS), 0, Kind::Option, "北朝", nullptr, 150, 30, 705, 240, P975, N, N, 0, 68, "北朝の年号を読み込みます。年号の変わる日は、旧暦月日です。", "frNSM"},

    // Picture box
    {FIELD(picM), -1, Kind::Picture, "", "月相", 165, 300, 1200, 1200, G1125, kBlack, kYellow, 0, 47, "フォーカスのある年月日の月相です。", nullptr},
};
// clang-format on

#undef FIELD

// Every row's field holds the kind of widget the row makes, and array elements (and
// only they) have an index.
constexpr bool fieldsMatchRows() {
    return std::all_of(std::begin(kControls), std::end(kControls),
                       [](const ControlSpec& c) { return c.field.kind == c.kind && c.field.array == (c.index >= 0); });
}
static_assert(fieldsMatchRows());

constexpr CaptionBuddy kBuddies[] = {{"laZL(14)", "cobEV"}, {"laZL(12)", "frNSM"}};

}  // namespace

std::span<const ControlSpec> controlTable() { return kControls; }

std::span<const CaptionBuddy> captionBuddies() { return kBuddies; }

}  // namespace kalvo
