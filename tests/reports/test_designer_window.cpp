// The designer window on a copy of a shipped receipt, found by objectName:
// a click selects, the arrow key moves, the property table edits, "Сохранить"
// writes the file; closing with changes asks, and "Нет" leaves the file alone.
// The designer's scene draws every kind of object as it prints.
#include "ReportFixture.h"

#include "ui/MessageBoxes.h"
#include "ui/ModalScript.h"
#include <QComboBox>
#include "reports/ui/Designer.h"
#include "reports/ui/DesignerProperties.h"
#include "reports/ui/DesignerScene.h"
#include "reports/ui/Preview.h"

#include <QAction>
#include <QBuffer>
#include <QDoubleSpinBox>
#include <QGraphicsView>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QTest>
#include <QTreeWidget>
#include <cmath>
#include <functional>

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
        // typed and saved at once: the value still in the editor goes into the file
        width->setFocus();
        width->selectAll();
        QTest::keyClicks(width, QStringLiteral("50"));
        action(d, "acDesignSave")->trigger();
        EXPECT_DOUBLE_EQ(frObjectAt(w->document()->templ(), kBarcode).width, 50);
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

// Gestures at 50 %: a drag moves by whole grid steps, a handle resizes, a band's
// bottom edge sets its height, a drag into another band carries the object
// there; each is one step of the history.
TEST_F(DesignerWindowTest, MouseDragsMoveResizeAndCarryToAnotherBand) {
    ModalScript script;
    script.onDialog(QStringLiteral("frmDesigner"), [&](QDialog* d) {
        auto* w = static_cast<TfrmDesigner*>(d);
        auto* view = d->findChild<QGraphicsView*>(QStringLiteral("gvDesign"));
        w->cbZoom->setCurrentIndex(0);
        TfrDesignScene* scene = w->scene();
        const TfrTemplate& t = w->document()->templ();
        auto px = [&](int band, double xMm, double yMm) { return view->mapFromScene(scene->scenePoint(band, {xMm, yMm})); };
        auto drag = [&](QPoint from, QPoint to) {
            QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
            QTest::mouseMove(view->viewport(), (from + to) / 2);
            QTest::mouseMove(view->viewport(), to);
            QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
        };
        // the bar code (x 130, y 0, 55 x 13) moved 5.1 mm right: 5 mm on the 0.5 mm grid
        drag(px(0, 150, 6), px(0, 155.1, 6));
        EXPECT_DOUBLE_EQ(frObjectAt(t, kBarcode).x, 135);
        EXPECT_DOUBLE_EQ(frObjectAt(t, kBarcode).y, 0);
        EXPECT_EQ(w->document()->selection(), TfrObjRefs{kBarcode});
        // its bottom right handle pulled 10.1 mm right
        drag(px(0, 190, 13), px(0, 200.1, 13));
        EXPECT_DOUBLE_EQ(frObjectAt(t, kBarcode).width, 65);
        EXPECT_DOUBLE_EQ(frObjectAt(t, kBarcode).height, 13);
        // the bottom edge of the header of the product lines (height 11), under its
        // framed cells, pulled 4.1 mm down
        drag(px(1, 100, 11), px(1, 100, 15.1));
        EXPECT_DOUBLE_EQ(t.pages[0].bands[1].height, 15);
        EXPECT_EQ(t.pages[0].bands[1].objects[1].y, 5) << "the cells stay where they were";
        // the organisation's name (band 0: 0, 0, 125 x 6) dragged onto the product lines' band
        const size_t onTitle = t.pages[0].bands[0].objects.size();
        const size_t onLines = t.pages[0].bands[2].objects.size();
        const QPoint grab = px(0, 60, 3);
        const QPoint drop = grab + (px(2, 60, 0) - px(0, 60, 0));
        drag(grab, drop);
        ASSERT_EQ(t.pages[0].bands[0].objects.size(), onTitle - 1);
        ASSERT_EQ(t.pages[0].bands[2].objects.size(), onLines + 1);
        const TfrObject& carried = t.pages[0].bands[2].objects.back();
        EXPECT_EQ(carried.text, QStringLiteral("[NameOrg]"));
        EXPECT_NEAR(carried.y, 0, 0.51);
        EXPECT_EQ(w->document()->undoStack()->count(), 4);
        action(d, "acUndo")->trigger();
        EXPECT_EQ(t.pages[0].bands[0].objects.size(), onTitle);
        w->document()->undoStack()->setClean();  // nothing to ask at closing
        action(d, "acDesignClose")->trigger();
    });
    EXPECT_FALSE(DesignReport(nullptr, path));
    EXPECT_EQ(readAll(path), original);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
}

