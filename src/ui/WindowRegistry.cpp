#include "ui/WindowRegistry.h"

#include <QDialog>
#include <stdexcept>

WindowRegistry& WindowRegistry::instance() {
    static WindowRegistry registry;
    return registry;
}

const QStringList& WindowRegistry::creationOrder() {
    static const QStringList names = {
        QStringLiteral("frmMain"),        QStringLiteral("DM"),
        QStringLiteral("frmAbout"),       QStringLiteral("frmDocu"),
        QStringLiteral("frmDocs"),        QStringLiteral("frmSelectRep"),
        QStringLiteral("frmOptions"),     QStringLiteral("frmNewZakazch"),
        QStringLiteral("frmNewOperator"), QStringLiteral("frmNewProduct"),
        QStringLiteral("frmNewColor"),    QStringLiteral("frmNewMaterial"),
        QStringLiteral("frmNewUsluga"),   QStringLiteral("frmNewComment"),
        QStringLiteral("frmBookZakazch"), QStringLiteral("frmBookColor"),
        QStringLiteral("frmBookMaterial"), QStringLiteral("frmBookComment"),
        QStringLiteral("frmConnectDB"),   QStringLiteral("frmProduct"),
        QStringLiteral("frmUsluga"),      QStringLiteral("frmErrorDB"),
        QStringLiteral("frmErrorMes"),    QStringLiteral("frmOptionsUchet"),
        QStringLiteral("frmRpSummaKvit"), QStringLiteral("frmNewGroup"),
        QStringLiteral("frmNewTovar"),    QStringLiteral("frmRpUslugaKind"),
        QStringLiteral("frmBookProduct"), QStringLiteral("frmBookOperator"),
        QStringLiteral("frmChooseOperator"), QStringLiteral("frmPeriodMan"),
        QStringLiteral("frmPeriodNew"),   QStringLiteral("frmBookTovar"),
        QStringLiteral("frmBookUsluga"),  QStringLiteral("frmNewDoc"),
        QStringLiteral("frmChoosePeriod"), QStringLiteral("frmTovar"),
        QStringLiteral("frmNewUslTov"),   QStringLiteral("frmRpPrihod"),
        QStringLiteral("frmSelGroup"),    QStringLiteral("frmSelTovar"),
        QStringLiteral("frmRpRashod"),    QStringLiteral("frmRpNalich"),
        QStringLiteral("frmNewItem"),     QStringLiteral("frmExport"),
        QStringLiteral("frmSelFields"),   QStringLiteral("frmImport"),
        QStringLiteral("frmProgress"),    QStringLiteral("frmEximTT"),
        QStringLiteral("frmRpKartaZak"),  QStringLiteral("frmRpRealiz"),
        QStringLiteral("frmZakazchInfo"),
    };
    return names;
}

bool WindowRegistry::isKnownName(const QString& name) {
    return creationOrder().contains(name);
}

void WindowRegistry::registerFactory(const QString& name, Factory factory) {
    if (!isKnownName(name))
        throw std::invalid_argument(("unknown window instance: " + name).toStdString());
    m_factories.insert(name, std::move(factory));
}

void WindowRegistry::clearFactories() {
    m_factories.clear();
}

bool WindowRegistry::hasFactory(const QString& name) const {
    return m_factories.contains(name);
}

QDialog* WindowRegistry::makeShell(const QString& name) {
    auto* dialog = new QDialog;
    dialog->setObjectName(name);
    return dialog;
}

void WindowRegistry::createAll() {
    if (m_created) return;
    m_created = true;
    m_createdNames.clear();
    for (const QString& name : creationOrder()) {
        const auto it = m_factories.constFind(name);
        QObject* obj = nullptr;
        if (it != m_factories.constEnd() && *it) {
            obj = (*it)();
        } else if (name == QLatin1String("DM")) {
            obj = new QObject;
        } else {
            obj = makeShell(name);
        }
        if (!obj) continue;
        obj->setObjectName(name);
        m_objects.append({name, QPointer<QObject>(obj)});
        m_createdNames << name;
    }
}

void WindowRegistry::destroyAll() {
    m_destroyedNames.clear();
    while (!m_objects.isEmpty()) {
        auto entry = m_objects.takeLast();
        m_destroyedNames << entry.first;
        delete entry.second.data();  // null when it went away by itself
    }
    m_created = false;
}

QObject* WindowRegistry::object(const QString& name) const {
    for (const auto& entry : m_objects)
        if (entry.first == name) return entry.second.data();
    return nullptr;
}
