// The About window and the registration of the shell's dialogs.
#include "ShellFixture.h"
#include "shell/About.h"
#include "shell/ChooseOperator.h"
#include "shell/ConnectDB.h"
#include "ui/ErrorDB.h"
#include "shell/Options.h"
#include "shell/OptionsUchet.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace shelltest;

namespace {
class About : public ShellTest {
protected:
    QString shownText() {
        QString text;
        ModalScript script;
        script.onDialog("frmAbout", [&](QDialog* d) {
            text = child<QPlainTextEdit>(d, "memoDBInfo")->toPlainText();
            child<QPushButton>(d, "OKButton")->click();
        });
        EXPECT_EQ(execModal(Window<QDialog>("frmAbout")), QDialog::Accepted);
        return text;
    }
};
}  // namespace

TEST_F(About, TitlesAndVersion) {
    auto* w = Window<TfrmAbout>("frmAbout");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("О программе"));
    EXPECT_EQ(child<QLabel>(w, "ProductName2")->text(), QStringLiteral("Обрикс"));
    EXPECT_EQ(child<QLabel>(w, "lbVersion")->text(), QStringLiteral("Версия: 1.1.6"));
    EXPECT_EQ(child<QPushButton>(w, "OKButton")->text(), QStringLiteral("&Ok"));
}

TEST_F(About, DatabaseLineByConnection) {
    GL.Connected = false;
    EXPECT_EQ(shownText(), QStringLiteral("<Подключение к базе данных отсутствует>"));

    ModalScript script;
    ASSERT_TRUE(ConnectToDatabase());
    EXPECT_EQ(shownText(), QStringLiteral("База данных: ") + dbPath);
    // Shown again: the box is cleared first, one line only.
    EXPECT_EQ(shownText(), QStringLiteral("База данных: ") + dbPath);
    DM().disconnectDatabase();

    // A network database, in the form the connection string takes.
    GL.Connected = true;
    AppOptions.ConnectKind = 2;
    AppOptions.Server = QStringLiteral("srv");
    AppOptions.ServerDBName = QStringLiteral("D:\\Base\\base.fdb");
    EXPECT_EQ(shownText(), QStringLiteral("База данных: srv/3052:D:\\Base\\base.fdb"));

    GL.Connected = false;
    EXPECT_EQ(shownText(), QStringLiteral("<Подключение к базе данных отсутствует>"));
}

TEST(ShellWindows, RegisteredUnderTheirNames) {
    EXPECT_NE(Window<TfrmOptions>("frmOptions"), nullptr);
    EXPECT_NE(Window<TfrmConnectDB>("frmConnectDB"), nullptr);
    EXPECT_NE(Window<TfrmChooseOperator>("frmChooseOperator"), nullptr);
    EXPECT_NE(Window<TfrmOptionsUchet>("frmOptionsUchet"), nullptr);
    EXPECT_NE(Window<TfrmAbout>("frmAbout"), nullptr);
    EXPECT_NE(Window<TfrmErrorDB>("frmErrorDB"), nullptr);
    EXPECT_NE(Window<TfrmErrorMes>("frmErrorMes"), nullptr);
    for (const char* n : {"frmOptions", "frmConnectDB", "frmChooseOperator", "frmOptionsUchet", "frmAbout",
                          "frmErrorDB", "frmErrorMes"})
        EXPECT_EQ(WindowRegistry::instance().object(QString::fromLatin1(n))->objectName(), QString::fromLatin1(n));
}

TEST_F(About, IconNameVersionTheDatabaseOnceAndTheFreeLibraries) {
    ModalScript script;
    ASSERT_TRUE(ConnectToDatabase());
    QString all;
    bool hasIcon = false;
    script.onDialog("frmAbout", [&](QDialog* d) {
        hasIcon = !child<QLabel>(d, "Image1")->pixmap().isNull();
        for (QLabel* l : d->findChildren<QLabel*>()) all += l->text() + QLatin1Char('\n');
        for (QPlainTextEdit* e : d->findChildren<QPlainTextEdit*>()) all += e->toPlainText() + QLatin1Char('\n');
        child<QPushButton>(d, "OKButton")->click();
    });
    execModal(Window<QDialog>("frmAbout"));
    DM().disconnectDatabase();
    EXPECT_TRUE(hasIcon);
    EXPECT_EQ(all.count(QStringLiteral("База данных:")), 1) << all.toStdString();
    EXPECT_EQ(all.count(dbPath), 1);
    for (const char* lib : {"Qt ", "Firebird", "Zint", "CHMLib", "LGPL"})
        EXPECT_TRUE(all.contains(QString::fromLatin1(lib))) << lib;
}
