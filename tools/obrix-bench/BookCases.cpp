// Reference books: the goods book on 5,000 goods in 200 groups: what opening
// it reads (the groups, the group list, the records of the root group, the
// tree's parent links), switching from group to group, and finding a goods
// by a typed name prefix in the list of all goods ordered by name.
#include "BenchCase.h"

#include "books/core/BookRules.h"
#include "data/ClientDataSet.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QElapsedTimer>
#include <algorithm>
#include <stdexcept>

namespace {

constexpr int kGroups = 200;
constexpr int kGoods = 5000;
constexpr int kRuns = 20;

const books::TreeBookConfig& goodsBook() { return *books::TreeBookByWindow(QStringLiteral("frmBookTovar")); }

// Brings the copy to 200 groups with the goods spread over them (not timed).
std::vector<int> prepare(fb::Attachment& att) {
    fb::Transaction tra(att);
    if (fb::scalar(tra, QStringLiteral("SELECT COUNT(*) FROM TOVAR")).toInt() < kGoods)
        throw std::runtime_error("В базе меньше 5000 товаров: сделайте её командой obrix-db bench");
    int have = int(fb::scalar(tra, QStringLiteral("SELECT COUNT(*) FROM TOVARGR WHERE ID <> 0")).toInt());
    int next = int(fb::scalar(tra, QStringLiteral("SELECT MAX(ID) FROM TOVARGR")).toInt()) + 1;
    for (; have < kGroups; ++have, ++next)
        fb::exec(tra, QStringLiteral("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (?, 0, ?, 1)"),
                 {next, QStringLiteral("Группа %1").arg(next)});
    std::vector<int> groups;
    {
        fb::Statement s(tra, QStringLiteral("SELECT ID FROM TOVARGR WHERE ID <> 0 ORDER BY ID"));
        s.execute();
        while (s.fetch()) groups.push_back(int(s.value(0).toInt()));
    }
    for (size_t i = 0; i < groups.size(); ++i)
        fb::exec(tra, QStringLiteral("UPDATE TOVAR SET GR_ID = ? WHERE MOD(ID, ?) = ?"),
                 {groups[i], int(groups.size()), int(i)});
    tra.commit();
    return groups;
}

struct GoodsBook {
    TClientDataSet groups{nullptr, QStringLiteral("cdsBookGroup")};
    TClientDataSet groupList{nullptr, QStringLiteral("cdsBookGroupLU")};
    TClientDataSet records{nullptr, QStringLiteral("cdsBook")};
    explicit GoodsBook(fb::Attachment& att) {
        for (TClientDataSet* ds : {&groups, &groupList, &records}) ds->setAttachment(&att);
        groups.setCommandText(goodsBook().groupsSql);
        groupList.setCommandText(goodsBook().groupsLookupSql);
        groupList.setReadOnly(true);
        records.setCommandText(goodsBook().recordsSql);
    }
    void showGroup(const fb::Value& group) {
        records.close();
        records.query().setParam(QStringLiteral("PAR_GR"), group);
        records.open();
    }
};

qint64 openBook(fb::Attachment& att) {
    prepare(att);
    qint64 worst = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        GoodsBook book(att);
        book.groups.open();
        const QHash<int, int> parents = books::ParentsOf(book.groups);
        book.showGroup(book.groups.fieldByName(QStringLiteral("ID")).value());
        book.groupList.open();
        worst = std::max(worst, t.elapsed());
        if (parents.size() <= kGroups) throw std::runtime_error("Групп меньше 200");
    }
    return worst;
}

qint64 switchGroups(fb::Attachment& att) {
    const std::vector<int> ids = prepare(att);
    GoodsBook book(att);
    book.groups.open();
    qint64 worst = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        book.groups.locate(QStringLiteral("ID"), ids[size_t(run * 7) % ids.size()]);
        book.showGroup(book.groups.fieldByName(QStringLiteral("ID")).value());
        worst = std::max(worst, t.elapsed());
        if (book.records.isEmpty()) throw std::runtime_error("В группе нет товаров");
    }
    return worst;
}

qint64 findByPrefix(fb::Attachment& att) {
    prepare(att);
    GoodsBook book(att);
    book.records.query().setSql(books::ReplaceOrderBy(goodsBook().recordsSql, QStringLiteral("NAME"), true));
    book.showGroup(-1);  // list view: every goods
    if (book.records.recordCount() < kGoods) throw std::runtime_error("Не все товары в списке");
    const int name = book.records.fieldByName(QStringLiteral("NAME")).index();
    qint64 worst = 0;
    for (int run = 0; run < kRuns; ++run) {
        const QString target = book.records.valueAt(book.records.recordCount() - 1 - run * 97, name).toString();
        QElapsedTimer t;
        t.start();
        // Each keystroke of the prefix searches again.
        for (int n = 1; n <= std::min<int>(6, int(target.size())); ++n) book.records.findNearest({target.left(n)});
        worst = std::max(worst, t.elapsed());
        if (!book.records.fieldByName(QStringLiteral("NAME")).asString().startsWith(target.left(6)))
            throw std::runtime_error("Товар не найден по началу названия");
    }
    return worst;
}

}  // namespace

std::vector<BenchCase> bookBenchCases() {
    return {{QStringLiteral("books-goods-open"),
             QStringLiteral("справочник товаров (5000 товаров, 200 групп): группы, список групп, записи корневой "
                            "группы (худший из 20 раз)"),
             openBook, 200},
            {QStringLiteral("books-goods-switch"),
             QStringLiteral("справочник товаров: переход на другую группу (худший из 20 раз)"), switchGroups, 200},
            {QStringLiteral("books-goods-find"),
             QStringLiteral("справочник товаров: поиск по началу наименования среди всех 5000 товаров, по буквам "
                            "(худший из 20 раз)"),
             findByPrefix, 200}};
}
