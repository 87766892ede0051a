// Qt's own texts come in Russian: the standard buttons of every question read
// "Да" and "Нет"; a question whose Yes deletes has "Нет" as its default.
#include "ui/MessageBoxes.h"
#include "ui/ModalSeam.h"
#include "ui/Startup.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QStringList buttonTexts(QMessageBox& box) {
    QStringList out;
    for (QAbstractButton* b : box.buttons()) out << b->text().remove(QLatin1Char('&'));
    out.sort();
    return out;
}

}  // namespace

TEST(MessageBoxLanguage, QuestionsSayDaAndNet) {
    ASSERT_TRUE(QFile::exists(QtTranslationsFile()))
        << "Qt's Russian translations are missing: " << QtTranslationsFile().toStdString()
        << " (package qt6-translations-l10n, installed by tools/setup.sh)";
    // Loaded by the program itself when the application object was made.
    {
        auto box = ModalSeam::makeMessageBox(MessageRequest{ProductTitle(), QStringLiteral("?"), mbQuestionYesNo});
        EXPECT_EQ(buttonTexts(*box), (QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}));
    }
    ASSERT_TRUE(LoadQtTranslations());
    struct Case { int flags; QStringList texts; QMessageBox::StandardButton byDefault; };
    const Case cases[] = {
        {mbQuestionYesNo, {QStringLiteral("Да"), QStringLiteral("Нет")}, QMessageBox::Yes},
        {mbQuestionYesNo | mbDefaultNo, {QStringLiteral("Да"), QStringLiteral("Нет")}, QMessageBox::No},
        {mbWarningYesNo | mbDefaultNo, {QStringLiteral("Да"), QStringLiteral("Нет")}, QMessageBox::No},
        {mbWarningOk, {QStringLiteral("OK")}, QMessageBox::Ok},
        {1, {QStringLiteral("OK"), QStringLiteral("Отмена")}, QMessageBox::Ok},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        auto box = ModalSeam::makeMessageBox(MessageRequest{ProductTitle(), QStringLiteral("Удалить?"), c.flags});
        QStringList expected = c.texts;
        expected.sort();
        EXPECT_EQ(buttonTexts(*box), expected);
        ASSERT_NE(box->defaultButton(), nullptr);
        EXPECT_EQ(box->standardButton(box->defaultButton()), c.byDefault);
    }
}
