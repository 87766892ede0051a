#pragma once
// The date a new document starts with, for orders and stock documents alike.
#include <QDate>

// Today, or the nearest day of the work period when today lies outside it.
QDate NewDocumentDate(const QDate& today, const QDate& periodFirst, const QDate& periodLast);
