// The designer's document without a window: edits, undo and redo, saving
// back to the file, the clipboard, refusals; what the program supplies to
// each form; the forms laid out with sample data.
#include "ReportFixture.h"

#include "reports/engine/DesignActions.h"
#include "reports/engine/DesignDocument.h"
#include "reports/engine/DesignSample.h"
#include "reports/engine/DesignToolbar.h"
#include "forms/FormFieldTree.h"
#include "forms/FormVocabulary.h"

#include <QRegularExpression>

using namespace reporttest;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A shipped form copied into a temporary folder.
class DesignDocTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TfrDesignDocument doc;
    QString path;
    void open(const QString& form) {
        path = dir.filePath(form + QStringLiteral(".frf"));
        ASSERT_TRUE(QFile::copy(formPath(form), path));
        doc.load(path);
    }
    QByteArray state() const { return frTemplateToXml(doc.templ()); }
    const TfrBand& band(int i) const { return doc.templ().pages[0].bands[size_t(i)]; }
};

// The receipt's bar code: band 0, object 4.
const TfrObjRef kBarcode{0, 0, 4};

TEST_F(DesignDocTest, EditsUndoRedoAndSaveBackToTheFile) {
    open(QStringLiteral("Rep_Kvit_obuv"));
    ASSERT_EQ(frObjectAt(doc.templ(), kBarcode).kind, TfrObjectKind::Barcode);
    const QByteArray original = readAll(path);
    const QByteArray s0 = state();
    const int bands = int(doc.templ().pages[0].bands.size());

    doc.setSelection({kBarcode});
    doc.moveSelection(2.5, 1);
    const QByteArray s1 = state();
    TfrObject memo = frObjectAt(doc.templ(), {0, 0, 0});
    memo.font.bold = false;
    memo.text = QStringLiteral("[NameOrg] (мастерская)");
    doc.changeObject({0, 0, 0}, memo);
    const QByteArray s2 = state();
    doc.setCurrentBand(0);
    const int added = doc.addBand(TfrBandType::PageFooter);
    const QByteArray s3 = state();
    EXPECT_EQ(added, 1);
    EXPECT_EQ(band(1).name, QStringLiteral("PageFooter1"));
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.undoStack()->count(), 3);

    // undo walks back through every state, redo forward again
    doc.undoStack()->undo();
    EXPECT_EQ(state(), s2);
    doc.undoStack()->undo();
    EXPECT_EQ(state(), s1);
    doc.undoStack()->undo();
    EXPECT_EQ(state(), s0);
    EXPECT_FALSE(doc.isModified());
    doc.undoStack()->redo();
    doc.undoStack()->redo();
    doc.undoStack()->redo();
    EXPECT_EQ(state(), s3);
    EXPECT_EQ(readAll(path), original) << "nothing is written before Save";

    doc.save();
    EXPECT_FALSE(doc.isModified());
    TfrDesignDocument reread;
    reread.load(path);
    EXPECT_EQ(frTemplateToXml(reread.templ()), s3);
    const TfrObject& bc = frObjectAt(reread.templ(), {0, 0, 4});
    EXPECT_DOUBLE_EQ(bc.x, 132.5);
    EXPECT_DOUBLE_EQ(bc.y, 1);
    EXPECT_EQ(frObjectAt(reread.templ(), {0, 0, 0}).text, QStringLiteral("[NameOrg] (мастерская)"));
    EXPECT_FALSE(frObjectAt(reread.templ(), {0, 0, 0}).font.bold);
    EXPECT_EQ(int(reread.templ().pages[0].bands.size()), bands + 1);
}

