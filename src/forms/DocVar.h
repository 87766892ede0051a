#pragma once
// The texts a receipt-contract prints besides its line lists: the
// organisation's details and the order's header, as they stand in the editor
// (saved or not). MakeDOCVAR refills them before each print; the report
// engine asks for them by name through frReportDocGetValue.
#include <QString>
#include <QVariant>

class TClientDataSet;

struct TDOCVAR {
    QString NameOrg, Rukovod, Glavbuh, AdresOrg, PhoneOrg, INN, KPP, OGRN, Bankname, BankBik, Schet, KorSchet, Dened;
    QString Series, Number, DateP, DateV, DateVyd, VremVyd;
    QString Zakazch_Name, Zakazch_Adres, Zakazch_Phone, Priemschik_Fio;
    QString Received, Debt, TOTAL, OTKL, TOTAL_WOTKL, Comment;
    QString g_1, g_2, g_3, GarantName, SumPolProp;

    // The text of the variable with exactly this name (letter case counts); false when there is none.
    bool find(const QString& name, QString& value) const;
    // The 34 names in the order of the record.
    static QStringList names();
};

// The one instance the receipt printing fills.
extern TDOCVAR DOCVAR;

// Fills `var` from the organisation row (current row of `uchInfo`) and the
// order's current row (`docu`, the editor's pending values included).
void MakeDOCVAR(const TClientDataSet& docu, const TClientDataSet& uchInfo, TDOCVAR& var = DOCVAR);

// The report engine's get-value callback: the variable's text from DOCVAR,
// or `value` left alone for any other name.
void frReportDocGetValue(const QString& name, QVariant& value);
