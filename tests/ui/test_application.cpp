// Exceptions escaping event handlers, slots and timers end in the one
// application-wide handler.
#include "ui/Application.h"
#include "ui/MessageBoxes.h"
#include "ui/ModalScript.h"
#include "fb/DbError.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

const QEvent::Type kThrowEvent = QEvent::Type(QEvent::User + 17);

// A widget whose event handler fails the way a command can.
class Failing : public QWidget {
public:
    std::function<void()> fail;
    int handled = 0;
protected:
    void customEvent(QEvent* e) override {
        if (e->type() == kThrowEvent) {
            ++handled;
            fail();
        }
    }
};

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(qobject_cast<TApplication*>(qApp), nullptr);
        TApplication::setExceptionHandler([this](std::exception_ptr e) {
            texts << TApplication::exceptionText(e);
            try { std::rethrow_exception(e); }
            catch (const fb::DbError& db) { kinds << "db:" + db.constraintName(); }
            catch (const std::exception&) { kinds << "std"; }
            catch (...) { kinds << "other"; }
        });
    }
    void TearDown() override { TApplication::setExceptionHandler({}); }
    QStringList texts, kinds;
};

TEST_F(ApplicationTest, EventHandlerExceptionReachesTheHandler) {
    Failing w;
    w.fail = [] { throw std::runtime_error("Ошибка преобразования"); };
    QCoreApplication::postEvent(&w, new QEvent(kThrowEvent));
    QCoreApplication::processEvents();
    EXPECT_EQ(w.handled, 1);
    EXPECT_EQ(texts, QStringList{"Ошибка преобразования"});
    EXPECT_EQ(kinds, QStringList{"std"});

    // The program goes on: the next event is handled normally.
    w.fail = [] {};
    QCoreApplication::postEvent(&w, new QEvent(kThrowEvent));
    QCoreApplication::processEvents();
    EXPECT_EQ(w.handled, 2);
    EXPECT_EQ(texts.size(), 1);
}

TEST_F(ApplicationTest, DatabaseErrorKeepsItsType) {
    Failing w;
    w.fail = [] {
        throw fb::DbError("violation of FOREIGN KEY constraint \"FK_MOVES_2\" on table \"MOVES\"");
    };
    QEvent ev(kThrowEvent);
    QCoreApplication::sendEvent(&w, &ev);
    EXPECT_EQ(kinds, QStringList{"db:FK_MOVES_2"});
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].startsWith("Database Server Error: violation of FOREIGN KEY"));
}

TEST_F(ApplicationTest, TimerSlotException) {
    QTimer::singleShot(0, [] { throw std::invalid_argument("bad"); });
    QCoreApplication::processEvents();
    EXPECT_EQ(texts, QStringList{"bad"});
}

TEST_F(ApplicationTest, ButtonCommandException) {
    QPushButton button("Удалить");
    button.show();
    QObject::connect(&button, &QPushButton::clicked, [] { throw std::logic_error("cmd"); });
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(texts, QStringList{"cmd"});
}

TEST_F(ApplicationTest, AnythingElseToo) {
    Failing w;
    w.fail = [] { throw 42; };
    QEvent ev(kThrowEvent);
    QCoreApplication::sendEvent(&w, &ev);
    EXPECT_EQ(kinds, QStringList{"other"});
    EXPECT_EQ(texts, QStringList{"Неизвестная ошибка"});
}

TEST_F(ApplicationTest, CaughtElsewhereGoesToTheSameHandler) {
    try {
        throw std::runtime_error("file");
    } catch (...) {
        TApplication::handleException(std::current_exception());
    }
    TApplication::handleException(nullptr);  // nothing to report
    EXPECT_EQ(texts, QStringList{"file"});
}

TEST(ApplicationDefault, StopMessageBoxWithTheText) {
    TApplication::setExceptionHandler({});
    ModalScript script;
    script.answerOk();
    Failing w;
    w.fail = [] { throw std::runtime_error("Файл не найден"); };
    QEvent ev(kThrowEvent);
    QCoreApplication::sendEvent(&w, &ev);
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_EQ(script.messages()[0].text, "Файл не найден");
    EXPECT_EQ(script.messages()[0].flags, mbStopOk);
    EXPECT_EQ(script.messages()[0].caption, "Обрикс ");
}

TEST(ApplicationDefault, FailingHandlerFallsBackToTheMessageBox) {
    TApplication::setExceptionHandler([](std::exception_ptr) {
        throw std::runtime_error("window broken");
    });
    ModalScript script;
    script.answerOk();
    TApplication::handleException(std::make_exception_ptr(std::runtime_error("first")));
    TApplication::setExceptionHandler({});
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_EQ(script.messages()[0].text, "window broken");
}

}  // namespace
