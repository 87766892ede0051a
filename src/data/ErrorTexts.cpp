#include "data/ErrorTexts.h"

#include <QList>
#include <optional>

namespace {

struct Row {
    QString key;
    ErrorExplanation text;
};

ErrorExplanation mustFill(const QString& field) {
    return {QStringLiteral("Поле \"%1\" не должно быть пустым.").arg(field),
            QStringLiteral("Рекомендация: Заполните поле \"%1\".").arg(field)};
}

QString fkPattern(const QString& constraint, const QString& table) {
    return QStringLiteral("Database Server Error: violation of FOREIGN KEY constraint \"%1\" on table \"%2\"")
        .arg(constraint, table);
}

QString pkPattern(const QString& constraint, const QString& table) {
    return QStringLiteral(
               "Database Server Error: violation of PRIMARY or UNIQUE KEY constraint \"%1\" on table \"%2\"")
        .arg(constraint, table);
}

ErrorExplanation unique(const QString& field, const QString& what) {
    return {QStringLiteral("Нарушение уникальности поля \"%1\". Запись с таким %2 уже имеется.").arg(field, what),
            QStringLiteral("Рекомендация: Измените поле \"%1\".").arg(field)};
}

const QList<Row>& raisedTable() {
    static const QList<Row> rows = {
        {QStringLiteral("Field 'NAME' must have a value"), mustFill(QStringLiteral("Наименование"))},
        {QStringLiteral("Field 'Наименование' must have a value"), mustFill(QStringLiteral("Наименование"))},
        {QStringLiteral("Field 'DEF_EDIZM_ID' must have a value"), mustFill(QStringLiteral("Единица измерения"))},
        {QStringLiteral("Field 'Код' must have a value"), mustFill(QStringLiteral("Код"))},
        {QStringLiteral("Field 'Таб.№' must have a value"), mustFill(QStringLiteral("Таб.№"))},
        {QStringLiteral("Field 'Фамилия' must have a value"), mustFill(QStringLiteral("Фамилия"))},
        {QStringLiteral("Field 'Имя' must have a value"), mustFill(QStringLiteral("Имя"))},
        {QStringLiteral("Field 'Отчество' must have a value"), mustFill(QStringLiteral("Отчество"))},
        {QStringLiteral("Field 'Должность' must have a value"), mustFill(QStringLiteral("Должность"))},
    };
    return rows;
}

const QList<Row>& applyTable() {
    static const QList<Row> rows = [] {
        const ErrorExplanation docRef{
            QStringLiteral("Ошибка ссылки. Имеется документы, в которых есть ссылка на эту запись."),
            QStringLiteral("Рекомендация: Для того чтобы удалить эту запись, необходимо сначала удалить все "
                           "документы, которые на нее ссылаются.")};
        const ErrorExplanation pkCode{
            QStringLiteral("Нарушение уникальности поля \"Код\". Запись с таким кодом уже имеется."),
            QStringLiteral("Рекомендация: Измените поле \"Код\".")};
        const ErrorExplanation unqName = unique(QStringLiteral("Наименование"), QStringLiteral("наименованием"));
        return QList<Row>{
            {fkPattern("FK_MOVES_2", "MOVES"), docRef},
            {fkPattern("FK_DOCS_2", "DOCS"), docRef},
            {fkPattern("FK_DOCS_4", "DOCS"), docRef},
            {fkPattern("FK_DOCS_5", "DOCS"), docRef},
            {fkPattern("FK_MOVES_3", "MOVES"), docRef},
            {fkPattern("FK_ELEMENT_1", "ELEMENT"),
             {QStringLiteral("Ошибка ссылки. Имеются записи в справочнике товаров, в которых есть ссылка на эту запись."),
              QStringLiteral("Рекомендация: Для того чтобы удалить эту запись, необходимо сначала удалить все ссылки "
                             "на нее в справочнике товаров.")}},
            {fkPattern("FK_ELEMENT_1", "ELEMENT") + QChar(10) + QStringLiteral("Foreign key reference target does not exist"),
             {QStringLiteral("Ошибка ссылки. Нет соответствующей записи в справочнике единиц измерения."),
              QStringLiteral("Рекомендация: Добавьте соответствующую запись в справочник единиц измерения вручную или "
                             "через импорт справочника единиц измерения.")}},
            {fkPattern("FK_SBORKA_2", "SBORKA"),
             {QStringLiteral("Ошибка ссылки. В справочнике товаров есть товары-сборки, для которых данный товар "
                             "является комплектующим."),
              QStringLiteral("Рекомендация: Для того чтобы удалить эту запись, необходимо сначала удалить ссылки на "
                             "нее во всех товарах-сборках.")}},
            {fkPattern("FK_SBORKA_1", "SBORKA"),
             {QStringLiteral("Ошибка ссылки. Этот товар является сборкой и на него есть ссылки в таблице сборок."),
              QStringLiteral("Рекомендация: Для того чтобы удалить эту запись удалите сначала все его комплектующие "
                             "на закладке сборка.")}},
            {pkPattern("PK_ELEMENT", "ELEMENT"), pkCode},
            {pkPattern("UNQ1_ELEMENT", "ELEMENT"), unqName},
            {pkPattern("PK_EDIZM", "EDIZM"), pkCode},
            {pkPattern("UNQ1_EDIZM", "EDIZM"), unqName},
            {pkPattern("PK_SKLAD", "SKLAD"), pkCode},
            {pkPattern("UNQ1_SKLAD", "SKLAD"), unqName},
            {pkPattern("PK_POSTAV", "POSTAV"), pkCode},
            {pkPattern("UNQ1_POSTAV", "POSTAV"), unqName},
            {pkPattern("UNQ1_POKUP", "POKUP"),
             {QStringLiteral("Нарушение уникальности поля \"Название организации\". Запись с таким значением поля уже "
                             "имеется."),
              QStringLiteral("Рекомендация: Измените поле \"Название организации\".")}},
            {pkPattern("UNQ1_SOTRUD", "SOTRUD"),
             {QStringLiteral("Нарушение уникальности поля \"Табельный номер\". Запись с таким табельным номером уже "
                             "имеется."),
              QStringLiteral("Рекомендация: Измените поле \"Табельный номер\".")}},
            {pkPattern("UNQ2_ELEMENT", "ELEMENT"), unique(QStringLiteral("Артикул"), QStringLiteral("артикулом"))},
            {pkPattern("UNQ1_USERTAB", "USERTAB"), unique(QStringLiteral("Имя"), QStringLiteral("именем"))},
            {pkPattern("UNQ3_ELEMENT", "ELEMENT"), unique(QStringLiteral("Штрих-код"), QStringLiteral("штрих-кодом"))},
            {pkPattern("PK_ANALOG", "ANALOG"),
             {QStringLiteral("Нарушение уникальности товаров в таблице аналогов. Запись с таким товаром в таблице "
                             "аналогов уже имеется."),
              QStringLiteral("Рекомендация: Удалите дублирующиеся записи, если они не удалились автоматически.")}},
            {pkPattern("PK_SBORKA", "SBORKA"),
             {QStringLiteral("Нарушение уникальности товаров в таблице компонентов сборки. Запись с таким товаром в "
                             "таблице уже имеется."),
              QStringLiteral("Рекомендация: Удалите дублирующиеся записи, если они не удалились автоматически.")}},
        };
    }();
    return rows;
}

// Refusals the database or the data layer raise by name, recognised wherever
// they stand in the message.
std::optional<ErrorExplanation> knownRefusal(const QString& message) {
    struct Known {
        const char* needle;
        ErrorExplanation text;
    };
    static const QList<Known> known = {
        {"E_PERIOD_CLOSED",
         {QStringLiteral("Рабочий период закрыт. Изменения в нем невозможны."),
          QStringLiteral("Рекомендация: Период закрыли на другом рабочем месте или раньше. Чтобы изменить документ, "
                         "откройте период заново (меню \"Рабочие периоды\") и сохраните документ ещё раз.")}},
        {"E_NUMBER_RANGE",
         {QStringLiteral("Номера документов исчерпаны: следующий номер вышел бы за допустимые пределы."),
          QStringLiteral("Рекомендация: Исправьте слишком большой номер, введённый вручную у одного из "
                         "документов, после чего нумерация продолжится.")}},
        {"lock time-out on wait transaction",
         {QStringLiteral("Данные изменяются на другой рабочей станции, и они пока заняты."),
          QStringLiteral("Рекомендация: Ничего не потеряно. Подождите несколько секунд и сохраните ещё раз.")}},
        {"update conflicts with concurrent update",
         {QStringLiteral("Эти же данные одновременно сохранялись на другой рабочей станции."),
          QStringLiteral("Рекомендация: Ваши изменения остались на экране. Сохраните ещё раз.")}},
        {"Record not found or changed by another user",
         {QStringLiteral("Запись изменена или удалена другим пользователем."),
          QStringLiteral("Рекомендация: Ваши изменения остались на экране. Закройте окно без сохранения, "
                         "перечитайте данные (F5) и внесите изменения заново.")}},
        {"UNQ1_USLTOV",
         {QStringLiteral("Этот товар уже есть в списке сопутствующих товаров услуги."),
          QStringLiteral("Рекомендация: Измените количество в уже имеющейся строке вместо добавления второй.")}},
        {"Error reading data from the connection",
         {QStringLiteral("Соединение с базой данных потеряно."),
          QStringLiteral("Рекомендация: Восстановите соединение (команда \"Соединиться с БД\") и повторите.")}},
        {"Error writing data to the connection",
         {QStringLiteral("Соединение с базой данных потеряно."),
          QStringLiteral("Рекомендация: Восстановите соединение (команда \"Соединиться с БД\") и повторите.")}},
        {"connection shutdown",
         {QStringLiteral("Соединение с базой данных потеряно."),
          QStringLiteral("Рекомендация: Восстановите соединение (команда \"Соединиться с БД\") и повторите.")}},
    };
    for (const Known& k : known)
        if (message.contains(QLatin1String(k.needle))) return k.text;
    return std::nullopt;
}

}  // namespace

ErrorExplanation genericExplanation() {
    return {QStringLiteral("Ошибка при работе с базой данных"),
            QStringLiteral("Для более подробной информации нажмите кнопку \"Дополнительно >>\".")};
}

ErrorExplanation explainRaisedError(const QString& message) {
    if (auto k = knownRefusal(message)) return *k;
    for (const Row& r : raisedTable())
        if (r.key == message) return r.text;
    return genericExplanation();
}

ErrorExplanation explainApplyError(const QString& message) {
    if (auto k = knownRefusal(message)) return *k;
    ErrorExplanation result = genericExplanation();
    for (const Row& r : applyTable())
        if (message.startsWith(r.key)) result = r.text;
    return result;
}

QString originalMessageText(const QString& message) {
    return QStringLiteral("Внутреннее сообщение об ошибке:\r\n") + QString(58, QChar('-')) +
           QStringLiteral("\r\n") + message;
}
