#include "orders/core/DocuDates.h"

#include "data/ClientDataSet.h"

namespace {
QString shown(const QDate& d) { return d.toString(QStringLiteral("dd.MM.yyyy")); }
}  // namespace

QString AcceptanceDateRefusal(const QDate& dateP, const QDate& periodFirst, const QDate& periodLast) {
    if (!dateP.isValid()) return QStringLiteral("Не заполнена дата приема.\rЗаполните указанное поле.");
    if (!periodFirst.isValid() || !periodLast.isValid()) return {};
    if (dateP >= periodFirst && dateP <= periodLast) return {};
    return QStringLiteral("Дата приема ") + shown(dateP) + QStringLiteral(" вне рабочего периода документа (") +
           shown(periodFirst) + QStringLiteral(" - ") + shown(periodLast) +
           QStringLiteral(").\rУкажите дату приема внутри периода.");
}

bool CompletionBeforeAcceptance(const QDate& dateP, const QDate& dateV) {
    return dateP.isValid() && dateV.isValid() && dateV < dateP;
}

QString CompletionBeforeAcceptanceQuestion(const QDate& dateP, const QDate& dateV) {
    return QStringLiteral("Дата выполнения ") + shown(dateV) + QStringLiteral(" раньше даты приема ") + shown(dateP) +
           QStringLiteral(".\rСохранить документ с такими датами?");
}

TDocuDatesCheck CheckDocuDates(const TClientDataSet& docu, bool editAllowed, int periodId, const QDate& periodFirst,
                               const QDate& periodLast) {
    TDocuDatesCheck check;
    if (!editAllowed) return check;
    const TField& orderPeriod = docu.fieldByName(QStringLiteral("RPERIOD_ID"));
    const QDate dateP = docu.fieldByName(QStringLiteral("DATEP")).asDate();
    const QDate dateV = docu.fieldByName(QStringLiteral("DATEV")).asDate();
    if (orderPeriod.isNull() || orderPeriod.asInteger() == periodId) {
        check.refusal = AcceptanceDateRefusal(dateP, periodFirst, periodLast);
        if (!check.refusal.isEmpty()) return check;
    }
    if (CompletionBeforeAcceptance(dateP, dateV)) check.question = CompletionBeforeAcceptanceQuestion(dateP, dateV);
    return check;
}
