// Window tests of the era controls: a started window with helpers that set a panel's
// date, read what the panel shows and make an era choice as the user would.
#pragma once

#include "support/window_fixture.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QStringList>

namespace kalvo::test {

class EraWindowTest : public WindowTest {
protected:
    // Puts a date into a panel and shows it, as every handler that moves a date does.
    void show(int panel, int y, int m, int d) {
        form->curPanel = static_cast<short>(panel);
        form->panelDate[panel] = fromYmd(y, m, d);
        form->setDate();
    }
    Ymd dateOf(int panel) const { return toYmd(form->panelDate[panel]); }
    QString eraText(int panel) const { return form->cobNG(panel)->currentText(); }
    QString yearText(int panel) const { return form->laNen(panel)->text(); }
    QString hint(int panel) const { return form->cobNG(panel)->toolTip(); }

    // The user picks a list position: the list moves, then the user-only signal fires.
    void choose(int panel, int listIndex) {
        QComboBox* combo = form->cobNG(panel);
        {
            const QSignalBlocker block(combo);
            combo->setCurrentIndex(listIndex);
        }
        emit combo->activated(listIndex);
    }

    QStringList listed(int panel) const {
        QStringList names;
        for (int i = 0; i < form->cobNG(panel)->count(); ++i) names << form->cobNG(panel)->itemText(i);
        return names;
    }
};

}  // namespace kalvo::test
