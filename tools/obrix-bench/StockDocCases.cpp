// Stock documents: opening the line dialog's goods lists and its stock list
// on the bench database (5,000 goods) and picking a goods by a typed prefix,
// one keystroke at a time, in each of the three boxes.
#include "BenchCase.h"

#include "data/ClientDataSet.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"
#include "stock/core/GoodsPick.h"

#include <QElapsedTimer>
#include <algorithm>
#include <stdexcept>

namespace {

constexpr int kGoods = 5000;
constexpr int kRuns = 20;

// The box's text of the goods the pick aims at: one near the end of the list,
// so that the prefix search walks nearly all of it.
qint64 openAndPick(fb::Attachment& att) {
    TClientDataSet tovar(nullptr, QStringLiteral("cdsTovarLU"));
    tovar.setAttachment(&att);
    tovar.setCommandText(QStringLiteral("SELECT * FROM TOVAR ORDER BY NAME"));
    tovar.setReadOnly(true);
    tovar.open();  // the data module holds it open; not part of a showing
    if (tovar.recordCount() < kGoods)
        throw std::runtime_error("В базе меньше 5000 товаров: сделайте её командой obrix-db bench");
    fb::Transaction tra(att);
    const int period = int(fb::scalar(tra, QStringLiteral("SELECT MAX(ID) FROM RPERIOD")).toInt());
    tra.commit();

    qint64 worst = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        // Showing: the goods lists and the stock of the current period.
        TGoodsPick goods;
        goods.load(tovar);
        TClientDataSet nalich(nullptr, QStringLiteral("cdsNalich"));
        nalich.setAttachment(&att);
        nalich.setReadOnly(true);
        nalich.setCommandText(QStringLiteral("SELECT TOVAR_ID, SUM(KOLVO) AS KOLVO, SUM(SUMMA) AS SUMMA "
                                             "FROM P_NALICHALL(:RP_ID) GROUP BY TOVAR_ID"));
        nalich.query().setParam(QStringLiteral("RP_ID"), period);
        nalich.open();
        // Typing: every keystroke completes to the first goods with that prefix.
        const int target = goods.count() - 1 - run;
        for (TGoodsBox box : {TGoodsBox::Artikul, TGoodsBox::Ean13, TGoodsBox::Name}) {
            const QString text = goods.text(box, target);
            int found = -1;
            for (int n = 1; n <= text.size(); ++n) {
                found = goods.firstWithPrefix(box, text.left(n));
                if (found >= 0 && goods.names(box, found, text)) break;
            }
            if (!text.isEmpty() && found < 0) throw std::runtime_error("Товар не найден по своему тексту");
            if (found >= 0) nalich.lookup(QStringLiteral("TOVAR_ID"), goods.id(found), QStringLiteral("KOLVO"));
        }
        worst = std::max(worst, t.elapsed());
    }
    return worst;
}

}  // namespace

std::vector<BenchCase> stockDocBenchCases() {
    return {{QStringLiteral("stock-goods-pick"),
             QStringLiteral("строка складского документа: списки 5000 товаров и остатки периода, выбор товара по "
                            "набранному началу в трех полях (худший из 20 раз)"),
             openAndPick, 100}};
}
