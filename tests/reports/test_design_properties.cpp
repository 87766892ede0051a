// The designer's property rows without a window: what the rows of a memo, a
// line, a bar code, a band and the page show, and an edited value either
// changing the document by one step of the history or refused with the
// document's message, nothing changed.
#include "ReportFixture.h"

#include "reports/engine/DesignProperties.h"

#include <functional>
#include <utility>

using namespace reporttest;

namespace {

const TfrPropertyRow* rowOf(const std::vector<TfrPropertySection>& sections, const QString& caption) {
    for (const TfrPropertySection& s : sections)
        for (const TfrPropertyRow& r : s.rows)
            if (r.caption == caption) return &r;
    return nullptr;
}

struct PropertyCase {
    const char* what;
    TfrObjRefs selection;
    int band;  // the current band when nothing is selected
    QStringList titles;
    std::vector<std::pair<QString, QVariant>> shown;
    QStringList captions;  // every row, in order; empty: not checked
    QString edited;
    QVariant value;
    std::function<void(TfrTemplate&)> expected;  // the change it makes
    QString refusal;                             // or the message it is refused with
};

TEST(DesignProperties, RowsShowTheSelectionAndAnEditIsOneStepOrRefused) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("props.frf"));
    frWriteTemplateFile(templ(QStringLiteral(
                            "<Page><Band name=\"Title\" type=\"ReportTitle\" height=\"20\">"
                            "<Memo name=\"mOrg\" x=\"5\" y=\"2\" width=\"60\" height=\"6\" align=\"center\" bold=\"1\">"
                            "[NameOrg]</Memo>"
                            "<Line name=\"lnUnder\" x=\"5\" y=\"10\" width=\"100\" height=\"0\" lineWidth=\"0.5\"/>"
                            "<Barcode name=\"bcNumber\" type=\"CODE128\" x=\"120\" y=\"2\" width=\"50\" height=\"12\">"
                            "[Number]</Barcode></Band>"
                            "<Band name=\"Lines\" type=\"MasterData\" height=\"8\" dataset=\"frdsReportP\"/></Page>")),
                        path);
    auto object = [](TfrTemplate& t, int i) -> TfrObject& { return t.pages[0].bands[0].objects[size_t(i)]; };
    const PropertyCase cases[] = {
        {"memo", {{0, 0, 0}}, 0, {QStringLiteral("Объект: Текст")},
         {{QStringLiteral("Имя"), QStringLiteral("mOrg")}, {QStringLiteral("Ширина, мм"), 60.0},
          {QStringLiteral("Текст"), QStringLiteral("[NameOrg]")}, {QStringLiteral("Жирный"), true},
          {QStringLiteral("Выравнивание"), 1}, {QStringLiteral("Рамка слева"), false}},
         {}, QStringLiteral("Ширина, мм"), 45.004, [&](TfrTemplate& t) { object(t, 0).width = 45; }, {}},
        {"line", {{0, 0, 1}}, 0, {QStringLiteral("Объект: Линия")},
         {{QStringLiteral("Ширина, мм"), 100.0}, {QStringLiteral("Толщина линии, мм"), 0.5}},
         {QStringLiteral("Имя"), QStringLiteral("Слева, мм"), QStringLiteral("Сверху, мм"), QStringLiteral("Ширина, мм"),
          QStringLiteral("Высота, мм"), QStringLiteral("Толщина линии, мм")},
         QStringLiteral("Толщина линии, мм"), 1.0, [&](TfrTemplate& t) { object(t, 1).lineWidth = 1; }, {}},
        {"bar code", {{0, 0, 2}}, 0, {QStringLiteral("Объект: Штрихкод")},
         {{QStringLiteral("Данные (выражение)"), QStringLiteral("[Number]")}, {QStringLiteral("Вид штрихкода"), 1}},
         {}, QStringLiteral("Вид штрихкода"), 2, [&](TfrTemplate& t) { object(t, 2).barcode = TfrBarcodeType::QR; }, {}},
        {"band", {}, 1, {QStringLiteral("Полоса"), QStringLiteral("Страница")},
         {{QStringLiteral("Имя полосы"), QStringLiteral("Lines")}, {QStringLiteral("Вид полосы"), 4},
          {QStringLiteral("Высота полосы, мм"), 8.0}, {QStringLiteral("Набор данных"), QStringLiteral("frdsReportP")},
          {QStringLiteral("Условие группы"), QString()}},
         {}, QStringLiteral("Имя полосы"), QStringLiteral("title"), {},
         QStringLiteral("Изменение не принято: полоса с именем «title» уже есть.")},
        {"page", {}, -1, {QStringLiteral("Страница")},
         {{QStringLiteral("Формат бумаги"), 0}, {QStringLiteral("Ориентация"), 0},
          {QStringLiteral("Ширина листа, мм"), 210.0}, {QStringLiteral("Поле слева, мм"), 10.0}},
         {}, QStringLiteral("Ориентация"), 1,
         [](TfrTemplate& t) { std::swap(t.pages[0].width, t.pages[0].height); }, {}},
    };
    for (const PropertyCase& c : cases) {
        SCOPED_TRACE(c.what);
        TfrDesignDocument doc;
        doc.load(path);
        doc.setSelection(c.selection);
        doc.setCurrentBand(c.band);
        const std::vector<TfrPropertySection> sections = frPropertySections(doc);
        QStringList titles, captions;
        for (const TfrPropertySection& s : sections) {
            titles << s.title;
            for (const TfrPropertyRow& r : s.rows) captions << r.caption;
        }
        EXPECT_EQ(titles, c.titles);
        if (!c.captions.isEmpty()) { EXPECT_EQ(captions, c.captions); }
        for (const auto& [caption, value] : c.shown) {
            const TfrPropertyRow* r = rowOf(sections, caption);
            ASSERT_NE(r, nullptr) << caption.toStdString();
            EXPECT_EQ(r->value, value) << caption.toStdString() << ": " << r->value.toString().toStdString();
        }

        TfrTemplate expected = doc.templ();
        const TfrPropertyRow* edited = rowOf(sections, c.edited);
        ASSERT_NE(edited, nullptr) << c.edited.toStdString();
        const std::optional<QString> refusal = frApplyProperty(doc, *edited, c.value);
        EXPECT_EQ(refusal.value_or(QString()), c.refusal);
        if (c.expected) c.expected(expected);
        EXPECT_EQ(frTemplateToXml(doc.templ()), frTemplateToXml(expected));
        EXPECT_EQ(doc.undoStack()->count(), c.refusal.isEmpty() ? 1 : 0);
    }
}

