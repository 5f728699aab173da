// Configuration, teach-value, tool settings and log files that are bad in every way the disk
// allows: the tool must not crash, must not damage an earlier file, and must say what failed.
#include "teach/TeachValueModel.h"
#include "tests/reliability/BadFileKit.h"
#include "tests/support/TestMain.h"
#include "tests/support/WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QStatusBar>
#include <unistd.h>

namespace {

const QString kLoaded = QStringLiteral("Daten erfolgreich geladen");
const QString kSaved = QStringLiteral("Daten erfolgreich gespeichert");
// A read blocked on a named pipe is released after this long, and then counts as a hang.
constexpr int kPipeReleaseMs = 3000;
// How long a replacing thread may take to get to its replacement on a stalled machine.
constexpr int kSettleMs = 30000;

// The two file kinds a user loads through the "Einstellungen" menu.
enum class Kind { Config, Teach, Log, ToolSettings };

// A control that shows whether a load changed anything, and the text it holds before.
struct Probe {
    const char *control;
    QString before;
};

WindowFixture::Config fixtureConfig() {
    WindowFixture::Config c;
    c.production = true; // the teach-value menu items
    c.startDevice = false;
    return c;
}

QString probeText(WindowFixture &fx, Kind kind) {
    if (kind == Kind::Config)
        return fx.ctl<QLineEdit>(QStringLiteral("ScalPdown"))->text();
    return fx.ctl<QLabel>(QStringLiteral("M120"))->text();
}

// A teach value as the teach page holds it (its label shows it).
void setTeachValue(WindowFixture &fx, const QString &valueLabel, const QString &text) {
    fx.window().teachValues().setText(*TeachValueTable::findByValueLabel(valueLabel), text);
}

void setProbe(WindowFixture &fx, Kind kind, const QString &text) {
    if (kind == Kind::Config)
        fx.ctl<QLineEdit>(QStringLiteral("ScalPdown"))->setText(text);
    else
        setTeachValue(fx, QStringLiteral("M120"), text);
}

QAction *loadAction(WindowFixture &fx, Kind kind) {
    return kind == Kind::Config ? fx.window().LoadConf : fx.window().LoadTeachwerte;
}

// Triggers the save of `kind` into `path`.
void save(WindowFixture &fx, Kind kind, const QString &path) {
    fx.prompts().saveAnswers << path;
    switch (kind) {
    case Kind::Config:
        fx.window().SaveConf->trigger();
        break;
    case Kind::Teach:
        fx.window().SaveTeachwerte->trigger();
        break;
    case Kind::Log:
        fx.click(QStringLiteral("ButtonSaveLog"));
        break;
    case Kind::ToolSettings:
        fx.window().SpracheEng->trigger();
        break;
    }
}

// Something worth saving: a few log lines, distinct settings and teach values.
void fillWindow(WindowFixture &fx) {
    auto *log = fx.ctl<QListWidget>(QStringLiteral("LLog"));
    for (int i = 0; i < 60; ++i)
        log->addItem(QStringLiteral("08.12.26; 15:44:%1; 12,3 Pa; 21,5 °C")
                         .arg(i % 60, 2, 10, QLatin1Char('0')));
    fx.ctl<QLineEdit>(QStringLiteral("ScalPdown"))->setText(QStringLiteral("-250"));
    setTeachValue(fx, QStringLiteral("M120"), QStringLiteral("4711"));
}

QString kindKey(Kind kind) {
    switch (kind) {
    case Kind::Config:
        return QStringLiteral("config");
    case Kind::Teach:
        return QStringLiteral("teach");
    case Kind::Log:
        return QStringLiteral("log");
    case Kind::ToolSettings:
        return QStringLiteral("toolsettings");
    }
    return {};
}

} // namespace

