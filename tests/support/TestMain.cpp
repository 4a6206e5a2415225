// Shared main of every test binary: an offscreen QApplication (widgets may be driven) and the
// C numeric locale, as the program sets it.
#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

#include "platform/Numbers.h"

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    SetDecimalSeparator('.');
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
