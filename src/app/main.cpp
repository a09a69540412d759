#include "app/app_setup.h"
#include "app/frmKV.h"
#include "platform/termination.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvo"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kalvo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kalvo/kalvo-32.png")));
    kalvo::loadQtTranslation(app);

    kalvo::frmKV window(kalvo::systemServices());
    // SIGTERM and the end of the desktop session end the program as the close box does:
    // the unload step saves what changed, once.
    kalvo::onTerminationRequest(&window, [&window] { window.close(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, [&window] { window.close(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, [&window] {
        int cancel = 0;
        window.Form_Unload(cancel);
    });

    kalvo::warnWithoutJapaneseFont(*window.services.dialogs);
    window.Form_Load();
    // An end request that arrived while start-up showed a message has already run the
    // unload step; the program must not come up after it.
    if (window.unloaded) return 0;
    window.show();
    return QApplication::exec();
}
