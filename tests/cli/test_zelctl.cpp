#include "tests/support/ZelctlProcess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

// zelctl as a script runs it, against zelsim on a pseudo-terminal.
class TestZelctl : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void settingsRoundTripThroughAFile();
    void refusalsUsageAndLinkFailuresHaveTheirExitCodes();
    void carelessAndHostileUse_data();
    void carelessAndHostileUse();
    void stopSignalLeavesNoFile();

private:
    void startSimulator(const QStringList &options = {});
    using Result = ZelctlResult;
    Result zelctl(const QStringList &arguments);
    QString simulatorLog();

    QTemporaryDir dir_;
    QProcess sim_;
    QString pty_;
    QString log_;
    int simulators_ = 0;
    int rows_ = 0;
};

void TestZelctl::init() {
    QVERIFY(dir_.isValid());
}

void TestZelctl::cleanup() {
    if (sim_.state() != QProcess::NotRunning) {
        sim_.terminate();
        sim_.waitForFinished(5000);
    }
}

void TestZelctl::startSimulator(const QStringList &options) {
    // Each simulator logs to a file of its own.
    log_ = dir_.filePath(QStringLiteral("sim%1.log").arg(++simulators_));
    pty_ = startZelsim(sim_, ZELSIM_PATH, log_, options);
    QVERIFY2(pty_.startsWith("/dev/pts/"), qPrintable(pty_));
}

TestZelctl::Result TestZelctl::zelctl(const QStringList &arguments) {
    // The tool settings file is looked for beside the program; none here, so German.
    return runZelctl(ZELCTL_PATH, pty_, arguments);
}

QString TestZelctl::simulatorLog() {
    QFile log(log_);
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

void TestZelctl::settingsRoundTripThroughAFile() {
    startSimulator();
    const QString file = dir_.filePath("plant.zel");
    Result r = zelctl({"read", "-o", file});
    QCOMPARE(r.code, 0);
    QFile zel(file);
    QVERIFY(zel.open(QIODevice::ReadOnly));
    QString text = QString::fromLatin1(zel.readAll());
    zel.close();
    QVERIFY2(text.contains("WarnPup=200"), qPrintable(text));
    QVERIFY(text.contains("Password=0000"));

    // The file differs in one setting, written as a person would type it.
    text.replace("WarnPup=200", "WarnPup=150.0");
    QVERIFY(zel.open(QIODevice::WriteOnly | QIODevice::Truncate));
    zel.write(text.toLatin1());
    zel.close();
    r = zelctl({"diff", file});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.out.startsWith("WarnPup") && r.out.count('\n') == 1, qPrintable(r.out));

    // Sent, read back and compared by value: "150.0" went out, "150" came back.
    r = zelctl({"write", file, "--verify"});
    QVERIFY2(r.code == 0, qPrintable(r.out + r.err));
    QVERIFY(r.out.contains("verified"));
    QVERIFY(simulatorLog().contains(">WarnPup 150.0"));
    QVERIFY(simulatorLog().contains("SaveSet"));
    QCOMPARE(zelctl({"diff", file}).code, 0);

    // The machine-readable shape, captions in the language asked for.
    r = zelctl({"--json", "--lang", "en", "read"});
    QCOMPARE(r.code, 0);
    const QJsonObject read = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(read.value("port").toString(), QString("COM1"));
    QCOMPARE(read.value("device").toString(), pty_);
    const QJsonArray settings = read.value("settings").toArray();
    QCOMPARE(settings.size(), 50);
    const QJsonObject warnPup = settings.at(11).toObject();
    QCOMPARE(warnPup.value("name").toString(), QString("WarnPup"));
    QCOMPARE(warnPup.value("value").toString(), QString("150"));
    QCOMPARE(warnPup.value("caption").toString(), QString("Warning int. pressure: Value top [Pa]"));
    const QJsonObject unitP = settings.at(31).toObject();
    QCOMPARE(unitP.value("name").toString(), QString("UnitP"));
    QCOMPARE(unitP.value("value").toInt(), 0);
    QCOMPARE(unitP.value("shown").toString(), QString("Pa"));

    // Single settings: a unit list is read together with the mode that gives it its meaning.
    r = zelctl({"--json", "get", "unitin2", "WarnPup"});
    QCOMPARE(r.code, 0);
    const QJsonArray got =
        QJsonDocument::fromJson(r.out.toUtf8()).object().value("settings").toArray();
    QCOMPARE(got.size(), 2);
    QCOMPARE(got.at(0).toObject().value("name").toString(), QString("UnitIN2"));
    QCOMPARE(got.at(0).toObject().value("shown").toString(), QString("%rF"));
    QVERIFY(simulatorLog().contains("?ExtPress"));
}

