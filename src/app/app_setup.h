// What the program sets up on the application before its window: Qt's own texts in
// Japanese, and a word to the user when no installed font can show Japanese.
#pragma once

#include "platform/dialogs.h"

#include <QString>

class QCoreApplication;

namespace kalvo {

// Loads Qt's Japanese translation (the edit fields' context menu, the standard
// dialogs) whatever the locale: every other text of the window is Japanese. False when
// the translation is not installed; Qt's texts then stay English.
bool loadQtTranslation(QCoreApplication& app);

// The box shown once at start when no Japanese font is installed. Its Japanese lines
// come with an English one, as the Japanese cannot be read on such a machine.
extern const QString kNoJapaneseFontText;
extern const QString kNoJapaneseFontTitle;

// Shows that box when no installed font can show Japanese; true when it was shown.
bool warnWithoutJapaneseFont(Dialogs& dialogs);

}  // namespace kalvo
