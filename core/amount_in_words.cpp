#include "core/amount_in_words.h"

#include "core/numbers.h"

#include <QStringList>

namespace {

// The forms of a group's name: after the units word 1, after 2 to 4, and otherwise.
struct GroupName {
    const char* one;
    const char* few;
    const char* many;
};

// Indexed by the digit; an empty word stands for nothing.
using DigitWords = const char* const[10];

struct Language {
    const char* zero;
    const char* minus;
    DigitWords hundreds;
    DigitWords tens;
    DigitWords teens; // 10 to 19, by the units digit
    DigitWords masculine;
    DigitWords feminine;
    bool feminineUnits;
    GroupName thousands;
    GroupName millions;
    GroupName milliards;
};

const Language kRussian = {
    "ноль",
    "минус",
    {"", "сто", "двести", "триста", "четыреста", "пятьсот", "шестьсот", "семьсот", "восемьсот",
     "девятьсот"},
    {"", "", "двадцать", "тридцать", "сорок", "пятьдесят", "шестьдесят", "семьдесят", "восемьдесят",
     "девяносто"},
    {"десять", "одиннадцать", "двенадцать", "тринадцать", "четырнадцать", "пятнадцать",
     "шестнадцать", "семнадцать", "восемнадцать", "девятнадцать"},
    {"", "один", "два", "три", "четыре", "пять", "шесть", "семь", "восемь", "девять"},
    {"", "одна", "две", "три", "четыре", "пять", "шесть", "семь", "восемь", "девять"},
    false,
    {"тысяча", "тысячи", "тысяч"},
    {"миллион", "миллиона", "миллионов"},
    {"миллиард", "миллиарда", "миллиардов"},
};

const Language kUkrainian = {
    "нуль",
    "мінус",
    {"", "сто", "двісті", "триста", "чотириста", "п'ятсот", "шістсот", "сімсот", "вісімсот",
     "дев'ятсот"},
    {"", "", "двадцять", "тридцять", "сорок", "п'ятдесят", "шістдесят", "сімдесят", "вісімдесят",
     "дев'яносто"},
    {"десять", "одинадцять", "дванадцять", "тринадцять", "чотирнадцять", "п'ятнадцять",
     "шістнадцять", "сімнадцять", "вісімнадцять", "дев'ятнадцять"},
    {"", "один", "два", "три", "чотири", "п'ять", "шість", "сім", "вісім", "дев'ять"},
    {"", "одна", "дві", "три", "чотири", "п'ять", "шість", "сім", "вісім", "дев'ять"},
    true,
    {"тисяча", "тисячі", "тисяч"},
    {"мільйон", "мільйони", "мільйонів"},
    {"мільярд", "мільярди", "мільярдів"},
};

constexpr qint64 kWordsLimit = 1'000'000'000'000;

void appendWord(QStringList& words, const char* word) {
    if (*word)
        words << QString::fromUtf8(word);
}

const char* groupNameForm(const GroupName& name, int tens, int units) {
    if (tens == 1 || units == 0 || units > 4)
        return name.many;
    return units == 1 ? name.one : name.few;
}

// The words of a group of three digits, with its name when it is not the units group; nothing
// for 000.
void appendGroup(QStringList& words, int group, bool feminine, const GroupName* name,
                 const Language& language) {
    if (group == 0)
        return;
    const int tens = group / 10 % 10;
    const int units = group % 10;
    appendWord(words, language.hundreds[group / 100]);
    if (tens == 1) {
        appendWord(words, language.teens[units]);
    } else {
        appendWord(words, language.tens[tens]);
        appendWord(words, feminine ? language.feminine[units] : language.masculine[units]);
    }
    if (name)
        appendWord(words, groupNameForm(*name, tens, units));
}

// The words followed by one blank each; empty for none.
QString partText(const QStringList& words) {
    return words.isEmpty() ? QString() : words.join(u' ') + u' ';
}

// The words parts of the whole units, the currency name not yet added.
void fillWholeUnitParts(AmountWordParts& parts, qint64 whole, const Language& language) {
    if (whole >= kWordsLimit) {
        parts.units = QString::number(whole) + u' ';
        return;
    }
    if (whole == 0) {
        parts.units = QString::fromUtf8(language.zero) + u' ';
        return;
    }
    QStringList millions;
    appendGroup(millions, int(whole / 1'000'000'000), false, &language.milliards, language);
    appendGroup(millions, int(whole / 1'000'000 % 1000), false, &language.millions, language);
    QStringList thousands;
    appendGroup(thousands, int(whole / 1000 % 1000), true, &language.thousands, language);
    QStringList units;
    appendGroup(units, int(whole % 1000), language.feminineUnits, nullptr, language);
    parts.millions = partText(millions);
    parts.thousands = partText(thousands);
    parts.units = partText(units);
}

AmountWordParts amountInWordParts(double amount, const QString& currency,
                                  const Language& language) {
    const qint64 kopecks = roundToKopecks(amount);
    const qint64 size = kopecks < 0 ? -kopecks : kopecks;
    AmountWordParts parts;
    fillWholeUnitParts(parts, size / 100, language);
    QString& last = !parts.units.isEmpty()       ? parts.units
                    : !parts.thousands.isEmpty() ? parts.thousands
                                                 : parts.millions;
    last += currency + u' ';
    if (kopecks < 0)
        parts.millions.prepend(QString::fromUtf8(language.minus) + u' ');
    parts.kopecks = QStringLiteral("%1 коп.").arg(size % 100, 2, 10, QLatin1Char('0'));
    return parts;
}

QString amountInWords(double amount, const QString& currency, const Language& language) {
    const AmountWordParts parts = amountInWordParts(amount, currency, language);
    QString text = parts.millions + parts.thousands + parts.units + parts.kopecks;
    text[0] = text[0].toUpper();
    return text;
}

} // namespace

QString amountInWordsRussian(double amount, const QString& currency) {
    return amountInWords(amount, currency, kRussian);
}

QString amountInWordsUkrainian(double amount, const QString& currency) {
    return amountInWords(amount, currency, kUkrainian);
}

AmountWordParts amountInWordPartsRussian(double amount, const QString& currency) {
    return amountInWordParts(amount, currency, kRussian);
}

AmountWordParts amountInWordPartsUkrainian(double amount, const QString& currency) {
    return amountInWordParts(amount, currency, kUkrainian);
}
