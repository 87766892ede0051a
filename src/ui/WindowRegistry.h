#pragma once
// Every window of the program has one instance, created at start-up in a
// fixed order and kept until the program ends; windows reach one another by
// instance name ("frmDocu"). The data module "DM" is created second, right
// after the main window. A name with no registered factory gets a plain
// dialog shell carrying that objectName.
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QDialog;

class WindowRegistry {
public:
    using Factory = std::function<QObject*()>;

    static WindowRegistry& instance();

    // The instance names in creation order: frmMain, DM, frmAbout, ...
    static const QStringList& creationOrder();
    static bool isKnownName(const QString& name);

    // Registers how the named instance is built; replaces an earlier factory.
    // Throws std::invalid_argument for a name that is not in the list.
    void registerFactory(const QString& name, Factory factory);
    void clearFactories();
    bool hasFactory(const QString& name) const;

    // Creates every instance in creationOrder() (nothing when already done).
    // Each gets its instance name as objectName.
    void createAll();
    // Deletes the instances in the reverse order of their creation.
    void destroyAll();
    bool isCreated() const { return m_created; }
    // Names in the order they were actually created (last run of createAll).
    QStringList createdNames() const { return m_createdNames; }
    // Names in the order they were destroyed (last run of destroyAll).
    QStringList destroyedNames() const { return m_destroyedNames; }

    // The instance with that name; nullptr before creation or for an unknown name.
    QObject* object(const QString& name) const;
    template <class T>
    T* get(const QString& name) const { return dynamic_cast<T*>(object(name)); }

    // The plain shell used for windows without a factory.
    static QDialog* makeShell(const QString& name);

private:
    WindowRegistry() = default;

    QHash<QString, Factory> m_factories;
    QList<QPair<QString, QPointer<QObject>>> m_objects;  // creation order
    QStringList m_createdNames;
    QStringList m_destroyedNames;
    bool m_created = false;
};

// Shorthand: Window<TfrmDocu>("frmDocu").
template <class T>
T* Window(const QString& name) { return WindowRegistry::instance().get<T>(name); }