class TestBadFiles : public QObject {
    Q_OBJECT
private slots:
    void badFileLoads_data();
    void badFileLoads();
    void truncatedFileLoadsWhatItHolds_data();
    void truncatedFileLoadsWhatItHolds();
    void fileReplacedDuringLoadsGivesOneVersion_data();
    void fileReplacedDuringLoadsGivesOneVersion();
    void failedSaveKeepsTheEarlierFile_data();
    void failedSaveKeepsTheEarlierFile();
    void saveIntoBinaryFileKeepsItsBytes_data();
    void saveIntoBinaryFileKeepsItsBytes();
    void fileReplacedDuringSavesStaysWhole_data();
    void fileReplacedDuringSavesStaysWhole();
    void badToolSettingsAtStart_data();
    void badToolSettingsAtStart();
};

void TestBadFiles::badFileLoads_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("bad");
    for (Kind kind : {Kind::Config, Kind::Teach}) {
        for (BadFileKit::Bad bad :
             {BadFileKit::Bad::Binary, BadFileKit::Bad::Huge, BadFileKit::Bad::Unreadable,
              BadFileKit::Bad::Empty, BadFileKit::Bad::Fifo}) {
            const QString name = kindKey(kind) + QLatin1Char('/') + BadFileKit::key(bad);
            QTest::newRow(qPrintable(name)) << int(kind) << int(bad);
        }
    }
}

// A file that is no file of its kind is refused with a message naming it; nothing changes.
void TestBadFiles::badFileLoads() {
    QFETCH(int, kind);
    QFETCH(int, bad);
    WindowFixture fx(fixtureConfig());
    const auto k = Kind(kind);
    const QString path = QDir(fx.dir()).filePath(QStringLiteral("bad.zel"));
    BadFileKit::make(BadFileKit::Bad(bad), path);
    const BadFileKit::Snapshot file = BadFileKit::snapshot(path);
    setProbe(fx, k, QStringLiteral("4711"));
    fx.window().setStatus(QStringLiteral("before"));

    fx.prompts().openAnswers << path;
    {
        BadFileKit::FifoRelease release(path, kPipeReleaseMs);
        loadAction(fx, k)->trigger();
        QVERIFY2(!release.released(), "the load waited for a writer of the pipe");
    }

    QCOMPARE(fx.prompts().errors.size(), 1);
    QVERIFY2(fx.prompts().errors.first().contains(path), qPrintable(fx.prompts().errors.first()));
    QCOMPARE(probeText(fx, k), QStringLiteral("4711"));
    QCOMPARE(fx.status(), QStringLiteral("before"));
    QVERIFY2(BadFileKit::snapshot(path) == file, "the loaded file changed");
}

void TestBadFiles::truncatedFileLoadsWhatItHolds_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("config") << int(Kind::Config);
    QTest::newRow("teach") << int(Kind::Teach);
}

// A file cut off in the middle of a line loads as far as it goes: the keys before the cut, the
// cut value as it stands, and the missing keys empty, as for any file that lacks them.
void TestBadFiles::truncatedFileLoadsWhatItHolds() {
    QFETCH(int, kind);
    WindowFixture fx(fixtureConfig());
    const QString path = QDir(fx.dir()).filePath(QStringLiteral("cut.zel"));
    const bool config = Kind(kind) == Kind::Config;
    BadFileKit::write(path, config ? QByteArray("[Scalings]\r\nScalPdown=-250\r\nScalPup=25")
                                   : QByteArray("[interner Druck]\r\nM120=123\r\nM100=4"));
    const QStringList controls = config ? QStringList{"ScalPdown", "ScalPup", "ScalIN1Tdown"}
                                        : QStringList{"M120", "M100", "M80"};
    for (const QString &name : controls) {
        if (config)
            fx.ctl<QLineEdit>(name)->setText(QStringLiteral("9"));
        else
            setTeachValue(fx, name, QStringLiteral("9"));
    }

    fx.prompts().openAnswers << path;
    loadAction(fx, Kind(kind))->trigger();

    QCOMPARE(fx.prompts().errors, QStringList());
    QCOMPARE(fx.status(), kLoaded);
    QStringList texts;
    for (const QString &name : controls)
        texts << (config ? fx.ctl<QLineEdit>(name)->text() : fx.ctl<QLabel>(name)->text());
    QCOMPARE(texts, config ? QStringList({"-250", "25", ""}) : QStringList({"123", "4", ""}));
}

