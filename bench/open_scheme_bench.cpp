// Opens a scheme of 61 devices (one at every address that has catalogue rows, with their real
// frames) in a shown window and prints the milliseconds from the open command until the
// devices' frames are built and drawn: five openings, each in a fresh window.
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
    std::printf("open a %zu-device scheme with its frames: first %.1f ms, median of 5 %.1f ms (goal 200 ms)\n",
                FirstRowOfEachAddress().size(), ms.front(), Median(ms));
    bench.form.reset();
    return 0;
}
