// The almanac of a date (its holiday, 旧暦, 六曜, 干支 and solar term) in the hint of each
// panel's date and weekday labels, and the business days of the span in the hint of the
// day count; and the typed steps of the 何の日？ field ("+10営業日"). Everything here is
// worked out when it is asked for.
#include "core/day_info/almanac_equinoxes.h"
#include "core/day_info/day_info.h"
#include "core/holidays/business_days.h"
#include "core/holidays/date_expression.h"
#include "window/frmKV.h"
#include "window/ui/qt_text.h"

#include <chrono>

namespace kalvo {

struct AlmanacCalendars {
    holidays::HolidayCalendar holidays{almanacEquinoxes()};
    holidays::BusinessDays businessDays{holidays};
};

namespace {

std::chrono::year_month_day civilOf(Serial serial) {
    return std::chrono::year_month_day{std::chrono::sys_days{std::chrono::days{unixDayOf(serial)}}};
}

Serial serialOf(std::chrono::year_month_day date) {
    return serialOfUnixDay(std::chrono::sys_days{date}.time_since_epoch().count());
}

const QString kCountHint = QStringLiteral("日数を絶対値で表示します。");
const QString kBusinessDays =
    QStringLiteral("営業日 %1 日（土日・祝日・休日を除く）\n行政機関の営業日 %2 日（12/29〜1/3 も除く）");

}  // namespace

const AlmanacCalendars& frmKV::almanacCalendars() const {
    if (!calendars) calendars = std::make_shared<AlmanacCalendars>();
    return *calendars;
}

void frmKV::connectAlmanacHints() {
    // The panel's own label lies over its date labels and takes the pointer there.
    for (int panel = 0; panel < 2; ++panel)
        for (ClickLabel* label : {laYer(panel), laMon(panel), laDay(panel), laYB(panel), laOB2(panel)})
            label->setLazyHint([this, panel] { return dateHint(panel); });
    laDD(1)->setLazyHint([this] { return spanHint(); });
}

QString frmKV::dateHint(int panel) const {
    const int day = static_cast<int>(unixDayOf(panelDate[panel == 0 ? 0 : 1]));
    const DayInfo info = dayInfoOf(day, almanacCalendars().holidays, {});
    QStringList lines;
    for (const std::string& part : almanacParts(info)) lines << toQt(part);
    return lines.join(QLatin1Char('\n'));
}

QString frmKV::spanHint() const {
    const auto& business = almanacCalendars().businessDays;
    const auto a = civilOf(panelDate[0]), b = civilOf(panelDate[1]);
    const bool withStart = ckST->isChecked();
    return kCountHint + QLatin1Char('\n') +
           kBusinessDays.arg(business.count(a, b, withStart, holidays::BusinessRule::Business))
               .arg(business.count(a, b, withStart, holidays::BusinessRule::CivilService));
}

std::optional<Serial> frmKV::typedStep(const QString& text) const {
    const auto expression = holidays::parseDateExpression(toUtf8(text));
    if (!expression) return std::nullopt;
    const auto moved =
        holidays::applyDateExpression(civilOf(panelDate[0]), *expression, almanacCalendars().businessDays);
    if (!moved) return std::nullopt;
    return serialOf(*moved);
}

}  // namespace kalvo
