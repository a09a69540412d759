// Test entry: one QApplication for the whole binary on Qt's offscreen platform, so window
// tests drive real widgets without a display.
#include <gtest/gtest.h>
#include <QApplication>
#include <string_view>

namespace {

QtMessageHandler qtHandler = nullptr;

// A model asked about an index it does not have: Qt only warns, a test fails.
void failOnCheckIndex(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (context.category && std::string_view(context.category) == "qt.core.qabstractitemmodel.checkindex")
        ADD_FAILURE() << "Qt: " << message.toStdString();
    qtHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qtHandler = qInstallMessageHandler(failOnCheckIndex);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
