#include "forms/DocVar.h"
#include "base/VariableTable.h"

#include "base/RoutsFormat.h"
#include "data/ClientDataSet.h"
#include "orders/core/SumStr.h"

#include <QLocale>

TDOCVAR DOCVAR;

namespace {

using Entry = TVariableEntry<TDOCVAR>;

const Entry kEntries[] = {
    {"NameOrg", &TDOCVAR::NameOrg},
    {"Rukovod", &TDOCVAR::Rukovod},
    {"Glavbuh", &TDOCVAR::Glavbuh},
    {"AdresOrg", &TDOCVAR::AdresOrg},
    {"PhoneOrg", &TDOCVAR::PhoneOrg},
    {"INN", &TDOCVAR::INN},
    {"KPP", &TDOCVAR::KPP},
    {"OGRN", &TDOCVAR::OGRN},
    {"Bankname", &TDOCVAR::Bankname},
    {"BankBik", &TDOCVAR::BankBik},
    {"Schet", &TDOCVAR::Schet},
    {"KorSchet", &TDOCVAR::KorSchet},
    {"Dened", &TDOCVAR::Dened},
    {"Series", &TDOCVAR::Series},
    {"Number", &TDOCVAR::Number},
    {"DateP", &TDOCVAR::DateP},
    {"DateV", &TDOCVAR::DateV},
    {"DateVyd", &TDOCVAR::DateVyd},
    {"VremVyd", &TDOCVAR::VremVyd},
    {"Zakazch_Name", &TDOCVAR::Zakazch_Name},
    {"Zakazch_Adres", &TDOCVAR::Zakazch_Adres},
    {"Zakazch_Phone", &TDOCVAR::Zakazch_Phone},
    {"Priemschik_Fio", &TDOCVAR::Priemschik_Fio},
    {"Received", &TDOCVAR::Received},
    {"Debt", &TDOCVAR::Debt},
    {"TOTAL", &TDOCVAR::TOTAL},
    {"OTKL", &TDOCVAR::OTKL},
    {"TOTAL_WOTKL", &TDOCVAR::TOTAL_WOTKL},
    {"Comment", &TDOCVAR::Comment},
    {"g_1", &TDOCVAR::g_1},
    {"g_2", &TDOCVAR::g_2},
    {"g_3", &TDOCVAR::g_3},
    {"GarantName", &TDOCVAR::GarantName},
    {"SumPolProp", &TDOCVAR::SumPolProp},
};

// A field of the current row; null when the dataset has no such field or no row.
fb::Value valueOf(const TClientDataSet& ds, const char* name) {
    if (!ds.isActive() || (ds.isEmpty() && !ds.isEditing())) return {};
    const TField* f = ds.findField(QLatin1String(name));
    return f ? f->value() : fb::Value();
}

QString text(const TClientDataSet& ds, const char* name) {
    const TField* f = ds.isActive() ? ds.findField(QLatin1String(name)) : nullptr;
    if (!f || (ds.isEmpty() && !ds.isEditing())) return QString();
    return f->asString();
}

QString dateText(const TClientDataSet& ds, const char* name) {
    const fb::Value v = valueOf(ds, name);
    return v.isNull() ? QString() : QLocale().toString(v.toDate(), QLocale::ShortFormat);
}

QString money(const TClientDataSet& ds, const char* name) { return FormatMoney(valueOf(ds, name).toDecimal()); }

}  // namespace

bool TDOCVAR::find(const QString& name, QString& value) const { return FindVariable(*this, kEntries, name, value); }

QStringList TDOCVAR::names() { return VariableNames(kEntries); }

void MakeDOCVAR(const TClientDataSet& docu, const TClientDataSet& uch, TDOCVAR& v) {
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

    v.Series = text(docu, "SERIES");
    v.Number = ZeroPad(valueOf(docu, "NUMBER").toInt(), 6);
    v.DateP = dateText(docu, "DATEP");
    v.DateV = dateText(docu, "DATEV");
    v.DateVyd = dateText(docu, "DATEVYD");
    v.VremVyd = text(docu, "VREMVYD");
    v.Zakazch_Name = text(docu, "ZAKAZCH_NAME");
    v.Zakazch_Adres = text(docu, "ZAKAZCH_ADRES");
    v.Zakazch_Phone = text(docu, "ZAKAZCH_PHONE");
    v.Priemschik_Fio = text(docu, "PRIEMSCHIK_FIO");
    v.Received = money(docu, "RECEIVED");
    v.Debt = money(docu, "DEBT");
    v.TOTAL = money(docu, "TOTAL");
    v.OTKL = QString::number(valueOf(docu, "OTKLPROC").toInt());
    v.TOTAL_WOTKL = money(docu, "TOTAL_WOTKL");
    v.Comment = text(docu, "COMMENT");
    const fb::Value garant = valueOf(docu, "GARANT");
    const qint64 g = garant.isNull() ? 0 : garant.toInt();
    v.g_1 = g == 1 ? QStringLiteral("*") : QString();
    v.g_2 = g == 2 ? QStringLiteral("*") : QString();
    v.g_3 = g == 3 ? QStringLiteral("*") : QString();
    v.GarantName = text(docu, "GARANT_NAME");
    // The exact amount with two decimals and no separators: the words need plain digits.
    const fb::Value received = valueOf(docu, "RECEIVED");
    v.SumPolProp = received.isNull() ? QString() : AmountInWords(received.toDecimal().toString(2));
}

void frReportDocGetValue(const QString& name, QVariant& value) {
    QString text;
    if (DOCVAR.find(name, text)) value = text;
}
