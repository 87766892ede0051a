#include "stock/core/PeriodRules.h"

#include "data/Field.h"
#include "data/FieldMoneyText.h"

QDate LastDayOfMonth(const QDate& date) {
    if (!date.isValid()) return {};
    return QDate(date.year(), date.month(), date.daysInMonth());
}

TPeriodDates MonthDates(const QDate& date) {
    if (!date.isValid()) return {};
    const QDate first(date.year(), date.month(), 1);
    return {first, LastDayOfMonth(first)};
}

TPeriodDates NextPeriodDates(const QDate& lastDate2) {
    if (!lastDate2.isValid()) return {};
    const QDate first = lastDate2.addDays(1);
    return {first, LastDayOfMonth(first)};
}

QDate PeriodCloseDate(const QDate& date2) {
    if (!date2.isValid()) return {};
    return LastDayOfMonth(date2.addDays(1));
}

QString PeriodStatusName(const QString& act) {
    const QString a = act.trimmed();
    if (a == kPeriodOpenAct) return QStringLiteral("--- ОТКРЫТ ---");
    if (a == kPeriodClosedAct) return QStringLiteral("<< ЗАКРЫТ >>");
    return QString();
}

QString PeriodSumText(const TField& field) {
    return FieldMoneyText(field, kPeriodSumUndefined);
}

QString PeriodDatesError(const QDate& date1, const QDate& date2) {
    if (!date1.isValid() || !date2.isValid()) return QStringLiteral("Укажите начало и окончание периода.");
    if (date1 > date2)
        return QStringLiteral("Начало периода (%1) позже его окончания (%2).\rУкажите начало не позже окончания.")
            .arg(date1.toString(QStringLiteral("dd.MM.yyyy")), date2.toString(QStringLiteral("dd.MM.yyyy")));
    return QString();
}

QString NoPeriodsText() {
    return QStringLiteral("Нет ни одного рабочего периода.\rСоздайте период командой \"Создать период\".");
}

QString PeriodCloseQuestion() {
    return QStringLiteral(
        "Закрытие периода приведет к запрету на редактирование документов и\r"
        "формированию остатков на начало нового периода.\r\rЗакрыть период?");
}

QString PeriodDeleteQuestion() {
    return QStringLiteral(
        "Удаление периода приведет к удалению всех документов за этот период.\r"
        "Эта операция необратима, надо выполнять ее с осторожностью.\r\rУдалить период?");
}

const std::vector<TEditorCommand>& PeriodManCommands() {
    static const std::vector<TEditorCommand> table = {
        {"acPeriodClose", "Закрыть период", nullptr, Qt::Key_F2, false},
        {"acPeriodOpen", "Открыть период", nullptr, Qt::Key_F3, false},
        {"acPeriodNew", "Создать период", nullptr, Qt::Key_Insert, false, true},
        {"acPeriodDelete", "Удалить период", nullptr, (Qt::CTRL | Qt::Key_Delete).toCombined(), false, true},
        {"acPeriodReload", "Обновить список", nullptr, Qt::Key_F5, false, true},
        {"acHelp", "Справка", nullptr, Qt::Key_F1, false, true},
    };
    return table;
}
