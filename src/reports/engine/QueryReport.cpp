#include "reports/engine/QueryReport.h"

#include <algorithm>

void AddNoDataLine(TfrTemplate& templ) {
    if (templ.pages.empty()) return;
    TfrPage& page = templ.pages.front();
    TfrBand band;
    band.name = QStringLiteral("NoDataSummary");
    band.type = TfrBandType::ReportSummary;
    band.height = 10;
    TfrObject memo;
    memo.name = QStringLiteral("NoDataMemo");
    memo.y = 2;
    memo.width = page.contentWidth();
    memo.height = 7;
    memo.text = QString::fromUtf8(kNoDataText);
    memo.font.size = 10;
    memo.font.bold = true;
    memo.align = TfrHAlign::Center;
    // Below a summary the form has of its own.
    for (const TfrBand& b : page.bands)
        if (b.type == TfrBandType::ReportSummary) {
            memo.y += b.height;
            band.height += b.height;
            for (const TfrObject& o : b.objects) band.objects.push_back(o);
        }
    band.objects.push_back(memo);
    std::erase_if(page.bands, [](const TfrBand& b) { return b.type == TfrBandType::ReportSummary; });
    page.bands.push_back(std::move(band));
}