TEST_F(DesignDocTest, SavingUnchangedKeepsTheBytes) {
    open(QStringLiteral("RepDoc"));
    const QByteArray original = readAll(path);
    ASSERT_NE(frTemplateToXml(doc.templ()), original) << "the form must differ from what the writer makes of it";
    doc.save();
    EXPECT_EQ(readAll(path), original);
    // changed and saved, then saved again unchanged: the same bytes twice
    doc.setSelection({{0, 0, 0}});
    doc.moveSelection(0.5, 0);
    doc.save();
    const QByteArray first = readAll(path);
    EXPECT_NE(first, original);
    doc.save();
    EXPECT_EQ(readAll(path), first);
    // a change undone leaves nothing to save but the same bytes
    doc.moveSelection(1, 1);
    doc.undoStack()->undo();
    doc.save();
    EXPECT_EQ(readAll(path), first);
    TfrDesignDocument again;
    again.load(path);
    again.save();
    EXPECT_EQ(readAll(path), first);
}

// The writer is deterministic: a written template read back writes the same
// bytes, for every shipped form and for one carrying a picture.
TEST(DesignXml, WrittenTemplatesReadBackToTheSameBytes) {
    const QStringList forms = QDir(QStringLiteral(OBRIX_FORMS_DIR)).entryList({QStringLiteral("*.frf")});
    ASSERT_EQ(forms.size(), 15);
    for (const QString& f : forms) {
        const QByteArray once = frTemplateToXml(frReadTemplateFile(QStringLiteral(OBRIX_FORMS_DIR "/") + f));
        EXPECT_EQ(frTemplateToXml(frParseTemplate(once, f)), once) << f.toStdString();
    }
    QImage logo(40, 20, QImage::Format_ARGB32);
    logo.fill(QColor(200, 30, 30, 128));
    TfrTemplate t = frReadTemplateFile(formPath(QStringLiteral("Rep_Kvit_obuv")));
    TfrObject pic;
    pic.kind = TfrObjectKind::Picture;
    pic.width = 20;
    pic.height = 10;
    pic.picture = logo;
    t.pages[0].bands[0].objects.push_back(pic);
    const QByteArray once = frTemplateToXml(t);
    EXPECT_EQ(frTemplateToXml(frParseTemplate(once, QStringLiteral("logo"))), once);
}

struct AlignCase {
    TfrAlignKind kind;
    QRectF second, third;  // x, y, width, height after
};

TEST(DesignAlign, LinesUpWithTheFirstSelected) {
    // first (10,5 20x6), second (30,12 10x4), third a line from (50,20) back to (44,20)
    TfrTemplate base = templ(QStringLiteral(
        "<Page><Band name=\"B\" type=\"MasterData\" height=\"40\">"
        "<Memo x=\"10\" y=\"5\" width=\"20\" height=\"6\"/><Memo x=\"30\" y=\"12\" width=\"10\" height=\"4\"/>"
        "<Line x=\"50\" y=\"20\" width=\"-6\" height=\"0\"/></Band></Page>"));
    const TfrObjRefs refs = {{0, 0, 0}, {0, 0, 1}, {0, 0, 2}};
    const AlignCase cases[] = {
        {TfrAlignKind::Left, {10, 12, 10, 4}, {16, 20, -6, 0}},
        {TfrAlignKind::Right, {20, 12, 10, 4}, {30, 20, -6, 0}},
        {TfrAlignKind::Top, {30, 5, 10, 4}, {50, 5, -6, 0}},
        {TfrAlignKind::Bottom, {30, 7, 10, 4}, {50, 11, -6, 0}},
        {TfrAlignKind::SameWidth, {30, 12, 20, 4}, {50, 20, -6, 0}},   // a line keeps its own length
        {TfrAlignKind::SameHeight, {30, 12, 10, 6}, {50, 20, -6, 0}},
    };
    for (const AlignCase& c : cases) {
        TfrTemplate t = base;
        frAlignObjects(t, refs, c.kind);
        for (auto [i, want] : {std::pair{1, c.second}, std::pair{2, c.third}}) {
            const TfrObject& o = frObjectAt(t, refs[size_t(i)]);
            EXPECT_EQ(QRectF(o.x, o.y, o.width, o.height), want) << int(c.kind) << " object " << i;
        }
        EXPECT_EQ(frObjectAt(t, refs[0]).x, 10) << "the first one stays";
    }
}

