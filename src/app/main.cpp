#include "app/app_setup.h"
#include "app/frmKV.h"
#include "platform/termination.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvo"));
    // The desktop entry, the icons and the software-centre data share this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.kalvo.kalvo"));
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/kalvo/icon-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    kalvo::loadQtTranslation(app);

    kalvo::frmKV window(kalvo::systemServices());
    // SIGTERM and the end of the desktop session end the program as the close box does:
    // the unload step saves what changed, once.
    // Nobody answers a question then, so the save merges with what another writer left.
    const auto endFromOutside = [&window] {
        window.endUnattended = true;
        window.close();
    };
    kalvo::onTerminationRequest(&window, endFromOutside);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, endFromOutside);
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
