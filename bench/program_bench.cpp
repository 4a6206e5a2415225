// The program itself, as a user starts it: the built Mirvane2, with a settings file and a
// port list of its own, opens a scheme of 61 received devices (one at every address that has
// catalogue rows) and polls them in "Диагностика датчиков" over a pty whose simulated bus paces
// every character at 9600 baud (11 bits, 1146 us), byte by byte, and echoes what it writes; the
// devices' answers change with every poll. Prints the program's CPU (all its threads) per poll
// as a share of that poll's line time, and the poll cycle against its wire-time floor.
//
//     program_bench <path of Mirvane2> [seconds]
//
// The program runs on the platform QT_QPA_PLATFORM names (offscreen when it is not set); it is
// ended as the user's close ends it (SIGTERM).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "ReceiveBench.h"
#include "line/Protocol.h"
#include "model/Scheme.h"
#include "model/SchemeFiles.h"

namespace {

// The CPU seconds a process has used so far, all its threads (user and system).
double ProcessCpu(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::size_t end = text.rfind(')');   // the command's name may hold blanks
    if (end == std::string::npos)
        return 0;
    std::istringstream fields(text.substr(end + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i >= 14)   // utime and stime
            ticks += std::stod(field);
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

void WriteText(const QString& path, const QString& text)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
}

}   // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: program_bench <path of Mirvane2> [seconds]\n");
        return 2;
    }
    const QString program = QString::fromLocal8Bit(argv[1]);
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
    QTemporaryDir dir;
    const QString ttyDir = dir.filePath(QStringLiteral("tty"));   // no serial port of the machine's
    QDir().mkpath(ttyDir);

    LineSimulator line;
    line.SetEcho(LineSimulator::Echo::Dropped);   // the paced bus echoes every character itself
    std::vector<BusDevice> devices;
    TSchemeList schemes;
    schemes.push_back(std::make_unique<TDeviceScheme>(QStringLiteral("Кран")));
    int chars = 0;
    for (int row : FirstRowOfEachAddress()) {
        const TFrameInfo& info = DeviceCatalogue[row];
        devices.push_back({row, std::vector<std::uint8_t>(static_cast<std::size_t>(info.AnswerLength - 2), 0x21), BusFault::None, true});
        schemes.back()->Objects.push_back(std::make_unique<TSchemeObject>(QString::fromUtf8(info.Model), static_cast<std::uint32_t>(row), ModeReceive));
        chars += info.RequestLength + info.AnswerLength;
    }
    line.SetDevices(devices, LineByteTimeUs);
    line.SetByteByByte(true);
    const QString scheme = dir.filePath(QStringLiteral("crane.mvs"));
    SaveSchemeFile(scheme, schemes, QString());
    const QString settings = dir.filePath(QStringLiteral("Mirvane2.ini"));
    WriteText(settings, QStringLiteral("[SETUP]\nPort=1,0,%1,2\nMode=1\n[VIEW]\nUpdateTime=0\n[LASTFILES]\nFile1=%2\n")
                            .arg(line.PortName(), scheme));

    // The program's environment is made before the fork: the child of a process with threads
    // may only start the program.
    QStringList environment = QProcessEnvironment::systemEnvironment().toStringList();
    environment << QStringLiteral("MIRVANE_TTY_CLASS_DIR=") + ttyDir << QStringLiteral("MIRVANE_SETTINGS_FILE=") + settings;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        environment << QStringLiteral("QT_QPA_PLATFORM=offscreen");
    std::vector<QByteArray> kept;
    kept.reserve(static_cast<std::size_t>(environment.size()));
    for (const QString& entry : environment)
        kept.push_back(entry.toLocal8Bit());
    std::vector<char*> envp;
    envp.reserve(kept.size() + 1);
    for (QByteArray& entry : kept)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    QByteArray path = program.toLocal8Bit();
    char* const args[] = {path.data(), nullptr};
    const pid_t child = fork();
    if (child == 0) {
        execve(path.constData(), args, envp.data());
        _exit(127);
    }
    if (child < 0) {
        std::fprintf(stderr, "the program could not be started\n");
        return 1;
    }
    const double floor = chars * LineByteTimeUs / 1e6;
    const double pollLine = floor / static_cast<double>(devices.size());
    std::printf("%s: %zu received devices, changing answers, byte by byte at %u us a character; floor of one cycle "
                "%.2f ms, mean line time of a poll %.2f ms\n",
                argv[1], devices.size(), LineByteTimeUs, floor * 1e3, pollLine * 1e3);
    QThread::sleep(5);   // started, the scheme opened, polling settled
    const long polls0 = line.Requests;
    const double cpu0 = ProcessCpu(child);
    QElapsedTimer wall;
    wall.start();
    QThread::sleep(static_cast<unsigned long>(seconds));
    const long polls = line.Requests - polls0;
    const double cpu = ProcessCpu(child) - cpu0;
    const double elapsed = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    if (polls == 0) {
        std::printf("  no poll was heard\n");
        return 1;
    }
    const double perPoll = cpu / static_cast<double>(polls);
    const double cycle = static_cast<double>(devices.size()) * elapsed / static_cast<double>(polls);
    std::printf("%.0f s, %ld polls\n", elapsed, polls);
    std::printf("  program CPU per poll: %.0f us = %.2f %% of its line time (goal <= 2 %%)\n", perPoll * 1e6, perPoll / pollLine * 100);
    std::printf("  cycle: %.2f ms = %.3f x the floor (goal <= 1.05 x)\n", cycle * 1e3, cycle / floor);
    return 0;
}
