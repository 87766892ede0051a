#pragma once
// The amount received written in Russian words for the receipt-contract:
// «Тысяча пятьсот руб. 50 коп. ». No state besides the word tables.
#include <QString>
#include <utility>

// The phrase for the text of an amount ("1500", "1500,5", "0,05", "12.30",
// "-40"): roubles in words, "руб. ", the kopecks in figures and " коп. ".
// Empty for an empty or unreadable text; "<Слишком большое число>" from two
// milliard roubles on. A negative amount is written with "минус " in front.
QString AmountInWords(const QString& text);

// Roubles and kopecks of an amount's text: the first comma (or, without one,
// the first dot) separates them; "00" when there are no kopecks, one decimal
// gets a "0" appended ("1500,5" -> "1500", "50").
std::pair<QString, QString> SplitAmount(const QString& text);

// The words of a non-negative whole number given as its digits, each word
// followed by a blank ("0" -> "Ноль ", "21000" -> "двадцать одна тысяча ").
QString NumberInWords(const QString& digits);
