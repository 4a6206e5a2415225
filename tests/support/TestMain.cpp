// Shared main of every test binary (see TestMain.h).
#include "support/TestMain.h"

#include <QApplication>

int main(int argc, char** argv) { return RunTests<QApplication>(argc, argv); }