void TestZelctl::refusalsUsageAndLinkFailuresHaveTheirExitCodes() {
    startSimulator();
    // The device refuses: every refused setting is named, the rest still goes out and is saved.
    Result r = zelctl({"set", "WarnPup=abc", "WarnPdown=-150"});
    QCOMPARE(r.code, 1);
    QCOMPARE(r.out, QString("refused: WarnPup\n"));
    QVERIFY(r.err.contains("Nicht alle Daten"));
    QVERIFY(simulatorLog().contains(">WarnPdown -150"));
    QVERIFY(simulatorLog().contains("SaveSet"));

    r = zelctl({"--json", "set", "Sound=1"});
    QCOMPARE(r.code, 0);
    QCOMPARE(QJsonDocument::fromJson(r.out.toUtf8()).object().value("refused").toArray().size(), 0);

    // Usage and file errors: nothing reaches the device.
    const QString before = simulatorLog();
    QCOMPARE(zelctl({"bogus"}).code, 3);
    QCOMPARE(zelctl({"--bogus", "read"}).code, 3);
    QCOMPARE(zelctl({"set", "Sound=7"}).code, 3);
    QCOMPARE(zelctl({"set", "DeviceAdr=2"}).code, 3);
    QCOMPARE(zelctl({"set", "NoSuchSetting=1"}).code, 3);
    QCOMPARE(zelctl({"write", dir_.filePath("missing.zel")}).code, 3);
    QCOMPARE(zelctl({"factory", "300"}).code, 3);
    // A value holding a control character would split a command line.
    const QString unsafe = dir_.filePath("unsafe.zel");
    QFile file(unsafe);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Warnings]\r\nWarnPup=1\x1b"
               "2\r\n");
    file.close();
    r = zelctl({"write", unsafe});
    QCOMPARE(r.code, 3);
    QVERIFY2(r.err.contains("WarnPup"), qPrintable(r.err));
    QCOMPARE(simulatorLog(), before);

    // Link failures: a device that is no serial port (one that is not there is a usage error,
    // see carelessAndHostileUse), a device that stops answering.
    r = zelctl({"--port", "/dev/null", "read"});
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains("/dev/null"), qPrintable(r.err));
    cleanup();
    startSimulator({"--silent-from", "3"});
    r = zelctl({"--reply-timeout", "200", "read", "-o", dir_.filePath("never.zel")});
    QCOMPARE(r.code, 2);
    QVERIFY(!QFile::exists(dir_.filePath("never.zel")));
}

namespace {

// The processor time a process has used so far, in clock ticks (-1 when it is gone).
long cpuTicks(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    // The name in parentheses may hold blanks: the fields are counted after its end.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields.at(11).toLong() + fields.at(12).toLong() : -1;
}

// What stands at the target of a row before zelctl runs.
enum class Target { None, Fifo, DeviceNode, DanglingLink, Pdf };

struct Snapshot {
    bool exists = false;
    mode_t type = 0;
    QByteArray bytes;
    bool operator==(const Snapshot &other) const {
        return exists == other.exists && type == other.type && bytes == other.bytes;
    }
};

Snapshot snapshotOf(const QString &path) {
    Snapshot shot;
    struct stat entry {};
    if (::lstat(QFile::encodeName(path).constData(), &entry) != 0)
        return shot;
    shot.exists = true;
    shot.type = entry.st_mode & S_IFMT;
    if (S_ISREG(entry.st_mode)) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            shot.bytes = file.readAll();
    }
    return shot;
}

} // namespace

