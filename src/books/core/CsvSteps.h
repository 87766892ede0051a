#pragma once
// The order in which the four exchange commands ask and run, without a
// window: an import into a book that holds rows asks first, then the dialog
// chooses the files, columns and separator, then the session runs. The
// window answers through the steps and shows the outcome.
#include "books/core/CsvSession.h"

#include <functional>
#include <optional>

namespace books::csv {

struct ExchangeSteps {
    std::function<bool()> importIntoRows;     // the import's question; No: nothing is done
    std::function<bool(CsvSession&)> choose;  // the dialog; false when cancelled
    SeparatorQuestion separator;              // the export's question on a value holding the separator
    CsvProgress progress;
};

// The run's outcome; none when stopped before it.
std::optional<CsvOutcome> RunExport(CsvExportSession& session, const ExchangeSteps& steps);
std::optional<CsvOutcome> RunImport(CsvImportSession& session, const ExchangeSteps& steps);

}  // namespace books::csv
