#include "db/DbCreate.h"

#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QFile>
#include <QFileInfo>
#include <stdexcept>

static void initDbResources() { Q_INIT_RESOURCE(dbscripts); }

namespace obrixdb {

namespace {

QString readResource(const QString& name) {
    initDbResources();
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("missing resource " + name.toStdString());
    return QString::fromUtf8(f.readAll());
}

}  // namespace

QString schemaScript() { return readResource(QStringLiteral(":/db/schema.sql")); }
QString dataScript() { return readResource(QStringLiteral(":/db/data.sql")); }

std::unique_ptr<fb::Attachment> createDatabaseAttached(const QString& path) {
    if (!fb::isNetworkDatabase(path) && QFileInfo::exists(path))
        throw std::runtime_error(QStringLiteral("Файл базы данных уже существует: %1").arg(path).toStdString());
    auto att = fb::Attachment::create(path);
    // Definitions are committed one by one; the rows go in one transaction after them.
    runScript(*att, schemaScript(), false);
    runScript(*att, dataScript(), true);
    return att;
}

void createDatabase(const QString& path) {
    auto att = createDatabaseAttached(path);
    att->close();
}

void refreshStatistics(fb::Attachment& att) {
    fb::Transaction tra(att);
    fb::exec(tra, QStringLiteral("EXECUTE PROCEDURE P_SET_STATISTICS"));
    tra.commit();
}

}  // namespace obrixdb