void TestBadFiles::fileReplacedDuringLoadsGivesOneVersion_data() {
    truncatedFileLoadsWhatItHolds_data();
}

// Another program keeps replacing the file while the tool loads it again and again: every load
// shows one whole version, never keys of both.
void TestBadFiles::fileReplacedDuringLoadsGivesOneVersion() {
    QFETCH(int, kind);
    WindowFixture fx(fixtureConfig());
    const bool config = Kind(kind) == Kind::Config;
    const QString path = QDir(fx.dir()).filePath(QStringLiteral("busy.zel"));
    const QStringList keys = config ? QStringList{"ScalPdown", "ScalPup", "WarnPdown", "FilterP"}
                                    : QStringList{"M120", "M100", "P120", "KalibPlus"};
    const QString section = config ? QStringLiteral("Scalings") : QStringLiteral("interner Druck");
    auto version = [&](const char *value) {
        // The warning and filter keys live in sections of their own; a section is written once,
        // as only the first of repeated sections counts.
        QMap<QString, QByteArray> sections;
        for (const QString &key : keys) {
            const QString own = !config                                 ? section
                                : key.startsWith(QLatin1String("Warn")) ? QStringLiteral("Warnings")
                                : key.startsWith(QLatin1String("Filter")) ? QStringLiteral("Filter")
                                                                          : section;
            sections[own] += key.toUtf8() + "=" + value + "\r\n";
        }
        QByteArray text;
        for (auto it = sections.cbegin(); it != sections.cend(); ++it)
            text += "[" + it.key().toUtf8() + "]\r\n" + it.value();
        return text;
    };
    BadFileKit::write(path, version("1"));
    BadFileKit::Replacer replacer(path, {version("1"), version("2")});
    const int before = replacer.replaced();

    for (int round = 0; round < 40; ++round) {
        // One replacement per load, let loose as the load starts: it lands before, inside or
        // after the load as the scheduler has it, and is done before the next one.
        replacer.request();
        fx.prompts().openAnswers << path;
        loadAction(fx, Kind(kind))->trigger();
        QVERIFY2(replacer.settle(kSettleMs), "the replacing thread never ran");
        QStringList values;
        for (const QString &key : keys)
            values << (config ? fx.ctl<QLineEdit>(key)->text() : fx.ctl<QLabel>(key)->text());
        QVERIFY2(values.count(values.first()) == values.size(), qPrintable(values.join(',')));
        QVERIFY2(values.first() == QLatin1String("1") || values.first() == QLatin1String("2"),
                 qPrintable(values.first()));
    }
    QVERIFY2(replacer.stop() > before, "the file was never replaced during the loads");
    QCOMPARE(fx.prompts().errors, QStringList());
}

void TestBadFiles::failedSaveKeepsTheEarlierFile_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("target");
    for (Kind kind : {Kind::Config, Kind::Teach, Kind::Log, Kind::ToolSettings}) {
        for (BadFileKit::Target target :
             {BadFileKit::Target::UnderRegularFile, BadFileKit::Target::Folder,
              BadFileKit::Target::FullDisk, BadFileKit::Target::HugeEarlier,
              BadFileKit::Target::UnreadableEarlier}) {
            // The tool settings file has its fixed place beside the executable.
            if (kind == Kind::ToolSettings && target == BadFileKit::Target::UnderRegularFile)
                continue;
            // Root reads any file: the folder row stands for the unreadable one.
            if (target == BadFileKit::Target::UnreadableEarlier && ::geteuid() == 0)
                continue;
            // A log save never reads the file it replaces.
            if (kind == Kind::Log && (target == BadFileKit::Target::HugeEarlier ||
                                      target == BadFileKit::Target::UnreadableEarlier))
                continue;
            const QString name = kindKey(kind) + QLatin1Char('/') + BadFileKit::key(target);
            QTest::newRow(qPrintable(name)) << int(kind) << int(target);
        }
    }
}

