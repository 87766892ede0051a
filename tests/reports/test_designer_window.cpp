// The designer window on a copy of a shipped receipt, found by objectName:
// a click selects, the arrow key moves, the property table edits, "Сохранить"
// writes the file; closing with changes asks, and "Нет" leaves the file alone.
#include "ReportFixture.h"

#include "app/MessageBoxes.h"
#include "app/ModalScript.h"
#include "reports/Designer.h"
#include "reports/DesignerProperties.h"
#include "reports/DesignerScene.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QGraphicsView>
#include <QTest>

using namespace reporttest;

namespace {

const TfrObjRef kBarcode{0, 0, 4};  // the receipt's bar code: x 130, width 55
const QString kQuestion = QStringLiteral("Сохранить изменения в печатной форме?");

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class DesignerWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path;
    QByteArray original;
    void SetUp() override {
        path = dir.filePath(QStringLiteral("Rep_Kvit_obuv.frf"));
        ASSERT_TRUE(QFile::copy(formPath(QStringLiteral("Rep_Kvit_obuv")), path));
        original = readAll(path);
    }
    static QAction* action(QDialog* d, const char* name) {
        auto* a = d->findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
};

TEST_F(DesignerWindowTest, ClickArrowPropertyAndSave) {
    ModalScript script;
    bool ran = false;
    script.onDialog(QStringLiteral("frmDesigner"), [&](QDialog* d) {
        ran = true;
        auto* w = static_cast<TfrmDesigner*>(d);
        auto* view = d->findChild<QGraphicsView*>(QStringLiteral("gvDesign"));
        ASSERT_NE(view, nullptr);
        TfrObjectItem* item = w->scene()->itemOf(kBarcode);
        ASSERT_NE(item, nullptr);
        view->ensureVisible(item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(item->sceneBoundingRect().center()));
        ASSERT_EQ(w->document()->selection(), TfrObjRefs{kBarcode});

        QTest::keyClick(view, Qt::Key_Right);  // one step of the 0.5 mm grid
        EXPECT_DOUBLE_EQ(frObjectAt(w->document()->templ(), kBarcode).x, 130.5);
        EXPECT_TRUE(d->windowTitle().endsWith(QStringLiteral(" *")));

        QCoreApplication::processEvents();  // the property table follows the selection
        auto* width = qobject_cast<QDoubleSpinBox*>(w->tblProperties->editorFor(QStringLiteral("Ширина, мм")));
        ASSERT_NE(width, nullptr);
        EXPECT_DOUBLE_EQ(width->value(), 55);
        width->setValue(50);
        emit width->editingFinished();
        EXPECT_DOUBLE_EQ(frObjectAt(w->document()->templ(), kBarcode).width, 50);

        action(d, "acDesignSave")->trigger();
        EXPECT_FALSE(d->windowTitle().endsWith(QStringLiteral(" *")));
        const TfrTemplate saved = frReadTemplateFile(path);
        EXPECT_DOUBLE_EQ(frObjectAt(saved, kBarcode).x, 130.5);
        EXPECT_DOUBLE_EQ(frObjectAt(saved, kBarcode).width, 50);
        action(d, "acDesignClose")->trigger();  // saved: nothing to ask
    });
    EXPECT_TRUE(DesignReport(nullptr, path));
    EXPECT_TRUE(ran);
    EXPECT_NE(readAll(path), original);
    EXPECT_TRUE(script.messages().isEmpty()) << script.messageTexts().join(';').toStdString();
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}

TEST_F(DesignerWindowTest, CloseWithChangesAsksAndNoKeepsTheFile) {
    ModalScript script;
    script.answer(idCancel).answerNo();
    script.onDialog(QStringLiteral("frmDesigner"), [&](QDialog* d) {
        auto* w = static_cast<TfrmDesigner*>(d);
        auto* view = d->findChild<QGraphicsView*>(QStringLiteral("gvDesign"));
        w->document()->setSelection({kBarcode});
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);  // taller by a step
        EXPECT_DOUBLE_EQ(frObjectAt(w->document()->templ(), kBarcode).height, 13.5);
        action(d, "acDesignClose")->trigger();  // "Отмена": the designer stays
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(d->result(), 0);
        action(d, "acDesignClose")->trigger();  // "Нет": closes without saving
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_FALSE(DesignReport(nullptr, path));
    EXPECT_EQ(readAll(path), original);
    EXPECT_EQ(script.messageTexts(), (QStringList{kQuestion, kQuestion}));
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}

TEST_F(DesignerWindowTest, ABrokenFileIsReportedAndNothingOpens) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<Report><Page width=\"oops\"/></Report>");
    f.close();
    ModalScript script;
    script.answerOk();
    EXPECT_FALSE(DesignReport(nullptr, path));
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_TRUE(script.messages().front().text.contains(QStringLiteral("не может быть загружена")));
    EXPECT_TRUE(script.dialogsShown().isEmpty());
}

}  // namespace
