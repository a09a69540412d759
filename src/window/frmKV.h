// The one window of Kalvo. It owns every piece of state of a run as public fields and
// carries every handler as a public member function. Every file that defines its members
// lies in src/window/:
//   frmKV.cpp           construction, start-up, the end button and unload
//   window_size.cpp     the five window sizes, help and version boxes
//   panels.cpp          panel display, focus, the +/- buttons and the span
//   era_controls.cpp    era table, conversion, era controls, table switch, date reset
//   moon_view.cpp       moon age and phase picture
//   event_load.cpp      reading the event file at start-up
//   event_commands.cpp  the event list commands
//   event_save.cpp      the save at the end of a run and the questions before it
//   almanac_hints.cpp   the almanac and business days in the hints, typed steps
// (event_messages.h holds the words of those three).
// The controls are made from the rows of control_table.cpp, each naming the field below
// that it fills. Every computation is the pure core's (src/core/); the widgets, the
// layout builder and the fonts are in src/window/ui/.
#pragma once

#include "core/era/date_text.h"
#include "core/era/era_table.h"
#include "core/events/event_merge.h"
#include "core/layout/colours.h"
#include "platform/services.h"
#include "window/ui/controls.h"
#include "window/ui/layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kalvo {

class MoonPicture;
struct AlmanacCalendars;

// How a save at the end went: written (or nothing to write), not written (the user was
// told, or chose so), or not written because the user chose to go back to the window.
enum class SaveOutcome { Saved, NotSaved, BackToWindow };

// Exit statuses when the window system went away under the program: the change (if
// any) was saved; the change could not be saved. A stderr line says which, and where.
inline constexpr int kExitDisplayLost = 1;
inline constexpr int kExitDisplayLostUnsaved = 2;

class frmKV : public QWidget {
    Q_OBJECT
public:
    explicit frmKV(Services services, QWidget* parent = nullptr);
    ~frmKV() override;

    Services services;

    // ---- shared fields -------------------------------------------------------
    QString zVER;
    int nCM = 0;
    int fgNS = 2;
    QString zNGF;
    std::array<double, 2> panelDate{0.0, 0.0};
    short curPanel = 0;
    std::array<short, 2> panelActive{1, 0};
    QString weekdayName;
    short modified = 0;
    short saveSilently = 0;
    QString eventFileName;
    ColorValue litColor = kYellow;
    ColorValue darkColor = kBlack;
    ColorValue customBackColor = kProgramBack;
    ColorValue defaultBackColor = kSystemButtonFace;
    ColorValue backColor = kProgramBack;
    short sizeMode = 0;

    // ---- era table and conversion -------------------------------------------
    std::array<QString, 256> eraReading;
    std::array<QString, 256> eraName;
    std::array<double, 256> eraStart{};
    short eraIndex = 0;
    short eraYear = 0;
    // The era row each panel showed at its last conversion (0 when none). The era combo
    // compares a choice with the row of its own panel, so that choosing in one panel the
    // row that the other panel shows still moves the date.
    std::array<short, 2> panelEra{0, 0};
    // The search over eraStart[1..nCM], rebuilt whenever a table is put in force.
    EraLookup eraLookup;
    // The era names that date texts may use under the table in force, rebuilt with it.
    DateEras dateEras;

    // ---- moon ------------------------------------------------------------------
    double synodicMonth = 29.530589;
    float moonAge = 0.0f;

    // ---- event file and event list --------------------------------------------
    QString fileHeader;
    QString fileVersion;
    QString fileComment;
    std::array<QString, 2> startDisplay;
    int eventPos = 0;
    double eventDate = 0.0;
    QString eventDateText;
    // Set when the event file could not be read whole: it is then never overwritten.
    bool eventFileReserved = false;
    // The event file as this run read it (or last wrote it): its bytes and lines, to
    // notice another writer at the save and so that lines nobody changed keep their bytes
    // (null: there was no file); its settings, the base of a merge (the entries are not
    // kept: a merge takes them from the file as it is then, with this run's edits).
    std::shared_ptr<const Cp932File> eventFileRead;
    EventFile eventFileBase;
    // The edits of the list made in this run, in order, for a merge.
    std::vector<EntryEdit> entryEdits;
    // The era table the event file names; it changes only when the user switches tables,
    // not when a court file that cannot be read leaves the built-in table in force.
    int storedEraTable = 2;
    // The end was asked for by the system (SIGTERM, the end of the session, the display
    // gone): nobody is there to answer a question, so the save takes the choice that
    // loses nothing.
    bool endUnattended = false;
    // The connection to the window system broke: nothing may talk to it any more.
    bool displayLost = false;
    // Where the last save put the content, for the line an unattended end prints.
    QString savedTo;
    // How long a save waits for another Kalvo's save before it asks (or, unattended, keeps
    // its change in a copy).
    int savePatienceMs = 5000;

