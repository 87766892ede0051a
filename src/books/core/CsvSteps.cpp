#include "books/core/CsvSteps.h"

namespace books::csv {

std::optional<CsvOutcome> RunExport(CsvExportSession& session, const ExchangeSteps& steps) {
    if (!steps.choose(session)) return std::nullopt;
    return session.run(steps.separator, steps.progress);
}

std::optional<CsvOutcome> RunImport(CsvImportSession& session, const ExchangeSteps& steps) {
    if (session.bookHoldsRows() && !steps.importIntoRows()) return std::nullopt;
    if (!steps.choose(session)) return std::nullopt;
    return session.run(steps.progress);
}

}  // namespace books::csv