TEST(DesignAlign, SnapsToTheGridAndStaysInsideTheBand) {
    TfrTemplate t = templ(QStringLiteral(
        "<Page><Band name=\"B\" type=\"MasterData\" height=\"40\">"
        "<Memo x=\"10.3\" y=\"4.74\" width=\"20.2\" height=\"0.9\"/></Band></Page>"));
    frSnapObjects(t, {{0, 0, 0}}, 2.5);
    const TfrObject& o = frObjectAt(t, {0, 0, 0});
    EXPECT_EQ(QRectF(o.x, o.y, o.width, o.height), QRectF(10, 5, 20, 2.5));
    frMoveObjects(t, {{0, 0, 0}}, -12, 0.1);
    EXPECT_EQ(o.x, 0);
    EXPECT_DOUBLE_EQ(o.y, 5.1);
    // a hundred small steps leave no binary dust behind
    for (int i = 0; i < 100; ++i) frMoveObjects(t, {{0, 0, 0}}, 0.1, 0);
    EXPECT_EQ(QString::number(o.x, 'g', 10), QStringLiteral("10"));
}

// Arrow key steps held down join into one step of the history, but only
// while they act on the same objects.
TEST_F(DesignDocTest, HeldArrowStepsJoinIntoOneUndoStep) {
    open(QStringLiteral("RepDoc"));
    doc.setSelection({{0, 0, 0}});
    const double x = frObjectAt(doc.templ(), {0, 0, 0}).x;
    for (int i = 0; i < 4; ++i) doc.moveSelection(0.5, 0, true);
    EXPECT_EQ(doc.undoStack()->count(), 1);
    doc.setSelection({{0, 0, 1}});
    doc.moveSelection(0.5, 0, true);
    EXPECT_EQ(doc.undoStack()->count(), 2);
    doc.undoStack()->undo();
    doc.undoStack()->undo();
    EXPECT_DOUBLE_EQ(frObjectAt(doc.templ(), {0, 0, 0}).x, x);
}

TEST_F(DesignDocTest, DraggedOntoAnotherBandAndBack) {
    open(QStringLiteral("RepDoc"));
    const QByteArray s0 = state();
    const TfrObjRef first{0, 0, 0};
    const size_t onSecond = band(1).objects.size();
    const QString text = frObjectAt(doc.templ(), first).text;
    doc.setSelection({first});
    doc.placeObjects({{first, 1, QRectF(5, 2, 30, 5)}});
    ASSERT_EQ(doc.selection().size(), 1u);
    const TfrObjRef moved = doc.selection().front();
    EXPECT_EQ(moved.band, 1);
    EXPECT_EQ(size_t(moved.object), onSecond);
    EXPECT_EQ(frObjectAt(doc.templ(), moved).text, text);
    EXPECT_EQ(QRectF(frObjectAt(doc.templ(), moved).x, frObjectAt(doc.templ(), moved).y, 30, 5), QRectF(5, 2, 30, 5));
    doc.undoStack()->undo();
    EXPECT_EQ(state(), s0);
    EXPECT_EQ(doc.selection(), TfrObjRefs{first});
}

