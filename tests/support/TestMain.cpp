// Shared main of every test binary (see TestMain.h).
#include <QApplication>

#include "support/TestMain.h"

int main(int argc, char** argv) { return RunTests<QApplication>(argc, argv); }
