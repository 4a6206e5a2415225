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

#include "support/HostileFiles.h"
#include "support/RunEvents.h"

namespace {

QString ProgramPath()
{
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../Mirvane2"));
}

// User plus system CPU time of a process in seconds; negative when unreadable.
double CpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    // Fields after the command's closing parenthesis: state is field 3, utime 14, stime 15.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() < 13 ? -1 : (fields[11].toDouble() + fields[12].toDouble()) / double(sysconf(_SC_CLK_TCK));
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
    QFile document(home.filePath(QStringLiteral("doc.mvs")));
    ASSERT_TRUE(document.open(QIODevice::WriteOnly) && document.write("MV02\0\0\0", 7) == 7);
    document.close();
    ASSERT_TRUE(MakeFifo(home.filePath(QStringLiteral("fifo.mvs"))) && MakeFifo(home.filePath(QStringLiteral("doc.mvi"))));
    const TFifoGuard guard({home.filePath(QStringLiteral("fifo.mvs")), home.filePath(QStringLiteral("doc.mvi"))});
    for (const char* last : {"fifo.mvs", "doc.mvs"}) {
        QFile settings(home.filePath(QStringLiteral("Mirvane2.ini")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(QByteArray("[LASTFILES]\nFile1=") + last + "\n");
        settings.close();
        QProcess program;
        ASSERT_TRUE(StartUntilWindow(program, home.path(), ttyDir.path())) << last;
        // A guard against a busy loop, not a speed test: idle for 3 s, it uses well under 10 %.
        const double before = CpuSeconds(program.processId());
        RunEventsFor(3000);
        ASSERT_GE(before, 0);
        EXPECT_LT(CpuSeconds(program.processId()) - before, 0.3) << last;
        // SIGTERM closes the window as the user does; the program ends with status 0.
        ::kill(pid_t(program.processId()), SIGTERM);
        ASSERT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().constData();
    }
    EXPECT_EQ(FileType(home.filePath(QStringLiteral("doc.mvi"))), unsigned(S_IFIFO));
    EXPECT_FALSE(guard.Released()) << "the program waited on a FIFO";
}