TEST_F(DesignDocTest, BandsAreAddedMovedAndRemoved) {
    open(QStringLiteral("Rep_SummaKvit"));
    const QByteArray s0 = state();
    const QStringList names = {band(0).name, band(1).name, band(2).name};
    doc.setCurrentBand(1);
    EXPECT_EQ(doc.addBand(TfrBandType::GroupHeader), 2);  // after the current band
    EXPECT_EQ(band(2).type, TfrBandType::GroupHeader);
    EXPECT_EQ(band(2).name, QStringLiteral("GroupHeader1"));
    EXPECT_EQ(doc.currentBand(), 2);
    // a selected object rides along with its band
    doc.setSelection({{0, 1, 0}});
    const QString text = frObjectAt(doc.templ(), {0, 1, 0}).text;
    ASSERT_TRUE(doc.moveBand(1, -1));
    EXPECT_EQ(band(0).name, names[1]);
    EXPECT_EQ(band(1).name, names[0]);
    ASSERT_EQ(doc.selection().size(), 1u);
    EXPECT_EQ(frObjectAt(doc.templ(), doc.selection().front()).text, text);
    EXPECT_FALSE(doc.moveBand(0, -1));
    doc.removeBand(2);
    EXPECT_EQ(band(2).name, names[2]);
    EXPECT_EQ(doc.undoStack()->count(), 3);
    while (doc.undoStack()->canUndo()) doc.undoStack()->undo();
    EXPECT_EQ(state(), s0);
}

// The commands the designer offers follow the document: the band, the
// selection, the history and the clipboard; the title marks unsaved changes.
TEST_F(DesignDocTest, CommandsOnOfferFollowTheDocument) {
    open(QStringLiteral("Rep_Kvit_obuv"));
    const int last = int(doc.templ().pages[0].bands.size()) - 1;
    const QString title = QStringLiteral("Дизайнер печатной формы - Rep_Kvit_obuv.frf");
    EXPECT_EQ(frDesignerTitle(doc), title);
    auto offered = [&](bool clipboard) {
        const TfrDesignActions a = frDesignActions(doc, clipboard);
        return QString::fromLatin1("%1%2 %3%4%5%6 %7%8%9")
            .arg(a.undo).arg(a.redo).arg(a.cutCopyDelete).arg(a.paste).arg(a.align).arg(a.insert)
            .arg(a.bandDelete).arg(a.bandUp).arg(a.bandDown);
    };
    const struct {
        const char* state;
        std::function<void()> step;
        bool clipboard;
        const char* offered;  // undo redo, cut paste align insert, band delete up down
    } steps[] = {
        {"the first band", [&] { doc.setCurrentBand(0); }, false, "00 0001 101"},
        {"objects on the clipboard", [] {}, true, "00 0101 101"},
        {"the last band", [&] { doc.setCurrentBand(last); }, true, "00 0101 110"},
        {"no band", [&] { doc.setCurrentBand(-1); }, true, "00 0000 000"},
        {"one object", [&] { doc.setSelection({kBarcode}); }, false, "00 1001 101"},
        {"two objects", [&] { doc.setSelection({kBarcode, {0, 0, 0}}); }, false, "00 1011 101"},
        {"moved", [&] { doc.moveSelection(1, 0); }, false, "10 1011 101"},
        {"undone", [&] { doc.undoStack()->undo(); }, false, "01 1011 101"},
    };
    for (const auto& c : steps) {
        c.step();
        EXPECT_EQ(offered(c.clipboard), QString::fromLatin1(c.offered)) << c.state;
    }
    doc.undoStack()->redo();
    EXPECT_EQ(frDesignerTitle(doc), title + QStringLiteral(" *"));
    const TfrBand& title0 = band(0);
    EXPECT_EQ(frBandRemovalQuestion(title0), QStringLiteral("Удалить полосу «%1» вместе с ее объектами (%2)?")
                                                 .arg(title0.name).arg(title0.objects.size()));
    TfrBand empty = title0;
    empty.objects.clear();
    EXPECT_TRUE(frBandRemovalQuestion(empty).isEmpty()) << "an empty band goes without asking";
}

