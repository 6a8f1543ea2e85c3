#include "core/month_names.h"

namespace {

int monthOf(DateTime date) {
    return datetime::decodeDate(date).month();
}

QString monthName(const char* const (&table)[12], DateTime date) {
    const int month = monthOf(date);
    if (month < 1 || month > 12)
        return QString();
    return QString::fromUtf8(table[month - 1]);
}

const char* const kMonthRU[12] = {"январь", "февраль", "март",     "апрель",  "май",    "июнь",
                                  "июль",   "август",  "сентябрь", "октябрь", "ноябрь", "декабрь"};
const char* const kMonthGenRU[12] = {"января",   "февраля", "марта",  "апреля",
                                     "мая",      "июня",    "июля",   "августа",
                                     "сентября", "октября", "ноября", "декабря"};
const char* const kMonthUA[12] = {"січень",   "лютий",   "березень", "квітень",
                                  "травень",  "червень", "липень",   "серпень",
                                  "вересень", "жовтень", "листопад", "грудень"};
const char* const kMonthGenUA[12] = {"січня", "лютого", "березня", "квітня", "травня",    "червня",
                                     "липня", "серпня", "вересня", "жовтня", "листопада", "грудня"};

} // namespace

QString monthNameRU(DateTime date) {
    return monthName(kMonthRU, date);
}
QString monthNameGenRU(DateTime date) {
    return monthName(kMonthGenRU, date);
}
QString monthNameUA(DateTime date) {
    return monthName(kMonthUA, date);
}
QString monthNameGenUA(DateTime date) {
    return monthName(kMonthGenUA, date);
}