// Ctrl+click adds to the selection and the alignment commands act on it; a
// field of the list goes onto the current band; the page turns to landscape in
// the property table; the preview shows the form with sample data.
TEST_F(DesignerWindowTest, SelectManyAlignInsertAndPreview) {
    ModalScript script;
    QStringList previewTexts;
    script.onDialog(QStringLiteral("frmDesigner"), [&](QDialog* d) {
        auto* w = static_cast<TfrmDesigner*>(d);
        auto* view = d->findChild<QGraphicsView*>(QStringLiteral("gvDesign"));
        w->cbZoom->setCurrentIndex(0);
        TfrDesignDocument* doc = w->document();
        const TfrTemplate& t = doc->templ();
        auto center = [&](const TfrObjRef& r) {
            return view->mapFromScene(w->scene()->itemOf(r)->sceneBoundingRect().center());
        };
        const TfrObjRef date{0, 0, 9};  // "Дата приема" at y 37
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, center(kBarcode));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, center(date));
        ASSERT_EQ(doc->selection(), (TfrObjRefs{kBarcode, date}));
        ASSERT_TRUE(action(d, "acAlignTop")->isEnabled());
        action(d, "acAlignTop")->trigger();
        EXPECT_DOUBLE_EQ(frObjectAt(t, date).y, 0);

        // the product name field onto the product lines' band
        doc->setSelection({});
        doc->setCurrentBand(2);
        auto* list = d->findChild<QTreeWidget*>(QStringLiteral("tvFields"));
        QTreeWidgetItem* field = nullptr;
        for (QTreeWidgetItem* it : list->findItems(QStringLiteral("PRODUCT_NAME"), Qt::MatchExactly | Qt::MatchRecursive))
            if (it->parent()->text(0).startsWith(QStringLiteral("frdsReportP"))) field = it;
        ASSERT_NE(field, nullptr);
        list->setCurrentItem(field);
        action(d, "acInsertField")->trigger();
        EXPECT_EQ(t.pages[0].bands[2].objects.back().text, QStringLiteral("[frdsReportP.\"PRODUCT_NAME\"]"));

        doc->setSelection({});
        QCoreApplication::processEvents();
        auto* orientation = qobject_cast<QComboBox*>(w->tblProperties->editorFor(QStringLiteral("Ориентация")));
        ASSERT_NE(orientation, nullptr);
        orientation->setCurrentIndex(1);
        emit orientation->activated(1);
        EXPECT_EQ(QSizeF(t.pages[0].width, t.pages[0].height), QSizeF(297, 210));

        action(d, "acPreview")->trigger();
        w->document()->undoStack()->setClean();
        action(d, "acDesignClose")->trigger();
    });
    script.onDialog(QStringLiteral("frmPreview"), [&](QDialog* d) {
        auto* pv = static_cast<TfrmPreview*>(d);
        ASSERT_GE(pv->pageCount(), 1);
        EXPECT_DOUBLE_EQ(pv->report().pages[0].width, 297);
        for (const TfrPrim& p : pv->report().pages[0].prims) previewTexts << p.lines.join(QLatin1Char(' '));
        d->reject();
    });
    DesignReport(nullptr, path);
    EXPECT_EQ(script.dialogsShown(), (QStringList{QStringLiteral("frmDesigner"), QStringLiteral("frmPreview")}));
    EXPECT_TRUE(previewTexts.contains(QStringLiteral("NameOrg")));
    EXPECT_TRUE(previewTexts.contains(QStringLiteral("PRODUCT_NAME")));
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

