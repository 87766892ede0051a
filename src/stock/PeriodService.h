#pragma once
// Creating, closing, reopening and deleting work periods over the management
// window's list (cdsPeriod), with what each change does to the current work
// period in GL. No widgets: the window asks the questions and shows results.
//
// Errors of the procedure calls (GET_RPERIOD_ID, P_PERIOD_CLOSE,
// P_PERIOD_OPEN) are thrown. A refused apply of a created or deleted period
// is undone in the list and returned as TPeriodOutcome::Refused with the
// error's text; GL keeps what the database holds.
#include "stock/PeriodRules.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class TClientDataSet;
class TStoredProc;

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

    // Draws an ID, then appends a period after the last one (no question) or,
    // with an empty list, with the dates `askDates` gives; applies at once.
    TPeriodOutcome create(const AskDates& askDates);
    // Closes the selected period; RPeriodOpen becomes false when it is current.
    TPeriodOutcome closeSelected();
    // Reopens the selected period; RPeriodOpen becomes true when it is current.
    TPeriodOutcome reopenSelected();
    // Deletes the selected period with its documents; RPeriodID becomes -1
    // when it was the current one.
    TPeriodOutcome deleteSelected();
    // Rereads the list, staying on the same ID.
    void reload();

    // The procedure callers.
    TStoredProc* xpGetRPeriodId;
    TStoredProc* xpPeriodClose;
    TStoredProc* xpPeriodOpen;

private:
    TPeriodOutcome noPeriods() const;
    // The current period's open flag as the reread list holds it; a current
    // period that is gone leaves none chosen.
    void followCurrentState(int id);

    TClientDataSet& m_list;
};
