#pragma once
// The body of every test binary's main: an offscreen application of the given class (widgets
// may be driven) and the C numeric locale, as the program sets it. A binary that needs the
// program's own application class defines its main with it.
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

#include "platform/Numbers.h"

template <class TApp> int RunTests(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);   // unless the environment names a platform
    TApp app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    SetDecimalSeparator('.');
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
