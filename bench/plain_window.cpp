// The start-up peer a reader can picture: a plain Qt Widgets window of Kalvo's size with
// 90 standard controls (58 labels, 30 push buttons, 2 combo boxes with a few items), all
// with Japanese captions in one font, placed on a simple grid. It shares no code with
// Kalvo: no layout table, no palettes, no files.
//
// Built with KALVO_PEER_FONTS (plain_window_fonts), the labels take turns in the 13 fonts
// Kalvo's window is set in (the same families, pixel sizes and weights), those in a Latin
// face showing figures as Kalvo's do: the same window, with what Kalvo's fonts cost.
#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <iterator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(479, 222);
    window.move(59, 96);
    window.setWindowTitle(QStringLiteral("plain"));
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(12);
    window.setFont(font);

    const QStringList labels{QStringLiteral("年"),      QStringLiteral("月"),   QStringLiteral("日"),
                             QStringLiteral("日数"),    QStringLiteral("曜日"), QStringLiteral("月齢"),
                             QStringLiteral("何の日？")};
    const QStringList buttons{QStringLiteral("追加"), QStringLiteral("削除"), QStringLiteral("更新"),
                              QStringLiteral("終了"), QStringLiteral("設定")};
    constexpr int kColumns = 10, kCellW = 47, kCellH = 24;
    int cell = 0;
    auto place = [&](QWidget* w) {
        w->setGeometry(2 + (cell % kColumns) * kCellW, 2 + (cell / kColumns) * kCellH, kCellW - 2, kCellH - 2);
        ++cell;
    };
#ifdef KALVO_PEER_FONTS
    const struct {
        const char* family;
        int pixels;
        bool bold;
    } fonts[] = {{"IPAGothic", 11, false},
                 {"IPAGothic", 12, false},
                 {"IPAGothic", 13, false},
                 {"IPAGothic", 15, false},
                 {"IPAGothic", 19, false},
                 {"IPAGothic", 20, true},
                 {"IPAPGothic", 12, false},
                 {"IPAPGothic", 13, false},
                 {"IPAPGothic", 15, false},
                 {"Liberation Sans", 16, false},
                 {"Liberation Sans", 16, true},
                 {"Liberation Sans", 21, false},
                 {"Liberation Sans Narrow", 11, false}};
    for (int i = 0; i < 58; ++i) {
        const auto& f = fonts[i % std::size(fonts)];
        QFont labelFont(QString::fromLatin1(f.family));
        labelFont.setPixelSize(f.pixels);
        labelFont.setBold(f.bold);
        const bool latin = labelFont.family().startsWith(QLatin1String("Liberation"));
        auto* label =
            new QLabel(latin ? QString::number(1990 + i) : labels[i % labels.size()] + QString::number(i), &window);
        label->setFont(labelFont);
        place(label);
    }
#else
    for (int i = 0; i < 58; ++i) place(new QLabel(labels[i % labels.size()] + QString::number(i), &window));
#endif
    for (int i = 0; i < 30; ++i) place(new QPushButton(buttons[i % buttons.size()], &window));
    const QStringList eras{QStringLiteral("明治"), QStringLiteral("大正"), QStringLiteral("昭和"),
                           QStringLiteral("平成"), QStringLiteral("令和")};
    for (int i = 0; i < 2; ++i) {
        auto* combo = new QComboBox(&window);
        combo->addItems(eras);
        combo->setGeometry(2 + i * 200, 196, 190, 22);
    }
    window.show();
    return QApplication::exec();
}
