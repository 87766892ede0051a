#pragma once
// The organisation's details as every print form shows them: the one row of
// UCHINFO ("Сведения об организации"). The receipt's and the stock
// document's variables both start from it.
#include <QString>

class TClientDataSet;

struct TOrgDetails {
    QString NameOrg, Rukovod, Glavbuh, AdresOrg, PhoneOrg, INN, KPP, OGRN, Bankname, BankBik, Schet, KorSchet, Dened;
};

// Fills `org` from the current row of `uchInfo` (NAMEORG, RUKOVOD, …, DENED);
// empty texts when the dataset is closed or has no row.
void FillOrgDetails(const TClientDataSet& uchInfo, TOrgDetails& org);
