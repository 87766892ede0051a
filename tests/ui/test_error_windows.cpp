// The error windows: which explanation a message gets, and how the window opens.
#include "ui/ErrorDB.h"
#include "data/ErrorTexts.h"

#include <QPushButton>
#include <gtest/gtest.h>

namespace {
const QString kDocRef = QStringLiteral("Ошибка ссылки. Имеется документы, в которых есть ссылка на эту запись.");
const QString kGeneric = QStringLiteral("Ошибка при работе с базой данных");

QString fk(const char* c, const char* t) {
    return QStringLiteral("Database Server Error: violation of FOREIGN KEY constraint \"%1\" on table \"%2\"")
        .arg(QString::fromUtf8(c), QString::fromUtf8(t));
}
}  // namespace

TEST(ErrorTexts, RaisedErrorsMatchWholeMessages) {
    struct Case { QString message; QString explanation; };
    const Case cases[] = {
        {"Field 'Наименование' must have a value", "Поле \"Наименование\" не должно быть пустым."},
        {"Field 'NAME' must have a value", "Поле \"Наименование\" не должно быть пустым."},
        {"Field 'Таб.№' must have a value", "Поле \"Таб.№\" не должно быть пустым."},
        // Any other label, or a longer text, falls to the generic pair.
        {"Field 'Д/приема' must have a value", kGeneric},
        {"Field 'NAME' must have a value.", kGeneric},
        {fk("FK_MOVES_2", "MOVES"), kGeneric},
    };
    for (const auto& c : cases) EXPECT_EQ(explainRaisedError(c.message).explanation, c.explanation) << c.message.toStdString();
    EXPECT_EQ(explainRaisedError("Field 'Код' must have a value").recommendation,
              QStringLiteral("Рекомендация: Заполните поле \"Код\"."));
}

TEST(ErrorTexts, ApplyErrorsMatchByBeginningAndTheLastMatchDecides) {
    struct Case { QString message; QString explanation; };
    const QString plainElement = fk("FK_ELEMENT_1", "ELEMENT");
    const Case cases[] = {
        {fk("FK_MOVES_2", "MOVES") + "\n-Foreign key references are present for the record", kDocRef},
        {fk("FK_DOCS_5", "DOCS"), kDocRef},
        {plainElement + "\n-Foreign key references are present for the record",
         "Ошибка ссылки. Имеются записи в справочнике товаров, в которых есть ссылка на эту запись."},
        // The suffixed row also begins with the plain pattern and is tested later, so it wins.
        {plainElement + QChar(10) + "Foreign key reference target does not exist",
         "Ошибка ссылки. Нет соответствующей записи в справочнике единиц измерения."},
        {"Database Server Error: violation of PRIMARY or UNIQUE KEY constraint \"UNQ3_ELEMENT\" on table \"ELEMENT\"",
         "Нарушение уникальности поля \"Штрих-код\". Запись с таким штрих-кодом уже имеется."},
        {fk("FK_MOVES_9", "MOVES"), kGeneric},
        // refusals known by name, wherever they stand in the message
        {"Record not found or changed by another user", "Запись изменена или удалена другим пользователем."},
        {"Database Server Error: exception 2\n-E_PERIOD_CLOSED\n-E_PERIOD_CLOSED: the work period 2 is closed",
         "Рабочий период закрыт. Изменения в нем невозможны."},
        {"Database Server Error: lock time-out on wait transaction\n-deadlock",
         "Данные изменяются на другой рабочей станции, и они пока заняты."},
        {"Database Server Error: violation of PRIMARY or UNIQUE KEY constraint \"UNQ1_USLTOV\" on table \"USLTOV\"",
         "Этот товар уже есть в списке сопутствующих товаров услуги."},
    };
    for (const auto& c : cases) EXPECT_EQ(explainApplyError(c.message).explanation, c.explanation) << c.message.toStdString();
}

TEST(ErrorWindow, OpensCollapsedWithTheOriginalTextBelow) {
    TfrmErrorDB w;
    w.Message1("Field 'Наименование' must have a value");
    EXPECT_FALSE(w.isExpanded());
    EXPECT_EQ(w.explanationText(), QStringLiteral("Поле \"Наименование\" не должно быть пустым.\n"
                                                  "Рекомендация: Заполните поле \"Наименование\"."));
    EXPECT_EQ(w.originalText(), QStringLiteral("Внутреннее сообщение об ошибке:\n") + QString(58, '-') +
                                    "\nField 'Наименование' must have a value");
    auto* more = w.findChild<QPushButton*>("btnMore");
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(more->text(), QStringLiteral("Дополнительно >>"));
    more->click();
    EXPECT_TRUE(w.isExpanded());
    EXPECT_EQ(more->text(), QStringLiteral("Убрать <<"));
    // The next error opens collapsed again, even after the user expanded the window.
    w.Message2(fk("FK_MOVES_2", "MOVES"));
    EXPECT_FALSE(w.isExpanded());
    EXPECT_EQ(more->text(), QStringLiteral("Дополнительно >>"));
    EXPECT_TRUE(w.explanationText().startsWith(kDocRef));
}
