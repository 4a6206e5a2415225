// Mirvane2: the program entry. The main window is not built yet; until it is, the program
// says so and ends.
#include <QCoreApplication>
#include <cstdio>

#include "model/Catalogue.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::printf("Mirvane2 %d.%d.%d: the main window is not built yet; there is no window to show.\n"
                "The device catalogue holds %d types.\n",
                MIRVANE_VERSION_MAJOR, MIRVANE_VERSION_MINOR, MIRVANE_VERSION_PATCH, DeviceCatalogueCount);
    return 0;
}
