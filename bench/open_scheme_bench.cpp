// Opens a scheme of 61 devices (one at every address that has catalogue rows, with their real
// frames) in a shown window and prints the milliseconds from the open command until the
// devices' frames are built and drawn. The figure is the first opening in the process, as a user
// who starts the program meets it (run the program five times for a median); four more, each in a
// fresh window, show what a warm process makes of it.
#include "WindowBench.h"

int main(int argc, char** argv)
{
    // NOLINTNEXTLINE(concurrency-mt-unsafe): before QApplication, no other thread yet
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    WindowBench bench;
    std::vector<double> ms;
    for (int run = 0; run < 5; ++run) {
        bench.NewWindow();
        ms.push_back(bench.OpenScheme());
        if (bench.form->Devices().size() != FirstRowOfEachAddress().size())
            std::printf("warning: %zu devices opened\n", bench.form->Devices().size());
    }
    std::printf("open a %zu-device scheme with its frames, first in the process: %.1f ms (goal <= 200 ms)\n",
                FirstRowOfEachAddress().size(), ms.front());
    std::printf("  later openings in the same process: median %.1f ms\n", Median({ms.begin() + 1, ms.end()}));
    bench.form.reset();
    return 0;
}
