#pragma once
// A customer's orders summed by year, as the customer information shows them.
class TClientDataSet;

// The statement and the fields, declared once before the dataset opens:
// YEARP "Год", DOCU_CNT "Заказы" (the orders), IZD_CNT "Изделия" (their
// product lines), TOTAL "Сумма" (money), one row per year of acceptance in
// year order. Read-only.
void DefineCustomerOrders(TClientDataSet& ds);
// Opens it (closed first) on the customer `zakazchId`.
void OpenCustomerOrders(TClientDataSet& ds, int zakazchId);
