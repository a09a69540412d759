// Start-up leans on two things Qt does without promising them. Each test here fails, and
// says which, when a Qt upgrade takes one away, rather than start-up growing unseen.
#include "window/ui/focus_style.h"
#include "window/ui/layout.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QSet>
#include <QStyleFactory>
#include <memory>

namespace kalvo::test {
namespace {

// The font files the process has mapped: FreeType maps a face's file when Qt first uses
// the face. (A test run on its own, as CTest runs each, starts with none but what the
// test loads.)
QSet<QString> mappedFontFiles() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    QSet<QString> files;
    if (!maps.open(QIODevice::ReadOnly)) return files;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const QString path = QString::fromUtf8(line.mid(std::max<qsizetype>(line.indexOf('/'), 0)));
        if (path.endsWith(QLatin1String(".ttf")) || path.endsWith(QLatin1String(".otf")) ||
            path.endsWith(QLatin1String(".ttc")))
            files.insert(path);
    }
    return files;
}

// A new QLineEdit lays out its empty text in the application's font as it is made; the
// builder lends it the combo box's font for that moment (layout.cpp), so the default face
// is never loaded for a text nobody sees.
TEST(QtAssumptions, AComboBoxLoadsNoFaceButItsOwn) {
    const FontSpec face{Face::Gothic, 9, false};
    QFontMetrics(makeFont(face)).horizontalAdvance(QStringLiteral("x"));
    const QSet<QString> before = mappedFontFiles();
    ASSERT_FALSE(before.isEmpty()) << "no font file is mapped: this check sees nothing here";
    const QFont applicationFont = QGuiApplication::font();
    ControlSpec row{};
    row.name = "cobX";
    row.field = {[](QWidget&, int, QWidget*) {}, Kind::Combo, false};
    row.index = -1;
    row.kind = Kind::Combo;
    row.caption = "";
    row.width = 1500;
    row.height = 300;
    row.font = face;
    row.back = row.fore = kNoColor;
    QWidget window;
    buildLayout(&window, std::span(&row, 1), {}, [](const ControlSpec&, QWidget*) {});
    const QSet<QString> loaded = mappedFontFiles() - before;
    EXPECT_TRUE(loaded.isEmpty()) << "making a combo box loaded "
                                  << QStringList(loaded.values()).join(u' ').toStdString()
                                  << ": Qt no longer lays out a new edit field in the application's font";
    EXPECT_EQ(QGuiApplication::font(), applicationFont);
}

// Fusion draws a frame without title from a PNG in Qt's resources, which Qt decodes after
// loading every image format plugin; the build copies the picture (cmake/icon_pixels.cpp)
// and FocusStyle draws it in Fusion's place.
TEST(QtAssumptions, TheGroupBoxFrameIsFusionsOwnPicture) {
    ASSERT_GT(kFusionGroupBoxFrame.width, 0) << "the build found no frame picture in Qt's resources";
    const QImage qt = QImage(QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"))
                          .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage built(reinterpret_cast<const uchar*>(kFusionGroupBoxFrame.pixels), kFusionGroupBoxFrame.width,
                       kFusionGroupBoxFrame.height, QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(built, qt) << "the picture is not the one this Qt keeps";

    ASSERT_EQ(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
    FocusStyle focus;
    QGroupBox box;
    box.resize(120, 60);
    box.setStyle(fusion.get());
    const QImage drawnByFusion = box.grab().toImage();
    box.setStyle(&focus);
    EXPECT_EQ(box.grab().toImage(), drawnByFusion) << "Fusion no longer draws the frame from that picture";
}

}  // namespace
}  // namespace kalvo::test