// A save that cannot be done says so, names the file, and leaves what was there as it was:
// no cut file, no temporary file left behind, the folder around it unchanged.
void TestBadFiles::failedSaveKeepsTheEarlierFile() {
    QFETCH(int, kind);
    QFETCH(int, target);
    WindowFixture fx(fixtureConfig());
    fillWindow(fx);
    const auto k = Kind(kind);
    const auto t = BadFileKit::Target(target);
    const QString path =
        k == Kind::ToolSettings ? fx.settingsPath() : BadFileKit::prepareTarget(t, fx.dir());
    if (k == Kind::ToolSettings && t != BadFileKit::Target::FullDisk)
        BadFileKit::prepareTargetAt(t, path);
    const QMap<QString, BadFileKit::Snapshot> before = BadFileKit::snapshotTree(fx.dir());
    fx.window().setStatus(QStringLiteral("before"));

    {
        // On the full disk every write beyond the earlier file's size fails.
        const BadFileKit::FileSizeLimit limit(t == BadFileKit::Target::FullDisk
                                                  ? QFileInfo(path).size() + 16
                                                  : BadFileKit::FileSizeLimit::None);
        save(fx, k, path);
    }

    QCOMPARE(fx.prompts().errors.size(), 1);
    QVERIFY2(fx.prompts().errors.first().contains(path), qPrintable(fx.prompts().errors.first()));
    QVERIFY(fx.status() != kSaved);
    QVERIFY2(BadFileKit::snapshotTree(fx.dir()) == before,
             qPrintable(BadFileKit::describeChange(before, BadFileKit::snapshotTree(fx.dir()))));
    QVERIFY2(!fx.window().ComPort().connected(), "a file failure opened the port");
    // The window still knows its own state: the start button reads "start" in its language.
    QVERIFY2(!fx.window().measurementModeRuns(), "the window believes a measurement runs");
    if (k == Kind::ToolSettings) {
        // The language chosen applies for this session, though it could not be stored.
        QCOMPARE(fx.window().state.language, 1);
        QVERIFY(fx.window().SpracheEng->isChecked());
        QCOMPARE(fx.window().ButtonLaden->text(), QStringLiteral("Load from ZEL 40 / ZEL 80"));
    }
}

void TestBadFiles::saveIntoBinaryFileKeepsItsBytes_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("config") << int(Kind::Config);
    QTest::newRow("teach") << int(Kind::Teach);
    QTest::newRow("toolsettings") << int(Kind::ToolSettings);
}

// Saving into a file that is not text (it holds NUL bytes) is refused with a message naming it,
// and the file keeps every byte it had.
void TestBadFiles::saveIntoBinaryFileKeepsItsBytes() {
    QFETCH(int, kind);
    WindowFixture fx(fixtureConfig());
    fillWindow(fx);
    const auto k = Kind(kind);
    const QString path = k == Kind::ToolSettings
                             ? fx.settingsPath()
                             : QDir(fx.dir()).filePath(QStringLiteral("binary.zel"));
    const QByteArray binary = BadFileKit::binaryBytes(4096);
    BadFileKit::write(path, binary);
    fx.window().setStatus(QStringLiteral("before"));

    save(fx, k, path);

    QCOMPARE(fx.prompts().errors.size(), 1);
    QVERIFY2(fx.prompts().errors.first().contains(path), qPrintable(fx.prompts().errors.first()));
    QVERIFY(fx.status() != kSaved);
    QCOMPARE(BadFileKit::read(path), binary);
}

void TestBadFiles::fileReplacedDuringSavesStaysWhole_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("config") << int(Kind::Config);
    QTest::newRow("teach") << int(Kind::Teach);
    QTest::newRow("log") << int(Kind::Log);
}

