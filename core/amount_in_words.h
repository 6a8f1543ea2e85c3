#pragma once

#include <QString>

// An amount of money written out for payment documents and cash orders, such as
// «Одна тысяча двести тридцать четыре грн. 56 коп.»: the whole units in words, the currency name,
// the kopecks as two digits and "коп.", the first letter in upper case. The amount is rounded to
// kopecks first, as its figure is (roundToKopecks in core/numbers.h), so 2.996 reads
// «Три грн. 00 коп.» beside the figure 3.00. Russian counts the units in the masculine
// («один», «два»), Ukrainian in the feminine («одна», «дві»); the currency name follows the last
// word unchanged, «ноль» / «нуль» standing for no whole units.
//
// Past the usual range of a document:
// - a negative amount reads «Минус» / «Мінус» and then the words of its size
//   («Минус пять грн. 50 коп.»); one that rounds to 0.00 carries no sign;
// - the millions group takes its hundreds as the thousands group does («Сто миллионов»), and
//   milliards («миллиард» / «мільярд») follow the same rule, up to 999 999 999 999.99;
// - from 1 000 000 000 000 up the whole units stand as a figure («1000000000000 грн. 00 коп.»);
// - an amount that roundToKopecks refuses raises its ConvertError.
QString amountInWordsRussian(double amount, const QString& currency);
QString amountInWordsUkrainian(double amount, const QString& currency);

// The same words in four parts, for forms that print them apart; the whole text above is the
// four joined in this order, its first letter in upper case. Every part holds whole words, each
// followed by one blank, all in lower case, except the kopecks, which end with "коп.":
// - millions: the words of the millions, and of the milliards before them («два миллиона »),
//   led by the sign of a negative amount («минус »);
// - thousands: the words of the thousands («одна тысяча »);
// - units: the words of the units («пять »), «ноль » / «нуль » when the amount has no whole
//   units, or the whole units as a figure from 1 000 000 000 000 up;
// - kopecks: the two digits and «коп.» («05 коп.»).
// The currency name and a blank follow the last of the first three parts that is not empty:
// 1 001 000 gives «один миллион », «одна тысяча грн. », «» and «00 коп.».
struct AmountWordParts {
    QString millions;
    QString thousands;
    QString units;
    QString kopecks;
};
AmountWordParts amountInWordPartsRussian(double amount, const QString& currency);
AmountWordParts amountInWordPartsUkrainian(double amount, const QString& currency);
