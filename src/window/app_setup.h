// What the program sets up on the application before its window: its icon, Qt's own texts
// in Japanese, and a word to the user when no installed font can show Japanese.
#pragma once

#include "platform/dialogs.h"

#include <QIcon>
#include <QString>
#include <span>

class QCoreApplication;

namespace kalvo {

// The icon's pixels in one size, as a premultiplied ARGB32 image keeps them. The build
// writes them from the icon theme's PNGs (cmake/icon_pixels.cpp), one entry a size.
struct IconPixels {
    int size;
    const quint32* pixels;
};
extern const std::span<const IconPixels> kIconPixels;

// The window icon in the sizes the desktop takes from a window (16 to 256 pixels): the
// PNGs' pixels, made without decoding a PNG.
QIcon windowIcon();

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
