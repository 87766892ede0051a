#pragma once
// The client datasets that list work periods: every RPERIOD row in ascending
// ID with the calculated state text STATUS_NAME.
#include <QDate>
#include <QString>
#include <optional>

class QObject;
class TClientDataSet;

// cdsRPeriod over xqRPeriod (the choice window): ID, DATE_1, DATE_2, ACT,
// SUM_OST, SUM_OST1, STATUS_NAME; shown: "Начало", "Окончание", "Статус".
TClientDataSet* MakeChoosePeriodList(QObject* parent);

// cdsPeriod over xqPeriod (period management): shown "Начало", "Конец",
// "Статус", "Док-в (услуги)", "Док-в (склад)", "Ост.н. скл.", "Ост.к. скл.";
// ID and ACT hidden; the sums show "<не опр.>" when null.
TClientDataSet* MakePeriodManList(QObject* parent);

// Rereads a period list and stands on the period `id`; when it is not there,
// on the first period (the choice) or the last one (management).
enum class TPeriodFallback { First, Last };
void ReopenPeriodList(TClientDataSet& list, int id, TPeriodFallback fallback);

// The period the list's cursor stands on, as the program keeps its current
// one; nullopt when the list is closed or empty (no period is chosen).
struct TChosenPeriod {
    int id = -1;
    QDate date1, date2;
    bool open = false;
};
std::optional<TChosenPeriod> ChosenPeriod(const TClientDataSet& list);
