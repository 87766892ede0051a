#pragma once
// The texts a stock document's print form shows besides its lines: the
// organisation's details and the document's header as they stand in the
// editor (saved or not). MakeDOCVAR refills them before each print; the
// report engine asks for them by name through frReportDocGetValue.
#include <QString>
#include <QStringList>
#include <QVariant>

class TClientDataSet;

namespace stockdoc {

struct TDOCVAR {
    QString DocCaption, NameOrg, Rukovod, Glavbuh, AdresOrg, PhoneOrg, INN, KPP, OGRN, Bankname, BankBik, Schet,
        KorSchet, Dened, Number, Datedoc, DocuTitle, Comment;

    // The text of the variable with exactly this name (letter case counts); false when there is none.
    bool find(const QString& name, QString& value) const;
    static QStringList names();
};

extern TDOCVAR DOCVAR;

// A document number as the form prints it: a whole number with leading zeros
// to 6 digits (a longer one cut to its first 6), any other text as typed.
QString PrintedNumber(const QString& number);

// Fills `var` from the organisation row (current row of `uchInfo`) and the
// document's current row (`docs`, pending values included).
void MakeDOCVAR(const TClientDataSet& docs, const TClientDataSet& uchInfo, TDOCVAR& var = DOCVAR);

// The report engine's get-value callback over DOCVAR.
void frReportDocGetValue(const QString& name, QVariant& value);

}  // namespace stockdoc
