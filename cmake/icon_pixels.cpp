// A build tool: writes the window icon's pixels as C++ arrays, so that the program shows its
// icon without decoding PNGs at start (six PNGs took a twentieth of start-up's instructions),
// and those of the picture the Fusion style draws a group box's frame with, which it would
// decode from Qt's resources at the first paint (and have Qt load every image format plugin
// first).
//
//   icon_pixels OUTPUT.cpp SIZE=PNG...
//
// Each pixel is written as the number Qt keeps for it in a premultiplied ARGB32 image, the
// format of the window's pixmaps, so that the arrays mean the same on every architecture.
#include <QFile>
#include <QImage>
#include <QString>
#include <QStyleFactory>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp SIZE=PNG...\n", argv[0]);
        return 2;
    }
    QByteArray out =
        "// Written by cmake/icon_pixels.cpp from the PNGs in data/icons: do not edit.\n"
        "#include \"window/app_setup.h\"\n#include \"window/ui/focus_style.h\"\n\n"
        "namespace kalvo {\nnamespace {\n";
    QByteArray list = "}  // namespace\n\nconst std::span<const IconPixels> kIconPixels = {kIcons};\n";
    QByteArray table = "constexpr IconPixels kIcons[] = {\n";
    // Qt Widgets holds the style's pictures; naming a function of it keeps it linked.
    const QImage frame = QStyleFactory::keys().isEmpty()
                             ? QImage()
                             : QImage(QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"))
                                   .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    out += "constexpr quint32 kFrame[] = {";
    for (int y = 0; y < frame.height(); ++y) {
        const auto* line = reinterpret_cast<const quint32*>(frame.constScanLine(y));
        for (int x = 0; x < frame.width(); ++x)
            out += ((x + y * frame.width()) % 8 == 0 ? "\n    0x" : " 0x") + QByteArray::number(line[x], 16) + ",";
    }
    out += frame.isNull() ? "0};\n" : "\n};\n";
    list += "const FramePixels kFusionGroupBoxFrame = {" + QByteArray::number(frame.width()) + ", " +
            QByteArray::number(frame.height()) + ", kFrame};\n";
    for (int i = 2; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const int size = arg.left(eq).toInt();
        const QImage image = QImage(arg.mid(eq + 1)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (eq < 0 || image.isNull() || image.width() != size || image.height() != size) {
            std::fprintf(stderr, "%s: not a %d by %d PNG: %s\n", argv[0], size, size, argv[i]);
            return 1;
        }
        const QByteArray name = "kIcon" + QByteArray::number(size);
        out += "constexpr quint32 " + name + "[] = {";
        for (int y = 0; y < size; ++y) {
            const auto* line = reinterpret_cast<const quint32*>(image.constScanLine(y));
            for (int x = 0; x < size; ++x)
                out += ((x + y * size) % 8 == 0 ? "\n    0x" : " 0x") + QByteArray::number(line[x], 16) + ",";
        }
        out += "\n};\n";
        table += "    {" + QByteArray::number(size) + ", " + name + "},\n";
    }
    out += table + "};\n" + list + "\n}  // namespace kalvo\n";
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
