#pragma once
// Registers the factories of the stock windows with the window registry
// (before WindowRegistry::createAll runs): frmChoosePeriod, frmPeriodMan,
// frmPeriodNew.
void RegisterStockWindows();
