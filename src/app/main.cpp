#include "platform/termination.h"
#include "window/app_setup.h"
#include "window/frmKV.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvo"));
    // The desktop entry, the icons and the software-centre data share this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.kalvo.kalvo"));
    QApplication::setWindowIcon(kalvo::windowIcon());
    kalvo::loadQtTranslation(app);

    kalvo::frmKV window(kalvo::systemServices());
    // SIGTERM, SIGHUP, SIGINT and the end of the desktop session end the program as the
    // close box does: the unload step saves what changed, once. Nobody answers a question
    // then: an open box closes, and the save merges with what another writer left.
    kalvo::onTerminationRequest(&window, [&window] { window.endFromOutside(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, [&window] { window.endFromOutside(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, [&window] {
        window.endUnattended = true;  // the event loop is ending: no box could be answered
        int cancel = 0;
        window.Form_Unload(cancel);
    });
    // When the X server goes away, Qt ends the process with exit(1) from inside its event
    // loop. The unsaved change is saved then, from the window's plain data, without a box;
    // the exit status says whether that worked (frmKV.h), and a line on stderr says where.
    kalvo::onExitFromInside([&window] { return window.endWithoutDisplay(); });
    struct Disarm {
        ~Disarm() { kalvo::disarmExitHandler(); }
    } disarm;

    kalvo::warnWithoutJapaneseFont(*window.services.dialogs);
    window.Form_Load();
    // An end request that arrived while start-up showed a message ends the program
    // before it comes up.
    if (window.endUnattended && !window.unloaded) {
        int cancel = 0;
        window.Form_Unload(cancel);
    }
    if (window.unloaded) return 0;
    // The icon reaches the X window once: made while the application has an icon, the
    // window would have it converted for X twice (as it is made and once more after).
    const QIcon icon = QApplication::windowIcon();
    QApplication::setWindowIcon(QIcon());
    window.winId();  // makes the X window
    QApplication::setWindowIcon(icon);
    window.show();
    return QApplication::exec();
}
