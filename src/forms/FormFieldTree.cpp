#include "forms/FormFieldTree.h"

#include "forms/FormVocabulary.h"

#include <QStringList>

std::vector<TfrFieldTreeNode> frFormFieldTree(const QString& formFile) {
    std::vector<TfrFieldTreeNode> tree;
    const TfrFormVocabulary v = frFormVocabulary(formFile);
    if (!v.variables.isEmpty()) {
        TfrFieldTreeNode& g = tree.emplace_back(TfrFieldTreeNode{QStringLiteral("Переменные: %1").arg(v.caption), {}, {}});
        for (const QString& name : v.variables) g.children.push_back({name, name, {}});
    }
    for (const TfrVocabularyDataSet& ds : v.dataSets) {
        TfrFieldTreeNode& g = tree.emplace_back(TfrFieldTreeNode{QStringLiteral("%1 — %2").arg(ds.name, ds.caption), {}, {}});
        for (const QString& f : ds.fields) g.children.push_back({f, QStringLiteral("%1.\"%2\"").arg(ds.name, f), {}});
    }
    if (!v.known()) tree.push_back({QStringLiteral("Программа не заполняет эту форму своими данными"), {}, {}});
    TfrFieldTreeNode& g = tree.emplace_back(TfrFieldTreeNode{QStringLiteral("Отчет"), {}, {}});
    const QStringList captions = {QStringLiteral("Дата"), QStringLiteral("Время"), QStringLiteral("Номер страницы"),
                                  QStringLiteral("Всего страниц"), QStringLiteral("Номер строки")};
    const QStringList engine = frEngineVariables();
    for (int i = 0; i < engine.size(); ++i)
        g.children.push_back({QStringLiteral("%1 (%2)").arg(captions.value(i), engine[i]), engine[i], {}});
    return tree;
}