// A finished edit goes in only when it differs from what the editor last put in.
TEST(DesignProperties, AFinishedEditGoesInOnlyWhenItDiffers) {
    auto row = [](TfrPropertyKind kind) {
        TfrPropertyRow r;
        r.kind = kind;
        return r;
    };
    const struct {
        TfrPropertyKind kind;
        QVariant last, typed;
        std::optional<QVariant> in;
    } cases[] = {
        {TfrPropertyKind::Number, 55.0, 55.0 + 1e-10, std::nullopt},
        {TfrPropertyKind::Number, 55.0, 50.0, 50.0},
        {TfrPropertyKind::Text, QStringLiteral("Итого"), QStringLiteral("Итого"), std::nullopt},
        {TfrPropertyKind::Text, QStringLiteral("Итого"), QStringLiteral("Итого "), QStringLiteral("Итого ")},
        {TfrPropertyKind::Multiline, QStringLiteral("a\nb"), QStringLiteral("a\nb\n"), QStringLiteral("a\nb\n")},
        {TfrPropertyKind::EditableChoice, QStringLiteral("frdsReport"), QStringLiteral(" frdsReport "), std::nullopt},
        {TfrPropertyKind::EditableChoice, QStringLiteral("frdsReport"), QStringLiteral(" frdsReportP"),
         QStringLiteral("frdsReportP")},
        {TfrPropertyKind::Choice, 1, 1, std::nullopt},
        {TfrPropertyKind::Choice, 1, 0, 0},
        {TfrPropertyKind::FontFamily, QStringLiteral("Arial"), QStringLiteral("Arial"), std::nullopt},
        {TfrPropertyKind::Check, true, true, true},
    };
    for (const auto& c : cases) {
        const std::optional<QVariant> in = frEditedValue(row(c.kind), c.last, c.typed);
        EXPECT_EQ(in, c.in) << int(c.kind) << " " << c.typed.toString().toStdString();
    }
}

}  // namespace