void TestZelctl::carelessAndHostileUse_data() {
    QTest::addColumn<QStringList>("arguments"); // {pty}, {target}, {file} are filled in
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("fullOutput"); // standard output on /dev/full
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("sends"); // whether the device may hear anything
    QTest::addColumn<QString>("err");
    QTest::addColumn<QString>("out");

    const QStringList report{"--lang", "en", "report", "--from", "{file}", "-o", "{target}"};
    // Special files are never replaced, and a link leading nowhere counts as there.
    QTest::newRow("report onto a pipe") << report + QStringList{"--force"} << int(Target::Fifo)
                                        << false << 3 << false << "not a regular file"
                                        << "";
    QTest::newRow("report onto a device node")
        << report + QStringList{"--force"} << int(Target::DeviceNode) << false << 3 << false
        << "not a regular file"
        << "";
    QTest::newRow("report onto a dangling link")
        << report << int(Target::DanglingLink) << false << 3 << false << "exists"
        << "";
    QTest::newRow("report onto a dangling link, forced")
        << report + QStringList{"--force"} << int(Target::DanglingLink) << false << 3 << false
        << "not a regular file"
        << "";
    QTest::newRow("report to standard output")
        << QStringList{"report", "--from", "{file}", "-o", "-"} << int(Target::None) << false << 0
        << false << ""
        << "%PDF-";
    // A port named on the command line is that port or nothing.
    for (const char *port : {"COM99", "COM0", "COM17", "", "/dev/zel-not-there"})
        QTest::newRow(qPrintable(QStringLiteral("port \"%1\"").arg(port)))
            << QStringList{"--port", port, "set", "WarnPup=150"} << int(Target::None) << false << 3
            << false << "--port"
            << "";
    // A failed write to standard output is a failure.
    QTest::newRow("read to a full disk") << QStringList{"--lang", "en", "read"} << int(Target::None)
                                         << true << 3 << true << "standard output (ENOSPC)"
                                         << "";
    QTest::newRow("watch to a full disk")
        << QStringList{"--lang", "fr", "watch", "--csv", "--interval", "0.01"} << int(Target::None)
        << true << 3 << true << "sortie standard (ENOSPC)"
        << "";
    QTest::newRow("report to a full disk")
        << QStringList{"report", "--from", "{file}", "-o", "-"} << int(Target::None) << true << 3
        << false << "Standardausgabe"
        << "";
    // Settings go into settings files only.
    QTest::newRow("read into a PDF")
        << QStringList{"--lang", "en", "read", "-o", "{target}"} << int(Target::Pdf) << false << 3
        << false << "Cannot write to {target} (not a text file)"
        << "";
    QTest::newRow("write a PDF") << QStringList{"--lang", "en", "write", "{target}"}
                                 << int(Target::Pdf) << false << 3 << false
                                 << "Cannot read {target} (not a text file)"
                                 << "";
    // Arguments at their edges.
    QTest::newRow("empty -o") << QStringList{"read", "-o", ""} << int(Target::None) << false << 3
                              << false << "-o"
                              << "";
    for (const char *interval : {"1e12", "inf", "nan", "-1", "0"})
        QTest::newRow(qPrintable(QStringLiteral("watch --interval %1").arg(interval)))
            << QStringList{"watch", "--interval", interval} << int(Target::None) << false << 3
            << false << "--interval"
            << "";
    // Control characters from files and arguments never reach the terminal raw.
    QTest::newRow("file value with an escape")
        << QStringList{"diff", "{file}"} << int(Target::None) << false << 1 << true << ""
        << "file 2\\x1b[2J00";
    QTest::newRow("file value with an escape, JSON")
        << QStringList{"--json", "diff", "{file}"} << int(Target::None) << false << 1 << true << ""
        << "2\\u001b[2J00";
    QTest::newRow("value with an escape, in English")
        << QStringList{"--lang", "en", "write", "{file}"} << int(Target::None) << false << 3
        << false << "This value holds a control character"
        << "";
    QTest::newRow("setting name with an escape")
        << QStringList{"set", "\x1b]0;pwned\x07=1"} << int(Target::None) << false << 3 << false
        << "unknown setting \"\\x1b]0;pwned\\x07\""
        << "";
}