// The pixels drawn by `draw` over `area` (mm on the paper) at `pxPerMm`, the painter's origin at the paper's corner.
QImage pixels(const QRectF& area, double pxPerMm, const std::function<void(QPainter&)>& draw) {
    QImage img(int(std::ceil(area.width() * pxPerMm)), int(std::ceil(area.height() * pxPerMm)), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.translate(-area.topLeft() * pxPerMm);
    draw(p);
    return img;
}

QImage pixels(const QRectF& area, double pxPerMm, const TfrPrim& prim) {
    return pixels(area, pxPerMm, [&](QPainter& p) { frRenderPage(p, TfrPreparedPage{210, 297, {prim}}, pxPerMm); });
}

// Each kind of object on a band below another: the designer makes of it the
// primitive the print makes (the same pixels at 600 dpi), and its drawing at
// 100 % inks the paper wherever the print does, its own faint outline aside.
TEST(DesignerSceneTest, EachKindOfObjectIsDrawnAsItPrints) {
    QImage picture(12, 8, QImage::Format_RGB32);
    picture.fill(QColor(40, 120, 200));
    for (int x = 0; x < 12; ++x) picture.setPixelColor(x, x % 8, Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    const struct {
        const char* kind;
        QString xml;
    } objects[] = {
        {"framed memo", QStringLiteral("<Memo name=\"o\" x=\"20\" y=\"3\" width=\"38\" height=\"16\" frame=\"ltrb\" "
                                       "frameWidth=\"0.4\" fill=\"#ffeecc\" align=\"right\" valign=\"center\" bold=\"1\">"
                                       "Итого к оплате по квитанции 1 234,50</Memo>")},
        {"memo cut to its box", QStringLiteral("<Memo name=\"o\" x=\"20.3\" y=\"2\" width=\"30\" height=\"9\" size=\"12\" "
                                               "valign=\"bottom\">Текст длиннее, чем помещается в рамку</Memo>")},
        {"line", QStringLiteral("<Line name=\"o\" x=\"20\" y=\"2\" width=\"60\" height=\"8\" lineWidth=\"0.5\"/>")},
        {"rectangle", QStringLiteral("<Rect name=\"o\" x=\"20\" y=\"2\" width=\"30\" height=\"12\" lineWidth=\"0.3\" "
                                     "fill=\"#c0e0ff\"/>")},
        {"picture", QStringLiteral("<Picture name=\"o\" x=\"20\" y=\"2\" width=\"24\" height=\"16\">%1</Picture>")
                        .arg(QString::fromLatin1(png.toBase64()))},
        {"bar code", QStringLiteral("<Barcode name=\"o\" type=\"CODE128\" x=\"20\" y=\"4\" width=\"50\" height=\"12\">"
                                    "OBRIX-0042</Barcode>")},
    };
    for (const auto& row : objects) {
        SCOPED_TRACE(row.kind);
        const TfrTemplate t = templ(QStringLiteral("<Page left=\"15\" top=\"12\"><Band name=\"Title\" type=\"ReportTitle\" "
                                                   "height=\"14.5\"/><Band name=\"Data\" type=\"MasterData\" height=\"25\">") +
                                    row.xml + QStringLiteral("</Band></Page>"));
        TfrReport rep;
        rep.setTemplate(t);
        const TfrPreparedReport printed = rep.prepare();
        ASSERT_EQ(printed.pages.size(), 1u);
        ASSERT_EQ(printed.pages[0].prims.size(), 1u);
        const TfrPrim& print = printed.pages[0].prims[0];

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("drawing.frf"));
        frWriteTemplateFile(t, path);
        TfrDesignDocument doc;
        doc.load(path);
        TfrDesignScene scene(&doc);
        TfrObjectItem* item = scene.itemOf({0, 1, 0});
        ASSERT_NE(item, nullptr);

        const QRectF area = print.box.normalized().adjusted(-1, -1, 1, 1);
        const double dpi600 = 600 / 25.4;
        const QImage expected = pixels(area, dpi600, print);
        EXPECT_TRUE(pixels(area, dpi600, item->prim()) == expected);
        int ink = 0;
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x) ink += expected.pixel(x, y) != qRgb(255, 255, 255);
        EXPECT_GT(ink, 500) << "the print draws the object";

        const QImage paper = pixels(area, kfrScenePerMm, print);
        const QImage shown = pixels(area, kfrScenePerMm, [&](QPainter& p) {
            p.translate(item->pos());
            QStyleOptionGraphicsItem option;
            item->paint(&p, &option, nullptr);
        });
        int differ = 0;
        for (int y = 0; y < paper.height(); ++y)
            for (int x = 0; x < paper.width(); ++x)
                differ += paper.pixel(x, y) != qRgb(255, 255, 255) && shown.pixel(x, y) != paper.pixel(x, y);
        EXPECT_EQ(differ, 0);
    }
}

}  // namespace
