#pragma once
// Creating, closing, reopening and deleting work periods over the management
// window's list (cdsPeriod), with what each change does to the current work
// period: each command is given the current period and returns it as the
// change leaves it. No widgets, no global records: the window asks the
// questions, shows the results and keeps the current period.
//
// Errors of the procedure calls (GET_RPERIOD_ID, P_PERIOD_CLOSE,
// P_PERIOD_OPEN) are thrown. A refused apply of a created or deleted period
// is undone in the list and returned as TPeriodOutcome::Refused with the
// error's text; the current period returned is what the database holds.
#include "stock/core/PeriodRules.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class TClientDataSet;
class TStoredProc;

// The current work period as the program keeps it: its ID (-1 when none is
// chosen) and whether it is open.
struct TCurrentPeriod {
    int id = -1;
    bool open = false;
};

struct TPeriodOutcome {
    enum Kind {
        Done,       // the change is in the database
        Cancelled,  // the user gave no dates
        NoPeriods,  // the list is empty: message says why nothing was done
        Refused,    // the database refused the apply: message is its error
    };
    Kind kind = Done;
    QString message;
    int periodId = 0;  // the period acted on (the new one for create)
    TCurrentPeriod current;  // the current period after the change

    bool ok() const { return kind == Done; }
};

class PeriodService : public QObject {
    Q_OBJECT
public:
    // Dates asked of the user for the very first period; nullopt: cancelled.
    using AskDates = std::function<std::optional<TPeriodDates>()>;

    // `list` is the period list (cdsPeriod); the service opens it when needed.
    explicit PeriodService(TClientDataSet& list, QObject* parent = nullptr);

    TClientDataSet& list() const { return m_list; }
    // Opens the list when it is closed.
    void ensureOpen();
    bool hasPeriods() const;
    // ID of the selected row; 0 when the list is empty.
    int selectedId() const;
    // Opens the list when it is closed; when it has no period, the NoPeriods
    // outcome a command that needs one shows before it asks anything.
    std::optional<TPeriodOutcome> missingPeriods(TCurrentPeriod current);

    // Draws an ID, then appends a period after the last one (no question) or,
    // with an empty list, with the dates `askDates` gives; applies at once.
    // The current period is returned as it was given.
    TPeriodOutcome create(const AskDates& askDates, TCurrentPeriod current);
    // Closes the selected period; the current one is no longer open when it
    // is the one closed.
    TPeriodOutcome closeSelected(TCurrentPeriod current);
    // Reopens the selected period; the current one is open again when it is
    // the one reopened.
    TPeriodOutcome reopenSelected(TCurrentPeriod current);
    // Deletes the selected period with its documents; no period is current
    // afterwards (ID -1) when it was the current one.
    TPeriodOutcome deleteSelected(TCurrentPeriod current);
    // Rereads the list, staying on the same ID.
    void reload();

    // The procedure callers.
    TStoredProc* xpGetRPeriodId;
    TStoredProc* xpPeriodClose;
    TStoredProc* xpPeriodOpen;

private:
    TPeriodOutcome noPeriods(TCurrentPeriod current) const;
    // The current period's open flag as the reread list holds it when `id`
    // is the current one; a current period that is gone leaves none chosen.
    TCurrentPeriod followCurrentState(int id, TCurrentPeriod current);

    TClientDataSet& m_list;
};
