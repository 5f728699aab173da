// The programs as a user or a script starts them: help and version without a display, and a
// demo run whose simulator never outlives the tool, however the tool ends.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest>

#include <csignal>

namespace {

// The children of a process, from /proc.
QList<qint64> childrenOf(qint64 pid) {
    QFile file(QStringLiteral("/proc/%1/task/%1/children").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<qint64> pids;
    for (const QByteArray &field : file.readAll().simplified().split(' ')) {
        if (!field.isEmpty())
            pids << field.toLongLong();
    }
    return pids;
}

bool alive(qint64 pid) {
    // A zombie no longer runs; its parent (this test, after a re-parenting: init) reaps it.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const int close = text.lastIndexOf(')');
    return close > 0 && text.mid(close + 2, 1) != "Z";
}

} // namespace

class TestProcesses : public QObject {
    Q_OBJECT

private slots:
    void helpAndVersionNeedNoDisplay() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        const QList<QPair<QStringList, QString>> runs = {
            {{ZELTOOL_PATH, "--help"}, "--demo"},
            {{ZELTOOL_PATH, "--version"}, "zeltool " ZELTOOL_VERSION},
            {{ZELSIM_PATH, "--version"}, "zelsim " ZELTOOL_VERSION},
        };
        for (const auto &[command, expected] : runs) {
            QProcess process;
            process.setProcessEnvironment(env);
            process.start(command.first(), command.mid(1));
            QVERIFY(process.waitForFinished(10000));
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(process.exitCode(), 0);
            QVERIFY2(process.readAllStandardOutput().contains(expected.toUtf8()),
                     qPrintable(command.join(' ')));
        }
    }

    void demoSimulatorEndsWithTheTool() {
        for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGKILL}) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            QProcess tool;
            tool.setProcessEnvironment(env);
            tool.start(ZELTOOL_PATH, {QStringLiteral("--demo")});
            QVERIFY(tool.waitForStarted(10000));
            QList<qint64> children;
            QTRY_VERIFY_WITH_TIMEOUT(!(children = childrenOf(tool.processId())).isEmpty(), 10000);
            const qint64 simulator = children.first();
            QTest::qWait(300); // the window is up and its event loop runs
            ::kill(pid_t(tool.processId()), signal);
            QVERIFY(tool.waitForFinished(10000));
            if (signal != SIGKILL) {
                QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
                QCOMPARE(tool.exitCode(), 0);
            }
            QTRY_VERIFY_WITH_TIMEOUT(!alive(simulator), 5000);
        }
    }
};

QTEST_GUILESS_MAIN(TestProcesses)
#include "test_processes.moc"
