#pragma once
// The client datasets that list work periods: every RPERIOD row in ascending
// ID with the calculated state text STATUS_NAME.
#include <QString>

class QObject;
class TClientDataSet;

// cdsRPeriod over xqRPeriod (the choice window): ID, DATE_1, DATE_2, ACT,
// SUM_OST, SUM_OST1, STATUS_NAME; shown: "Начало", "Окончание", "Статус".
TClientDataSet* MakeChoosePeriodList(QObject* parent);

// cdsPeriod over xqPeriod (period management): shown "Начало", "Конец",
// "Статус", "Док-в (услуги)", "Док-в (склад)", "Ост.н. скл.", "Ост.к. скл.";
// ID and ACT hidden; the sums show "<не опр.>" when null.
TClientDataSet* MakePeriodManList(QObject* parent);