// zelctl in careless and hostile hands: what it refuses leaves files and device as they were,
// failures are failures, and nothing from outside steers the terminal.
void TestZelctl::carelessAndHostileUse() {
    QFETCH(QStringList, arguments);
    QFETCH(int, target);
    QFETCH(bool, fullOutput);
    QFETCH(int, code);
    QFETCH(bool, sends);
    QFETCH(QString, err);
    QFETCH(QString, out);
    if (Target(target) == Target::DeviceNode && ::geteuid() != 0)
        QSKIP("a device node needs root");
    startSimulator();

    // A configuration whose WarnPup holds a terminal escape; every other value as the device's.
    const QString file = dir_.filePath("escape.zel");
    QVERIFY(zelctl({"read", "-o", file}).code == 0);
    QFile zel(file);
    QVERIFY(zel.open(QIODevice::ReadOnly));
    QByteArray text = zel.readAll();
    zel.close();
    text.replace("WarnPup=200", "WarnPup=2\x1b[2J00");
    QVERIFY(zel.open(QIODevice::WriteOnly | QIODevice::Truncate));
    zel.write(text);
    zel.close();

    // Each row its own names: the folder lives as long as the test.
    ++rows_;
    const QString path = dir_.filePath(QStringLiteral("target%1").arg(rows_));
    const QString linked = dir_.filePath(QStringLiteral("linked%1.pdf").arg(rows_));
    switch (Target(target)) {
    case Target::None:
        break;
    case Target::Fifo:
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        break;
    case Target::DeviceNode:
        // A private node of the null device: replacing it would harm nothing else.
        QVERIFY(::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0);
        break;
    case Target::DanglingLink:
        QVERIFY(QFile::link(linked, path));
        break;
    case Target::Pdf: {
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.write(
            QByteArray("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<< /Length 4 >>\nstream\n\0\0\x01"
                       "\x02\nendstream\nendobj\n%%EOF\n",
                       70));
        break;
    }
    }
    const Snapshot before = snapshotOf(path);
    const QString logBefore = simulatorLog();

    QStringList filled;
    for (QString argument : std::as_const(arguments))
        filled << argument.replace("{pty}", pty_).replace("{target}", path).replace("{file}", file);
    const bool portGiven = filled.contains("--port");
    QProcess process;
    if (fullOutput)
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(ZELCTL_PATH, (portGiven ? QStringList() : QStringList{"--port", pty_}) + filled);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    const QByteArray stdOut = process.readAllStandardOutput();
    const QString stdErr = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(process.exitCode() == code, qPrintable(stdErr));
    // The system's error text in the system's language.
    const QString wanted =
        QString(err).replace("{target}", path).replace("ENOSPC", qt_error_string(ENOSPC));
    QVERIFY2(stdErr.contains(wanted), qPrintable(stdErr));
    QVERIFY2(stdOut.contains(out.toUtf8()), stdOut.left(300).constData());
    QVERIFY2(!stdErr.contains(QChar(0x1b)) && !stdErr.contains(QChar(0x07)), qPrintable(stdErr));
    if (!out.startsWith("%PDF"))
        QVERIFY2(!stdOut.contains('\x1b'), stdOut.constData());

    if (Target(target) != Target::None)
        QVERIFY2(snapshotOf(path) == before, "the target was changed");
    QVERIFY2(!QFile::exists(linked), "the file a link names was created");
    if (!sends)
        QCOMPARE(simulatorLog(), logBefore);
    QCOMPARE(QDir(dir_.path()).entryList({"*.tmp", ".*"}, QDir::Files | QDir::Hidden),
             QStringList());
}

