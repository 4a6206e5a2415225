// The real program, headless, its port list read from an empty folder (never the machine's serial
// ports): it starts as its window, idles without spinning and ends on SIGTERM with status 0.
// A FIFO as its last document or as that document's state file does not stop it.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Files.h"
#include "support/HostileFiles.h"
#include "support/RunEvents.h"

namespace {

QString ProgramPath()
{
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../Mirvane2"));
}

// True when one of the process's threads is running or ready to run at this moment: an idle
// program's threads all wait, a busy loop's is found running nearly every time one looks.
bool AnyThreadRunning(qint64 pid)
{
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(tid + QStringLiteral("/stat")));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // The state follows the command's closing parenthesis.
        const QByteArray line = stat.readAll();
        const qsizetype at = line.lastIndexOf(')') + 2;
        if (at < line.size() && line[at] == 'R')
            return true;
    }
    return false;
}

// Starts the program headless, its port list read from the empty `ttys` and its files in `home`,
// and waits for its window; false when it ended before.
bool StartUntilWindow(QProcess& program, const QString& home, const QString& ttys)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MIRVANE_TTY_CLASS_DIR"), ttys);
    env.insert(QStringLiteral("MIRVANE_REPORT_WINDOW"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home);
    env.insert(QStringLiteral("MIRVANE_SETTINGS_FILE"), home + QStringLiteral("/Mirvane2.ini"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(home);
    program.start(ProgramPath(), {});
    QByteArray out;
    RunEventsUntil([&] {
        program.waitForReadyRead(50);
        out += program.readAllStandardOutput();
        return out.contains("window: Mirvane2Form") || program.state() == QProcess::NotRunning;
    },
                   30000);
    return out.contains("window: Mirvane2Form");
}

}   // namespace

TEST(Program, IdlesAndEndsOnSigtermWithAFifoAsLastDocumentOrStateFile)
{
    ASSERT_TRUE(QFileInfo::exists(ProgramPath())) << "build the Mirvane2 target first: " << qPrintable(ProgramPath());
    QTemporaryDir ttyDir, home;
    ASSERT_TRUE(ReplaceFile(home.filePath(QStringLiteral("doc.mvs")), QByteArray("MV02\0\0\0", 7)));
    ASSERT_TRUE(MakeFifo(home.filePath(QStringLiteral("fifo.mvs"))) && MakeFifo(home.filePath(QStringLiteral("doc.mvi"))));
    const TFifoGuard guard({home.filePath(QStringLiteral("fifo.mvs")), home.filePath(QStringLiteral("doc.mvi"))});
    for (const char* last : {"fifo.mvs", "doc.mvs"}) {
        ASSERT_TRUE(ReplaceFile(home.filePath(QStringLiteral("Mirvane2.ini")), QByteArray("[LASTFILES]\nFile1=") + last + "\n"));
        QProcess program;
        ASSERT_TRUE(StartUntilWindow(program, home.path(), ttyDir.path())) << last;
        // A guard against a busy loop, not a speed test: once started, the program waits. Of 40
        // looks, a busy loop is caught running in nearly all, an idle program in next to none.
        RunEventsFor(1000);
        int running = 0;
        for (int look = 0; look < 40; ++look) {
            running += AnyThreadRunning(program.processId()) ? 1 : 0;
            RunEventsFor(50);
        }
        EXPECT_LT(running, 20) << last;
        // SIGTERM closes the window as the user does; the program ends with status 0.
        // An ended program has no id, and a signal to 0 would reach this whole test run instead.
        const auto pid = pid_t(program.processId());
        ASSERT_GT(pid, 0) << last << ": the program ended by itself";
        ::kill(pid, SIGTERM);
        ASSERT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().constData();
    }
    EXPECT_EQ(FileType(home.filePath(QStringLiteral("doc.mvi"))), unsigned(S_IFIFO));
    EXPECT_FALSE(guard.Released()) << "the program waited on a FIFO";
}
