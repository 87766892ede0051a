#include "orders/ui/BookChooser.h"

#include "ui/ModalSeam.h"
#include "ui/WindowRegistry.h"
#include "data/ClientDataSet.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>
#include <memory>

namespace {
std::optional<int> plainChooser(const QString& bookName, TClientDataSet& list, const QString& shownField) {
    auto dlg = std::make_unique<QDialog>();
    dlg->setObjectName(bookName + QStringLiteral("Chooser"));
    dlg->setWindowTitle(QStringLiteral("Выбор"));
    auto* lst = new QListWidget(dlg.get());
    lst->setObjectName(QStringLiteral("lbItems"));
    const int shown = list.fieldByName(shownField).index();
    const int key = list.fieldByName(QStringLiteral("ID")).index();
    for (int r = 0; r < list.recordCount(); ++r) {
        auto* item = new QListWidgetItem(list.displayTextAt(r, shown), lst);
        item->setData(Qt::UserRole, int(list.valueAt(r, key).toInt()));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dlg.get());
    QObject::connect(buttons, &QDialogButtonBox::accepted, dlg.get(), &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dlg.get(), &QDialog::reject);
    QObject::connect(lst, &QListWidget::itemDoubleClicked, dlg.get(), &QDialog::accept);
    auto* v = new QVBoxLayout(dlg.get());
    v->addWidget(lst);
    v->addWidget(buttons);
    if (execModal(dlg.get()) != QDialog::Accepted || !lst->currentItem()) return std::nullopt;
    return lst->currentItem()->data(Qt::UserRole).toInt();
}
}  // namespace

std::optional<int> ChooseFromBook(const QString& bookName, TClientDataSet& list, const QString& shownField,
                                  int kindDocId) {
    auto* book = Window<QDialog>(bookName);
    QAction* enter = book ? book->findChild<QAction*>(QStringLiteral("acEnter")) : nullptr;
    if (!enter || !book->property("SelectedID").isValid()) return plainChooser(bookName, list, shownField);
    enter->setVisible(true);
    if (kindDocId != 0) book->setProperty("KindDocID", kindDocId);
    if (execModal(book) != QDialog::Accepted) return std::nullopt;
    return book->property("SelectedID").toInt();
}
