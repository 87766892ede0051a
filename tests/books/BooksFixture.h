#pragma once
// Every test works on its own copy of a template database (the empty working
// one, or the demo workshop), connected through the data module as the program is.
#include "TestDatabase.h"

#include "session/Global.h"
#include "ui/MessageBoxes.h"
#include "ui/ErrorDB.h"
#include "ui/ModalScript.h"
#include "ui/WindowRegistry.h"
#include "books/ui/BookSimple.h"
#include "books/ui/BookTT.h"
#include "ui/DBTreeView.h"
#include "books/ui/FrameFastFind.h"
#include "books/ui/RecordDialogs.h"
#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace bookstest {

class BooksTest : public ::testing::Test {
protected:
    virtual testdb::Template databaseKind() const { return testdb::Template::Empty; }
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        path = testdb::freshCopy(m_dir, databaseKind());
        ResetGlobalState();
        GL.HelpFile = m_dir.filePath(QStringLiteral("missing.chm"));
        DM().connectDatabase(path);
        DM().openLookups();
    }
    void TearDown() override {
        for (QObject* o : openBooks())
            if (auto* d = qobject_cast<QDialog*>(o); d && d->isVisible()) d->reject();
        DM().disconnectDatabase();
    }
    static QList<QObject*> openBooks() {
        QList<QObject*> l;
        for (const QString& n : WindowRegistry::instance().createdNames())
            if (n.startsWith(QStringLiteral("frmBook"))) l << WindowRegistry::instance().object(n);
        return l;
    }

    void exec(const QString& sql, const std::vector<fb::Value>& params = {}) { DM().execSQL(sql, params); }
    fb::Value scalar(const QString& sql, const std::vector<fb::Value>& params = {}) {
        fb::Transaction tra(DM().connection());
        fb::Value v = fb::scalar(tra, sql, params);
        tra.commit();
        return v;
    }
    qint64 count(const QString& sqlFromWhere, const std::vector<fb::Value>& params = {}) {
        return scalar(QStringLiteral("SELECT COUNT(*) FROM ") + sqlFromWhere, params).toInt();
    }

    template <class T = TfrmBookSimple>
    static T* book(const QString& name) {
        T* b = Window<T>(name);
        EXPECT_NE(b, nullptr) << name.toStdString();
        return b;
    }
    // Shows a book the way a modal showing starts (its FormShow runs).
    template <class T>
    static T* open(const QString& name) {
        T* b = book<T>(name);
        b->show();
        return b;
    }
    static QAction* action(QWidget* w, const char* name) {
        auto* a = w->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    template <class W = QWidget>
    static W* child(QWidget* w, const char* name) {
        auto* c = w->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    // What a user typing into the box does.
    static void type(QLineEdit* edit, const QString& text) {
        edit->setText(text);
        emit edit->textEdited(text);
    }
    static void click(QWidget* w, const char* button) { child<QPushButton>(w, button)->click(); }
    static QString status(QWidget* w) { return child<QLabel>(w, "StatusBar")->text(); }
    static QList<int> ids(TClientDataSet& ds) {
        QList<int> l;
        const int f = ds.fieldByName(QStringLiteral("ID")).index();
        for (int r = 0; r < ds.recordCount(); ++r) l << int(ds.valueAt(r, f).toInt());
        return l;
    }
    static int currentId(TClientDataSet& ds) { return ds.fieldByName(QStringLiteral("ID")).asInteger(); }

    QString path;

private:
    QTemporaryDir m_dir;
};

class DemoBooksTest : public BooksTest {
protected:
    testdb::Template databaseKind() const override { return testdb::Template::Demo; }
};

}  // namespace bookstest
