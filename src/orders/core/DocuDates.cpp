#include "orders/core/DocuDates.h"

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
