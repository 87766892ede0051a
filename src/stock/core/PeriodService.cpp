#include "stock/core/PeriodService.h"

#include "data/ClientDataSet.h"
#include "data/DataSetRoutines.h"
#include "data/DataErrors.h"
#include "data/StoredProc.h"

namespace {
const QString kId = QStringLiteral("ID");
const QString kDate2 = QStringLiteral("DATE_2");
const QString kAct = QStringLiteral("ACT");
}  // namespace

PeriodService::PeriodService(TClientDataSet& list, QObject* parent) : QObject(parent), m_list(list) {
    setObjectName(QStringLiteral("PeriodService"));
    xpGetRPeriodId = new TStoredProc(this, QStringLiteral("xpGetRPeriodId"));
    xpGetRPeriodId->setStoredProcName(QStringLiteral("GET_RPERIOD_ID"));
    xpPeriodClose = new TStoredProc(this, QStringLiteral("xpPeriodClose"));
    xpPeriodClose->setStoredProcName(QStringLiteral("P_PERIOD_CLOSE"));
    xpPeriodOpen = new TStoredProc(this, QStringLiteral("xpPeriodOpen"));
    xpPeriodOpen->setStoredProcName(QStringLiteral("P_PERIOD_OPEN"));
}

void PeriodService::ensureOpen() {
    if (!m_list.isActive()) m_list.open();
}

bool PeriodService::hasPeriods() const { return m_list.isActive() && !m_list.isEmpty(); }

int PeriodService::selectedId() const {
    if (!hasPeriods()) return 0;
    return m_list.fieldByName(kId).asInteger();
}

std::optional<TPeriodOutcome> PeriodService::missingPeriods(TCurrentPeriod current) {
    ensureOpen();
    if (hasPeriods()) return std::nullopt;
    return noPeriods(current);
}

TPeriodOutcome PeriodService::noPeriods(TCurrentPeriod current) const {
    return {TPeriodOutcome::NoPeriods, NoPeriodsText(), 0, current};
}

TPeriodOutcome PeriodService::create(const AskDates& askDates, TCurrentPeriod current) {
    ensureOpen();
    m_list.checkBrowseMode();
    const int rows = m_list.recordCount();

    // The ID is drawn first: a cancelled dialog still uses one up.
    xpGetRPeriodId->execute();
    const int id = int(xpGetRPeriodId->paramByName(kId).toInt());

    TPeriodDates dates;
    if (rows > 0) {
        m_list.last();
        dates = NextPeriodDates(m_list.fieldByName(kDate2).asDate());
    } else {
        const std::optional<TPeriodDates> asked = askDates ? askDates() : std::nullopt;
        if (!asked) return {TPeriodOutcome::Cancelled, QString(), id, current};
        dates = *asked;
    }

    m_list.append();
    m_list.fieldByName(kId).setAsInteger(id);
    m_list.fieldByName(QStringLiteral("DATE_1")).setAsDate(dates.date1);
    m_list.fieldByName(kDate2).setAsDate(dates.date2);
    m_list.fieldByName(kAct).setAsString(kPeriodOpenAct);
    m_list.fieldByName(QStringLiteral("DOCU_CNT")).setAsInteger(0);
    m_list.fieldByName(QStringLiteral("DOCS_CNT")).setAsInteger(0);
    if (rows == 0)
        m_list.fieldByName(QStringLiteral("SUM_OST")).setAsDecimal(fb::Decimal());
    else
        m_list.fieldByName(QStringLiteral("SUM_OST")).clear();
    m_list.fieldByName(QStringLiteral("SUM_OST1")).clear();
    m_list.post();

    if (m_list.applyUpdates() != 0) {
        const QString error = m_list.lastApplyError();
        m_list.cancelUpdates();  // the list shows what the database holds
        return {TPeriodOutcome::Refused, error, id, current};
    }
    m_list.locate(kId, fb::Value(id));
    return {TPeriodOutcome::Done, QString(), id, current};
}

TCurrentPeriod PeriodService::followCurrentState(int id, TCurrentPeriod current) {
    if (id != current.id) return current;
    // The reread row tells the state the database now holds.
    if (m_list.locate(kId, fb::Value(id)))
        current.open = m_list.fieldByName(kAct).asString().trimmed() == kPeriodOpenAct;
    else
        current.id = -1;  // deleted elsewhere meanwhile: no period is chosen
    return current;
}

TPeriodOutcome PeriodService::closeSelected(TCurrentPeriod current) {
    ensureOpen();
    if (!hasPeriods()) return noPeriods(current);
    const int id = selectedId();
    const QDate date2 = PeriodCloseDate(m_list.fieldByName(kDate2).asDate());
    xpPeriodClose->clearParams();
    xpPeriodClose->setParam(QStringLiteral("RP_ID"), id);
    xpPeriodClose->setParam(QStringLiteral("DATE_2"), date2);
    xpPeriodClose->execute();
    RefreshAndLocate(m_list);
    return {TPeriodOutcome::Done, QString(), id, followCurrentState(id, current)};
}

TPeriodOutcome PeriodService::reopenSelected(TCurrentPeriod current) {
    ensureOpen();
    if (!hasPeriods()) return noPeriods(current);
    const int id = selectedId();
    xpPeriodOpen->clearParams();
    xpPeriodOpen->setParam(QStringLiteral("RP_ID"), id);
    xpPeriodOpen->execute();
    RefreshAndLocate(m_list);
    return {TPeriodOutcome::Done, QString(), id, followCurrentState(id, current)};
}

TPeriodOutcome PeriodService::deleteSelected(TCurrentPeriod current) {
    ensureOpen();
    if (!hasPeriods()) return noPeriods(current);
    const int id = selectedId();
    // The database keeps the counts and sums of the row up to date; the
    // delete finds the row by every value, so it starts from fresh ones.
    RefreshAndLocate(m_list);
    if (!m_list.locate(kId, fb::Value(id))) {
        // Deleted elsewhere meanwhile.
        if (id == current.id) current.id = -1;
        return {TPeriodOutcome::Refused, ERecordChanged::text(), id, current};
    }
    m_list.deleteRecord();
    if (m_list.applyUpdates() != 0) {
        const QString error = m_list.lastApplyError();
        m_list.cancelUpdates();  // the row comes back: it is still in the database
        m_list.locate(kId, fb::Value(id));
        return {TPeriodOutcome::Refused, error, id, current};
    }
    if (id == current.id) current.id = -1;
    // The database works the later periods' figures out again: show them.
    RefreshAndLocate(m_list);
    return {TPeriodOutcome::Done, QString(), id, current};
}

void PeriodService::reload() {
    if (!m_list.isActive()) {
        m_list.open();
        return;
    }
    RefreshAndLocate(m_list);
}