TEST_F(DesignDocTest, CutCopyPasteKeepNamesUnique) {
    open(QStringLiteral("Rep_Kvit_obuv"));
    doc.setSelection({kBarcode, {0, 0, 0}});
    const QByteArray clip = doc.copySelection();
    const size_t before = band(2).objects.size();
    doc.setSelection({});
    doc.setCurrentBand(2);
    ASSERT_TRUE(doc.paste(clip));
    ASSERT_EQ(band(2).objects.size(), before + 2);
    const TfrObject& pasted = band(2).objects[before];
    EXPECT_EQ(pasted.kind, TfrObjectKind::Barcode);
    EXPECT_EQ(pasted.name, QStringLiteral("Barcode1"));  // "bcNumber" is taken
    EXPECT_EQ(band(2).objects[before + 1].text, frObjectAt(doc.templ(), {0, 0, 0}).text);
    EXPECT_EQ(doc.selection().size(), 2u);

    const size_t onTitle = band(0).objects.size();
    doc.setSelection({kBarcode});
    doc.cutSelection();
    EXPECT_EQ(band(0).objects.size(), onTitle - 1);
    EXPECT_FALSE(doc.paste(QByteArray("not a template")));
    doc.undoStack()->undo();
    EXPECT_EQ(band(0).objects.size(), onTitle);
}

TEST_F(DesignDocTest, RefusedChangesLeaveEverythingAsItWas) {
    open(QStringLiteral("Rep_SummaKvit"));
    const QByteArray s0 = state();
    TfrBand b = band(1);
    b.name = band(0).name.toUpper();
    EXPECT_THROW(doc.changeBand(0, 1, b), EfrTemplateError);
    TfrPage p = doc.templ().pages[0];
    p.marginLeft = p.marginRight = p.width / 2 - 1;  // no room left to print
    try {
        doc.changePage(0, p);
        ADD_FAILURE() << "margins without room accepted";
    } catch (const EfrTemplateError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Изменение не принято."))) << e.message().toStdString();
    }
    EXPECT_THROW(doc.insertPicture(path), EfrFileError);  // a template is not an image
    EXPECT_EQ(state(), s0);
    EXPECT_EQ(doc.undoStack()->count(), 0);

    // a group header without its condition would not load again: not saved
    const QByteArray original = readAll(path);
    doc.addBand(TfrBandType::GroupHeader);
    EXPECT_THROW(doc.save(), EfrTemplateError);
    EXPECT_EQ(readAll(path), original);
    EXPECT_TRUE(doc.isModified());
}

TEST_F(DesignDocTest, AFailedWriteNamesTheFileAndKeepsIt) {
    open(QStringLiteral("RepNalich"));
    doc.setSelection({{0, 0, 0}});
    doc.moveSelection(1, 0);
    ASSERT_TRUE(QDir(dir.path()).rename(QFileInfo(path).fileName(), QStringLiteral("moved.frf")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QFileInfo(path).fileName()));  // a folder where the file was
    try {
        doc.save();
        ADD_FAILURE() << "saved over a folder";
    } catch (const EfrFileError& e) {
        EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(path))) << e.message().toStdString();
    }
    EXPECT_TRUE(doc.isModified());
}

TEST_F(DesignDocTest, PictureFromAFileTravelsInsideTheTemplate) {
    open(QStringLiteral("Rep_Kvit_obuv"));
    QImage logo(60, 30, QImage::Format_RGB32);
    logo.fill(Qt::darkGreen);
    logo.setDotsPerMeterX(3780);  // 96 dpi: 60 px are 15.87 mm
    logo.setDotsPerMeterY(3780);
    const QString png = dir.filePath(QStringLiteral("logo.png"));
    ASSERT_TRUE(logo.save(png));
    doc.setCurrentBand(0);
    const TfrObjRef ref = doc.insertPicture(png, QPointF(150, 20));
    doc.save();
    QFile::remove(png);
    TfrDesignDocument reread;
    reread.load(path);
    const TfrObject& pic = frObjectAt(reread.templ(), ref);
    EXPECT_EQ(pic.kind, TfrObjectKind::Picture);
    EXPECT_NEAR(pic.width, 15.87, 0.01);
    EXPECT_EQ(pic.picture.size(), QSize(60, 30));
    EXPECT_EQ(pic.picture.pixelColor(10, 10), QColor(Qt::darkGreen));
}