void TestZelctl::stopSignalLeavesNoFile() {
    startSimulator({"--delay-ms", "40"});
    const QString file = dir_.filePath("aborted.zel");
    QProcess process;
    process.start(ZELCTL_PATH, {"--port", pty_, "--lang", "en", "read", "-o", file});
    QVERIFY(process.waitForStarted(5000));
    // Well into the 50 queries.
    QTRY_VERIFY_WITH_TIMEOUT(simulatorLog().count("?") >= 5, 10000);
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 2);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(err.contains("Aborted by user") || err.contains("abort", Qt::CaseInsensitive),
             qPrintable(err));
    QVERIFY(!QFile::exists(file));
    // The query under way when the signal came was the last one.
    QVERIFY(simulatorLog().count("?") < 50);

    // For watch the signal is the normal end, also while a reply is awaited. Started at once on
    // the same line: the reply the stopped read still owed (it goes out 40 ms after its query)
    // was taken by that read before it ended, so it cannot answer the watch's first query.
    QProcess watch;
    const int before = simulatorLog().count("?");
    watch.start(ZELCTL_PATH, {"--port", pty_, "watch", "--interval", "10"});
    QVERIFY(watch.waitForStarted(5000));
    QTRY_VERIFY2_WITH_TIMEOUT(simulatorLog().count("?") >= before + 2,
                              watch.readAllStandardError().constData(), 10000);
    ::kill(static_cast<pid_t>(watch.processId()), SIGINT);
    QVERIFY(watch.waitForFinished(10000));
    QCOMPARE(watch.exitStatus(), QProcess::NormalExit);
    QVERIFY2(watch.exitCode() == 0, watch.readAllStandardError().constData());

    // A long report (about a hundred pages) stops while it is drawn and leaves no file. Its
    // whole run is measured first: the signal comes once half of that processor time is used,
    // well after the start-up, whatever the load of the machine.
    const QString from = dir_.filePath("from.zel");
    QCOMPARE(zelctl({"read", "-o", from}).code, 0);
    QString remarks;
    for (int line = 0; remarks.size() < 120000; ++line)
        remarks += QStringLiteral("line %1 of the remarks, with some words to fill it\n").arg(line);
    const QStringList report{"--lang", "en",     "report", "--from",       from,    "--remarks",
                             remarks,  "--site", remarks,  "--technician", remarks, "-o"};
    QProcess whole;
    whole.start(ZELCTL_PATH, report + QStringList{dir_.filePath("whole.pdf")});
    QVERIFY(whole.waitForStarted(5000));
    long ticks = 0;
    while (!whole.waitForFinished(5))
        ticks = std::max(ticks, cpuTicks(whole.processId()));
    QCOMPARE(whole.exitCode(), 0);
    QVERIFY2(ticks >= 4, "the report was drawn too fast to be stopped in the middle");

    const QString stopped = dir_.filePath("stopped.pdf");
    QProcess drawing;
    drawing.start(ZELCTL_PATH, report + QStringList{stopped});
    QVERIFY(drawing.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(cpuTicks(drawing.processId()) >= ticks / 2, 60000);
    ::kill(static_cast<pid_t>(drawing.processId()), SIGTERM);
    QVERIFY(drawing.waitForFinished(10000));
    QCOMPARE(drawing.exitStatus(), QProcess::NormalExit);
    const QByteArray stopErr = drawing.readAllStandardError();
    QVERIFY2(drawing.exitCode() == 2 && stopErr.contains("Abort by user"), stopErr.constData());
    QVERIFY(!QFile::exists(stopped));
    QCOMPARE(QDir(dir_.path()).entryList({"stopped*"}, QDir::Files | QDir::Hidden), QStringList());
}

QTEST_GUILESS_MAIN(TestZelctl)
#include "test_zelctl.moc"