    // ---- controls (each filled by its row of control_table.cpp) ------------
    ControlArray<QPushButton> btBB, btEND, btEV, btNG;
    QPushButton* btSIZE = nullptr;
    QPushButton* btINFO = nullptr;
    QPushButton* btHELP = nullptr;
    ControlArray<ClickLabel> laZL, laYMD, laDD, laDY, laDM, laYB, laDay, laMon, laYer, laNen, laOB2;
    ClickLabel* laTest = nullptr;
    ClickLabel* laMAX = nullptr;
    ClickLabel* laD = nullptr;
    ClickLabel* laBT = nullptr;
    ControlArray<QComboBox> cobNG;
    QComboBox* cobEV = nullptr;
    QCheckBox* ckBS = nullptr;
    QCheckBox* ckST = nullptr;
    QGroupBox* frNSM = nullptr;
    ControlArray<QRadioButton> opNS;
    MoonPicture* picM = nullptr;

    // ---- application shell -------------------------------------------------------
    void Form_Load();
    // Sets `cancel` when the user chose to go back to the window from a question of the save.
    void Form_Unload(int& cancel);
    void btEND_Click(int index);
    bool unloaded = false;  // the unload step has run (it runs once per window)
    bool saving = false;    // the unload step's save is under way (a box of it may be open)
    // An end asked for from outside (a signal, the end of the session): any open box
    // closes, and the window ends unattended, once.
    void endFromOutside();
    // The process is ending because the window system went away: saves what is unsaved,
    // without a box, and returns the exit status (see main.cpp).
    int endWithoutDisplay();

    // ---- window sizes, help and version ---------------------------------------
    void applySizeMode();
    void btSIZE_Click();
    void laMAX_Click();
    void laZL_Click(int index);
    void btHELP_Click();
    void btINFO_Click();

    // ---- panels, +/- buttons, span ---------------------------------------------
    void setDate();
    void getYOBI();
    void showFocus();
    void selectPanel(int index);
    void laOB2_Click(int index);
    void btBB_Click(int index);
    void ckST_Click();

    // ---- era ---------------------------------------------------------------------
    void loadNGTable();
    void S2NG();
    void cobNG_Click(int index);
    void btNG_Click(int index);
    void cobNG_GotFocus(int index);
    void chooseNGTable();
    // Reads the era file zNGF into the table; false (after saying why) when the file is
    // missing or broken, and then nothing has changed.
    bool readNGFile();
    void opNS_Click(int index);
    void resetDates();

    // ---- moon ----------------------------------------------------------------------
    void drwMoon3();
    void moond2();
    void picM_Click();
    void ckBS_Click();
    // What ckBS_Click does besides marking a change: backColor, the picture's
    // visibility and the backgrounds of the window, ckST and ckBS follow the box.
    // Restoring the box from the event file uses it too.
    void applyMoonDisplay();

    // ---- events ----------------------------------------------------------------
    void readEventFile();
    SaveOutcome writeEventFile();
    // The event file's path: the working folder's bytes and the file's name.
    std::string eventFilePath() const;
    // Finishes a save into the event file itself that an earlier run could not finish
    // (killed, power lost), and tells the user.
    void completeInterruptedSaveAtStart();
    // Keeps `bytes` in a new file in the home folder (or names the copy that holds them
    // already) and returns its path as shown; empty when it could not.
    QString keepCopyInHome(const std::string& bytes);
    // What the window would write now, from its fields and controls, apart from the list
    // (the entries stay where cobEV keeps them).
    EventFile currentSettings() const;
    void parseEvent();
    void cobEV_Click();
    void cobEV_KeyDown(int keyCode, int shift);

    // ---- the almanac in the hints (almanac_hints.cpp) ---------------------------------
    // The hints of the date and weekday labels and of the day count, worked out when
    // asked for: a click that shows a date computes none of them.
    void connectAlmanacHints();
    QString dateHint(int panel) const;
    QString spanHint() const;
    // The upper panel's date moved by a typed step ("+100", "-30日", "+3ヶ月", "+10営業日");
    // nullopt when the text is no step, or when the step leaves the years 100 to 9999
    // (refused without a word, as the + buttons refuse it).
    std::optional<Serial> typedStep(const QString& text) const;
    // The holiday calendar and its business days, made when first needed.
    const AlmanacCalendars& almanacCalendars() const;
    mutable std::shared_ptr<AlmanacCalendars> calendars;
    void btEV_Click(int index);

    // Program-made selections: the widget is set with its signals blocked, then the
    // click handler runs once, as for a user's choice.
    void selectNG(int panel, int listIndex);
    void selectEV(int listIndex);
    void selectNS(int index);

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window's place as last seen while the window system was there.
    QPoint lastPlace;
    // Captions not yet fitted to the face in use: those of controls outside the client
    // area of every size shown so far.
    std::vector<PendingCaption> unfittedCaptions;
    void buildControls();
    void connectHandlers();
};

}  // namespace kalvo