// Every variable and field a shipped form uses is one the program supplies to it.
TEST(FormVocabulary, CoversWhatEachShippedFormUses) {
    static const QRegularExpression reExpr(QStringLiteral("\\[([^\\]]*)\\]"));
    static const QRegularExpression reField(QStringLiteral("^(?:SUM\\()?\\s*([A-Za-z]+)\\.\"([A-Z_0-9]+)\""));
    const QStringList engine = frEngineVariables();
    ASSERT_EQ(frKnownForms().size(), 15);
    for (const QString& file : frKnownForms()) {
        const TfrFormVocabulary v = frFormVocabulary(QStringLiteral("Reports\\") + file);
        ASSERT_TRUE(v.known()) << file.toStdString();
        const TfrTemplate t = frReadTemplateFile(QStringLiteral(OBRIX_FORMS_DIR "/") + file);
        int checked = 0;
        for (const TfrPage& p : t.pages)
            for (const TfrBand& b : p.bands)
                for (const TfrObject& o : b.objects)
                    for (auto it = reExpr.globalMatch(o.text); it.hasNext();) {
                        QString e = it.next().captured(1).trimmed();
                        if (const int hash = e.lastIndexOf(QStringLiteral(" #")); hash >= 0) e = e.left(hash).trimmed();
                        ++checked;
                        if (auto m = reField.match(e); m.hasMatch()) {
                            const auto ds = std::find_if(v.dataSets.begin(), v.dataSets.end(),
                                                         [&](const auto& d) { return d.name == m.captured(1); });
                            ASSERT_NE(ds, v.dataSets.end()) << file.toStdString() << ": " << e.toStdString();
                            EXPECT_TRUE(ds->fields.contains(m.captured(2))) << file.toStdString() << ": " << e.toStdString();
                        } else {
                            EXPECT_TRUE(v.variables.contains(e) || engine.contains(e.toUpper()))
                                << file.toStdString() << ": " << e.toStdString();
                        }
                    }
        EXPECT_GT(checked, 5) << file.toStdString();
    }
    EXPECT_FALSE(frFormVocabulary(QStringLiteral("Чужая.frf")).known());
    EXPECT_EQ(frSelectColumns(QStringLiteral("SELECT A.X, (SELECT FP FROM P(A.ID)) AS FULLPATH, SUM(B.Y*K.Z) AS S, "
                                             "COUNT(*) AS N FROM T A")),
              (QStringList{QStringLiteral("X"), QStringLiteral("FULLPATH"), QStringLiteral("S"), QStringLiteral("N")}));
}

// Every shipped form lays out with sample data: variables show their names.
TEST(DesignSample, EveryShippedFormPreparesWithSampleData) {
    for (const QString& file : frKnownForms()) {
        const QString path = QStringLiteral(OBRIX_FORMS_DIR "/") + file;
        auto s = frSampleReport(frReadTemplateFile(path), path);
        TfrPreparedReport rep;
        try {
            rep = s->report.prepare();
        } catch (const EfrPrepareError& e) {
            ADD_FAILURE() << e.message().toStdString();
            continue;
        }
        ASSERT_FALSE(rep.pages.empty()) << file.toStdString();
        const QString dump = frDumpPages(rep);
        EXPECT_TRUE(dump.contains(QStringLiteral("NameOrg"))) << file.toStdString();
    }
}

}  // namespace

