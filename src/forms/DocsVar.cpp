#include "forms/DocsVar.h"
#include "base/VariableTable.h"

#include "base/RoutsFormat.h"
#include "data/ClientDataSet.h"

#include <QLocale>

namespace stockdoc {

TDOCVAR DOCVAR;

namespace {

using Entry = TVariableEntry<TDOCVAR>;

const Entry kEntries[] = {
    {"DocCaption", &TDOCVAR::DocCaption}, {"NameOrg", &TDOCVAR::NameOrg},   {"Rukovod", &TDOCVAR::Rukovod},
    {"Glavbuh", &TDOCVAR::Glavbuh},       {"AdresOrg", &TDOCVAR::AdresOrg}, {"PhoneOrg", &TDOCVAR::PhoneOrg},
    {"INN", &TDOCVAR::INN},               {"KPP", &TDOCVAR::KPP},           {"OGRN", &TDOCVAR::OGRN},
    {"Bankname", &TDOCVAR::Bankname},     {"BankBik", &TDOCVAR::BankBik},   {"Schet", &TDOCVAR::Schet},
    {"KorSchet", &TDOCVAR::KorSchet},     {"Dened", &TDOCVAR::Dened},       {"Number", &TDOCVAR::Number},
    {"Datedoc", &TDOCVAR::Datedoc},       {"DocuTitle", &TDOCVAR::DocuTitle}, {"Comment", &TDOCVAR::Comment},
};

QString text(const TClientDataSet& ds, const char* name) {
    const TField* f = ds.isActive() ? ds.findField(QLatin1String(name)) : nullptr;
    if (!f || (ds.isEmpty() && !ds.isEditing())) return QString();
    return f->asString();
}

QString dateText(const TClientDataSet& ds, const char* name) {
    const TField* f = ds.isActive() ? ds.findField(QLatin1String(name)) : nullptr;
    if (!f || (ds.isEmpty() && !ds.isEditing()) || f->isNull()) return QString();
    return QLocale().toString(f->asDate(), QLocale::ShortFormat);
}

}  // namespace

bool TDOCVAR::find(const QString& name, QString& value) const { return FindVariable(*this, kEntries, name, value); }

QStringList TDOCVAR::names() { return VariableNames(kEntries); }

QString PrintedNumber(const QString& number) {
    bool whole = false;
    const QString t = number.trimmed();
    const qint64 n = t.toLongLong(&whole);
    return whole ? ZeroPad(n, 6) : number;
}

void MakeDOCVAR(const TClientDataSet& docs, const TClientDataSet& uch, TDOCVAR& v) {
    v.NameOrg = text(uch, "NAMEORG");
    v.Rukovod = text(uch, "RUKOVOD");
    v.Glavbuh = text(uch, "GLAVBUH");
    v.AdresOrg = text(uch, "ADRESORG");
    v.PhoneOrg = text(uch, "PHONEORG");
    v.INN = text(uch, "INN");
    v.KPP = text(uch, "KPP");
    v.OGRN = text(uch, "OGRN");
    v.Bankname = text(uch, "BANKNAME");
    v.BankBik = text(uch, "BANKBIK");
    v.Schet = text(uch, "SCHET");
    v.KorSchet = text(uch, "KORSCHET");
    v.Dened = text(uch, "DENED");

    const QString number = text(docs, "NUMBER");
    v.Datedoc = dateText(docs, "DATEDOC");
    v.DocCaption = text(docs, "KINDDOC_NAME") + QStringLiteral(" от ") + v.Datedoc + QStringLiteral(" № ") + number;
    v.Number = PrintedNumber(number);
    v.DocuTitle = text(docs, "DOCU_TITLE");
    v.Comment = text(docs, "COMMENT");
}

void frReportDocGetValue(const QString& name, QVariant& value) {
    QString t;
    if (DOCVAR.find(name, t)) value = t;
}

}  // namespace stockdoc
