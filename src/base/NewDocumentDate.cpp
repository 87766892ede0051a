#include "base/NewDocumentDate.h"

QDate NewDocumentDate(const QDate& today, const QDate& periodFirst, const QDate& periodLast) {
    if (periodLast.isValid() && today > periodLast) return periodLast;
    if (periodFirst.isValid() && today < periodFirst) return periodFirst;
    return today;
}