// Another program keeps replacing the file while the tool saves into it again and again: the
// file is always one whole version, the other program's or one with everything the tool wrote.
void TestBadFiles::fileReplacedDuringSavesStaysWhole() {
    QFETCH(int, kind);
    WindowFixture fx(fixtureConfig());
    fillWindow(fx);
    const auto k = Kind(kind);
    const QString path = QDir(fx.dir()).filePath(QStringLiteral("shared.zel"));
    const QByteArray foreign = "[Other]\r\nowner=someone else\r\n";
    BadFileKit::write(path, foreign);
    const QStringList entries = QDir(fx.dir()).entryList(QDir::Files);

    // What a whole save of the tool holds, written once without interference.
    const QString reference = QDir(fx.dir()).filePath(QStringLiteral("reference.zel"));
    save(fx, k, reference);
    const QByteArray whole = BadFileKit::read(reference);
    QFile::remove(reference);
    QVERIFY(!whole.isEmpty());

    BadFileKit::Replacer replacer(path, {foreign});
    const int before = replacer.replaced();
    for (int round = 0; round < 30; ++round) {
        // One replacement per save, racing it; done before the next one.
        replacer.request();
        save(fx, k, path);
        QVERIFY2(replacer.settle(kSettleMs), "the replacing thread never ran");
        const QByteArray now = BadFileKit::read(path);
        // A configuration or teach save merges into what it read: the foreign section, if it
        // was there, comes first; the tool's own part is whole either way.
        const bool ok = now == foreign || now == whole || now == foreign + "\r\n" + whole ||
                        now.endsWith(whole);
        QVERIFY2(ok, now.left(200).constData());
    }
    QVERIFY2(replacer.stop() > before, "the file was never replaced during the saves");
    QCOMPARE(fx.prompts().errors, QStringList());
    QCOMPARE(QDir(fx.dir()).entryList(QDir::Files), entries);
}

void TestBadFiles::badToolSettingsAtStart_data() {
    QTest::addColumn<int>("bad");
    for (BadFileKit::Bad bad :
         {BadFileKit::Bad::Truncated, BadFileKit::Bad::Binary, BadFileKit::Bad::Huge,
          BadFileKit::Bad::Unreadable, BadFileKit::Bad::Empty, BadFileKit::Bad::Fifo})
        QTest::newRow(qPrintable(BadFileKit::key(bad))) << int(bad);
}

// The tool starts with whatever the tool settings file gives, and the defaults for the rest;
// the start never writes the file.
void TestBadFiles::badToolSettingsAtStart() {
    QFETCH(int, bad);
    const auto b = BadFileKit::Bad(bad);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZEL ToolConfig.ini"));
    if (b == BadFileKit::Bad::Truncated)
        BadFileKit::write(path, "[Miscellaneous]\r\nComPort=COM3\r\nToolLanguage=1");
    else
        BadFileKit::make(b, path);
    const BadFileKit::Snapshot file = BadFileKit::snapshot(path);
    auto prompts = std::make_shared<TestPrompts>();
    TformMain::Options options;
    options.executableDir = dir.path();
    options.prompts = prompts;
    BadFileKit::FifoRelease release(path, kPipeReleaseMs);
    TformMain window(std::move(options));
    QVERIFY2(!release.released(), "the start waited for a writer of the pipe");

    QCOMPARE(window.state.language, b == BadFileKit::Bad::Truncated ? 1 : 0);
    QCOMPARE(window.ComPort().port(),
             b == BadFileKit::Bad::Truncated ? QStringLiteral("COM3") : QStringLiteral("COM1"));
    QCOMPARE(window.windowTitle(), b == BadFileKit::Bad::Truncated
                                       ? QStringLiteral("ZEL 40 / ZEL 80 Start-Up Tool")
                                       : QStringLiteral("ZEL 40 / ZEL 80 Inbetriebnahmetool"));
    QCOMPARE(prompts->errors, QStringList());
    QVERIFY2(BadFileKit::snapshot(path) == file, "the start changed the tool settings file");
}

ZEL_TEST_MAIN(TestBadFiles)
#include "test_badfiles.moc"
