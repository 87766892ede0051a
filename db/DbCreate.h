#pragma once
// Making working databases: an empty one with the required rows, a demo
// workshop, or a large one for measurements.
#include "db/SqlScript.h"

#include <QDate>
#include <QString>
#include <functional>
#include <memory>

namespace fb { class Attachment; }

namespace obrixdb {

// The structure and the required rows, as shipped inside the library.
QString schemaScript();
QString dataScript();

// Creates the database file (it must not exist yet), its structure and the
// required rows. Throws fb::DbError, or std::runtime_error when the file exists.
void createDatabase(const QString& path);
// The same, keeping the connection open for further filling.
std::unique_ptr<fb::Attachment> createDatabaseAttached(const QString& path);

// Fills a fresh database with a small realistic workshop: reference books,
// customers, three monthly work periods ending with the month of `today`
// (the earlier two closed), orders and stock documents of every kind.
void fillDemo(fb::Attachment& att, const QDate& today = QDate::currentDate());

// Progress of long work: a stage text, done and total steps of that stage.
using Progress = std::function<void(const QString& stage, int done, int total)>;

// Fills a fresh database with `years` years of monthly periods ending with the
// month of `today` (all but the last closed): 5,000 goods, 2,000 customers,
// about 20,000 orders and 40,000 stock lines a year.
void fillBench(fb::Attachment& att, int years, const Progress& progress = {},
               const QDate& today = QDate::currentDate());

// Recomputes the statistics of every index (P_SET_STATISTICS) so that a
// database just filled plans its joins by what it holds; the fillers above end
// with it, and closing a period runs it too.
void refreshStatistics(fb::Attachment& att);

}  // namespace obrixdb
