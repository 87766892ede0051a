// The stock core's tests: no widgets, no global records, Russian locale as at
// a workstation, the data module the core's routines are handed.
#include "data/DataModule.h"

#include <QCoreApplication>
#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    ::testing::InitGoogleTest(&argc, argv);
    TDM dm;
    return RUN_ALL_TESTS();
}