// The designer's tree: the form's variables, each dataset's fields as
// dataset."FIELD", then the engine's values; a form the program does not fill
// says so and offers the engine's values only.
TEST(FormFieldTree, GroupsWhatAFormIsGivenWithTheExpressionsItInserts) {
    struct Row {
        const char* form;
        std::vector<const char*> groups;
        const char *group, *caption, *expression;  // one entry checked
    };
    const Row rows[] = {
        {"Reports\\Rep_Kvit_obuv.frf",
         {"Переменные: Квитанция-договор", "frdsReportP — Изделия заказа", "frdsReportU — Услуги заказа", "Отчет"},
         "frdsReportP — Изделия заказа", "PRODUCT_NAME", "frdsReportP.\"PRODUCT_NAME\""},
        {"Чужая.frf", {"Программа не заполняет эту форму своими данными", "Отчет"},
         "Отчет", "Номер страницы (PAGE#)", "PAGE#"},
    };
    for (const Row& r : rows) {
        const std::vector<TfrFieldTreeNode> tree = frFormFieldTree(QString::fromUtf8(r.form));
        std::vector<std::string> groups;
        for (const TfrFieldTreeNode& g : tree) groups.push_back(g.caption.toStdString());
        EXPECT_EQ(groups, std::vector<std::string>(r.groups.begin(), r.groups.end())) << r.form;
        EXPECT_TRUE(tree.front().children.empty() == (std::string(r.form) == "Чужая.frf")) << r.form;
        const auto g = std::find_if(tree.begin(), tree.end(), [&](const auto& n) { return n.caption == QString::fromUtf8(r.group); });
        ASSERT_NE(g, tree.end()) << r.form;
        const auto leaf = std::find_if(g->children.begin(), g->children.end(),
                                       [&](const auto& n) { return n.caption == QString::fromUtf8(r.caption); });
        ASSERT_NE(leaf, g->children.end()) << r.form;
        EXPECT_EQ(leaf->expression.toStdString(), r.expression);
        EXPECT_EQ(tree.back().children.size(), size_t(frEngineVariables().size()));
    }
}

// The toolbars come from the table: the groups parted where they were, the
// main bar before the insert bar, the alignment pictures in the order of
// TfrAlignKind (the window draws them by it), Ctrl+Y before the platform's redo.
TEST(DesignToolbar, TableGroupsPicturesKeysAndTheGridToggle) {
    const std::vector<TfrDesignCommand>& t = frDesignCommands();
    ASSERT_EQ(t.size(), 27u);
    QStringList separated, insertBar, checkable;
    bool mainDone = false;
    for (const TfrDesignCommand& c : t) {
        if (c.separatorBefore) separated << QLatin1String(c.name);
        if (c.checkable) checkable << QLatin1String(c.name);
        if (c.bar == TfrDesignBar::Insert) mainDone = true, insertBar << QLatin1String(c.name);
        EXPECT_FALSE(mainDone && c.bar == TfrDesignBar::Main) << c.name;
    }
    EXPECT_EQ(separated, QStringList({"acUndo", "acCut", "acAlignLeft", "acSnapToGrid", "acBandAdd", "acPreview"}));
    EXPECT_EQ(insertBar.first(), QStringLiteral("acInsertMemo"));
    EXPECT_EQ(insertBar.last(), QStringLiteral("acPreview"));
    EXPECT_EQ(checkable, QStringList({"acSnapToGrid"}));
    const TfrAlignKind kinds[] = {TfrAlignKind::Left, TfrAlignKind::Right, TfrAlignKind::Top,
                                  TfrAlignKind::Bottom, TfrAlignKind::SameWidth, TfrAlignKind::SameHeight};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(int(t[size_t(8 + i)].picture) - int(TfrDesignPicture::AlignLeft), int(kinds[i])) << t[size_t(8 + i)].name;
    EXPECT_STREQ(t[3].name, "acRedo");
    ASSERT_EQ(t[3].keys.size(), 2);
    EXPECT_EQ(t[3].keys[0], QKeySequence(Qt::CTRL | Qt::Key_Y));
    EXPECT_EQ(t[3].keys[1], QKeySequence(QKeySequence::Redo));
}
