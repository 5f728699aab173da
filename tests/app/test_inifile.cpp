#include "base/Errors.h"
#include "base/IniFile.h"
#include "base/SavedFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray readBytes(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The growth of the peak resident size while `work` runs, in bytes, measured in a child process
// so nothing the test did before counts; -1 when the child failed.
qint64 peakGrowth(const std::function<bool()> &work) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        rusage before{}, after{};
        ::getrusage(RUSAGE_SELF, &before);
        const bool done = work();
        ::getrusage(RUSAGE_SELF, &after);
        const qint64 growth = done ? qint64(after.ru_maxrss - before.ru_maxrss) * 1024 : -1;
        [[maybe_unused]] const auto written = ::write(pipeEnds[1], &growth, sizeof growth);
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    qint64 growth = -1;
    if (child < 0 || ::read(pipeEnds[0], &growth, sizeof growth) != sizeof growth)
        growth = -1;
    ::close(pipeEnds[0]);
    if (child > 0)
        ::waitpid(child, nullptr, 0);
    return growth;
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir_.isValid()); }

    void lookupIgnoresCaseAndTrimsBlanks();
    void duplicateKeysAndSections();
    void integerValues();
    void updateInPlaceKeepsEverythingElse();
    void appendsMissingKeysAndSections();
    void valuesStoredAsGiven();
    void windowsFileRoundTrip();
    void lfFileKeepsLfAndMissingFinalLineEnd();
    void newFileIsUtf8WithCrLf();
    void missingEmptyBinaryAndHugeFiles();
    void faultsInTheLanguageAskedFor_data();
    void faultsInTheLanguageAskedFor();
    void memoryInProportionToTheFile_data();
    void memoryInProportionToTheFile();
    void failedSaveKeepsOldFile();
    void unreadableFileIsNeverOverwritten();
    void writeValueConvenience();
    void windowsProfileRules();

private:
    QString path(const QString &name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

void TestIniFile::lookupIgnoresCaseAndTrimsBlanks() {
    const QString p = path("case.ini");
    writeBytes(p, "  [ Miscellaneous ]  \r\n"
                  "  ToolLanguage =  1 \r\n"
                  "ComPort\t=\tCOM3\t\r\n"
                  "Empty=\r\n"
                  "[Größe]\r\n"
                  "Äpfel=ja\r\n");
    IniFile ini(p);
    QVERIFY(ini.load().ok());
    QCOMPARE(ini.readString("miscellaneous", "TOOLLANGUAGE", "x"), QString("1"));
    QCOMPARE(ini.readString("MISCELLANEOUS", "comport", "x"), QString("COM3"));
    QCOMPARE(ini.readString("Miscellaneous", "Empty", "x"), QString(""));
    QVERIFY(ini.hasKey("miscellaneous", "empty"));
    QCOMPARE(ini.readString("Miscellaneous", "Absent", "dflt"), QString("dflt"));
    QCOMPARE(ini.readString("Absent", "ComPort", "dflt"), QString("dflt"));
    QVERIFY(ini.readString("Absent", "ComPort").isEmpty());
    QVERIFY(ini.hasSection("MISCELLANEOUS"));
    QVERIFY(!ini.hasSection("Miscellaneou"));
    QVERIFY(!ini.hasKey("Miscellaneous", "ComPor"));
    // Case folding also covers umlauts in names.
    QVERIFY(ini.hasSection("GRÖßE"));
    QCOMPARE(ini.readString("größe", "äPFEL"), QString("ja"));
}

void TestIniFile::duplicateKeysAndSections() {
    const QString p = path("dup.ini");
    writeBytes(p, "key=before any section\n"
                  "[A]\n"
                  "k=first\n"
                  "K=second\n"
                  "[B]\n"
                  "k=other\n"
                  "[a]\n"
                  "late=found\n"
                  "k=third\n");
    IniFile ini(p);
    QVERIFY(ini.load().ok());
    QCOMPARE(ini.readString("A", "k"), QString("first"));
    // Only the first section of a name counts, for reading and for writing.
    QVERIFY(!ini.hasKey("A", "late"));
    QCOMPARE(ini.readString("B", "k"), QString("other"));
    QVERIFY(!ini.hasKey("", "key"));

    ini.writeString("a", "K", "new");
    ini.writeString("A", "added", "1");
    ini.writeString("A", "late", "2");
    ini.save();
    QCOMPARE(readBytes(p), QByteArray("key=before any section\n"
                                      "[A]\n"
                                      "k=new\n"
                                      "K=second\n"
                                      "added=1\n"
                                      "late=2\n"
                                      "[B]\n"
                                      "k=other\n"
                                      "[a]\n"
                                      "late=found\n"
                                      "k=third\n"));
}

void TestIniFile::integerValues() {
    const QString p = path("int.ini");
    writeBytes(p, "[S]\n"
                  "plain=42\n"
                  "signed=  -17\n"
                  "plus=+0042\n"
                  "text=abc\n"
                  "trailing=12abc\n"
                  "frac=1.5\n"
                  "empty=\n"
                  "sign=-\n"
                  "max=2147483647\n"
                  "min=-2147483648\n"
                  "over=2147483648\n"
                  "huge=99999999999999999999999\n"
                  "hex=0x10\n"
                  "dollar=$1F\n"
                  "neghex=-$10\n"
                  "allbits=$FFFFFFFF\n"
                  "longhex=$100000000\n"
                  "badhex=0x1G\n"
                  "twice=$0x1F\n"
                  "quoted=\"12\"\n"
                  "inner=1 2\n");
    IniFile ini(p);
    QVERIFY(ini.load().ok());
    QCOMPARE(ini.readInteger("s", "plain", 7), 42);
    QCOMPARE(ini.readInteger("S", "signed", 7), -17);
    QCOMPARE(ini.readInteger("S", "plus", 7), 42);
    QCOMPARE(ini.readInteger("S", "max", 7), 2147483647);
    QCOMPARE(ini.readInteger("S", "min", 7), -2147483647 - 1);
    // Delphi's hexadecimal forms, as 32-bit patterns.
    QCOMPARE(ini.readInteger("S", "hex", 7), 16);
    QCOMPARE(ini.readInteger("S", "dollar", 7), 31);
    QCOMPARE(ini.readInteger("S", "neghex", 7), -16);
    QCOMPARE(ini.readInteger("S", "allbits", 7), -1);
    QCOMPARE(ini.readInteger("S", "quoted", 7), 12);
    for (const char *bad : {"text", "trailing", "frac", "empty", "sign", "over", "huge", "longhex",
                            "badhex", "twice", "inner", "none"})
        QCOMPARE(ini.readInteger("S", bad, 7), 7);
    QCOMPARE(ini.readInteger("S", "text", 0), 0);
}

void TestIniFile::updateInPlaceKeepsEverythingElse() {
    const QString p = path("keep.ini");
    const QByteArray before = "; made by hand\n"
                              "\n"
                              "[Scalings]\n"
                              "ScalPdown = -250   \n"
                              "; keep me\n"
                              "ScalPup=250\n"
                              "not a key line\n"
                              "\n"
                              "[Unknown]\n"
                              "Zeta=1\n"
                              "Alpha=2\n";
    writeBytes(p, before);
    IniFile ini(p);
    QVERIFY(ini.load().ok());
    ini.writeString("SCALINGS", "scalpdown", "12,5");
    ini.writeString("Scalings", "ScalPup", "");
    QCOMPARE(ini.readString("Scalings", "ScalPdown"), QString("12,5"));
    ini.save();
    QByteArray expected = before;
    expected.replace("ScalPdown = -250   \n", "ScalPdown = 12,5\n");
    expected.replace("ScalPup=250\n", "ScalPup=\n");
    QCOMPARE(readBytes(p), expected);

    // Writing the same value again changes no byte.
    IniFile again(p);
    QVERIFY(again.load().ok());
    again.writeString("Scalings", "ScalPdown", "12,5");
    again.save();
    QCOMPARE(readBytes(p), expected);
}

void TestIniFile::appendsMissingKeysAndSections() {
    const QString p = path("append.ini");
    writeBytes(p, "[Input 1]\n"
                  "IN1I0mA=1\n"
                  "\n"
                  "\n"
                  "[Input 2]\n"
                  "IN2I0mA=2\n"
                  "; trailing comment\n"
                  "\n");
    IniFile ini(p);
    QVERIFY(ini.load().ok());
    ini.writeString("input 1", "IN1I4mA", "3");
    ini.writeString("Input 2", "IN2I4mA", "4");
    ini.writeString("interner Druck", "M120", "5");
    ini.writeString("interner Druck", "M100", "6");
    ini.save();
    QCOMPARE(readBytes(p), QByteArray("[Input 1]\n"
                                      "IN1I0mA=1\n"
                                      "IN1I4mA=3\n"
                                      "\n"
                                      "\n"
                                      "[Input 2]\n"
                                      "IN2I0mA=2\n"
                                      "; trailing comment\n"
                                      "IN2I4mA=4\n"
                                      "\n"
                                      "[interner Druck]\n"
                                      "M120=5\n"
                                      "M100=6\n"));

    // An empty section gets its key right below the header.
    writeBytes(p, "[Empty]\n\n[Next]\nx=1\n");
    QVERIFY(ini.load().ok());
    ini.writeString("Empty", "k", "v");
    ini.save();
    QCOMPARE(readBytes(p), QByteArray("[Empty]\nk=v\n\n[Next]\nx=1\n"));
}

void TestIniFile::valuesStoredAsGiven() {
    const QString p = path("raw.ini");
    IniFile ini(p);
    QCOMPARE(ini.load().status, IniFile::LoadResult::Status::Missing);
    const QString odd = QString::fromUtf8("a=b;c \"quoted\" \\n [x] %1 ÄÖÜß € ✓");
    ini.writeString("Miscellaneous", "Password", "0042");
    ini.writeString("Miscellaneous", "Odd", odd);
    ini.save();
    QCOMPARE(readBytes(p),
             QByteArray("[Miscellaneous]\r\nPassword=0042\r\nOdd=") + odd.toUtf8() + "\r\n");
    IniFile back(p);
    QVERIFY(back.load().ok());
    QCOMPARE(back.readString("Miscellaneous", "Odd"), odd);
    QCOMPARE(back.readString("Miscellaneous", "Password"), QString("0042"));
}

void TestIniFile::windowsFileRoundTrip() {
    const QString p = path("Config1.zel");
    // Windows-1252: 0xE4 = ä, 0xFC = ü, 0xDF = ß, 0x80 = €, 0x81 unassigned.
    const QByteArray windows = "[Scalings]\r\n"
                               "scalpdown=12,5\r\n"
                               "SCALPUP=250\r\n"
                               "\r\n"
                               "[Gr\xFC\xDF"
                               "e]\r\n"
                               "Notiz=K\xE4lte f\xFCr Stra\xDF"
                               "e \x80 \x81\r\n"
                               "[Miscellaneous]\r\n"
                               "Password=0042\r\n";
    writeBytes(p, windows);
    IniFile ini(p);
    QVERIFY(ini.load().ok());
    QCOMPARE(ini.readString("Scalings", "ScalPdown"), QString("12,5"));
    QCOMPARE(ini.readString(QString::fromUtf8("GRÜßE"), "notiz"),
             QString::fromUtf8("Kälte für Straße € \u0081"));

    ini.writeString("Scalings", "ScalPup", "100");
    ini.save();
    QByteArray expected = windows;
    expected.replace("SCALPUP=250", "SCALPUP=100");
    QCOMPARE(readBytes(p), expected);

    // A new non-ASCII value is stored in the file's encoding.
    ini.writeString("Miscellaneous", "Ort", QString::fromUtf8("Köln €"));
    ini.save();
    QCOMPARE(readBytes(p), expected + "Ort=K\xF6ln \x80\r\n");
}

void TestIniFile::lfFileKeepsLfAndMissingFinalLineEnd() {
    const QString p = path("lf.ini");
    writeBytes(p, "[A]\nx=1\r\ny=2");
    IniFile ini(p);
    QVERIFY(ini.load().ok());
    QCOMPARE(ini.readString("A", "y"), QString("2"));
    ini.writeString("A", "y", "3");
    ini.save();
    QCOMPARE(readBytes(p), QByteArray("[A]\nx=1\r\ny=3"));
    ini.writeString("A", "z", "4");
    ini.writeString("B", "w", "5");
    ini.save();
    QCOMPARE(readBytes(p), QByteArray("[A]\nx=1\r\ny=3\nz=4\n\n[B]\nw=5\n"));

    // A UTF-8 byte order mark stays.
    writeBytes(p, "\xEF\xBB\xBF[A]\r\nk=\xC3\xA4\r\n");
    QVERIFY(ini.load().ok());
    QCOMPARE(ini.readString("a", "K"), QString::fromUtf8("ä"));
    ini.writeString("A", "k", QString::fromUtf8("ö"));
    ini.save();
    QCOMPARE(readBytes(p), QByteArray("\xEF\xBB\xBF[A]\r\nk=\xC3\xB6\r\n"));
}

void TestIniFile::newFileIsUtf8WithCrLf() {
    const QString p = path("new.zel");
    IniFile ini(p);
    QVERIFY(ini.load().ok());
    ini.writeString("interner Druck", "M120", "-35");
    ini.writeString("Input 1", "IN1I0mA", QString::fromUtf8("ä"));
    ini.save();
    QCOMPARE(readBytes(p), QByteArray("[interner Druck]\r\nM120=-35\r\n\r\n"
                                      "[Input 1]\r\nIN1I0mA=\xC3\xA4\r\n"));
    // An empty existing file behaves like a new one.
    writeBytes(p, "");
    QVERIFY(ini.load().ok());
    ini.writeString("S", "k", "v");
    ini.save();
    QCOMPARE(readBytes(p), QByteArray("[S]\r\nk=v\r\n"));
}

void TestIniFile::missingEmptyBinaryAndHugeFiles() {
    IniFile missing(path("nope.ini"));
    const IniFile::LoadResult r = missing.load();
    QCOMPARE(r.status, IniFile::LoadResult::Status::Missing);
    QVERIFY(r.ok());
    QVERIFY(r.message.contains(path("nope.ini")));
    QCOMPARE(missing.readInteger("Miscellaneous", "ToolLanguage", 0), 0);
    QVERIFY(!QFile::exists(path("nope.ini")));

    const QString binary = path("binary.zel");
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 7919 + 13) % 256));
    garbage.insert(100, QByteArray("\n[Miscellaneous]\nMeasRange=1\n\0x=2\n", 34));
    writeBytes(binary, garbage);
    // Holding NUL bytes it is no text file: refused, read as empty, never written.
    IniFile bin(binary);
    const IniFile::LoadResult b = bin.load();
    QCOMPARE(b.status, IniFile::LoadResult::Status::NotText);
    QVERIFY(!b.ok());
    QVERIFY(b.message.contains(binary));
    QCOMPARE(bin.readInteger("Miscellaneous", "MeasRange", 0), 0);
    QVERIFY(!bin.hasKey("Scalings", "ScalPdown"));
    bin.writeString("Scalings", "ScalPdown", "1");
    QVERIFY_THROWS_EXCEPTION(EFileError, bin.save());
    QCOMPARE(readBytes(binary), garbage);

    const QString longLine = path("long.zel");
    writeBytes(longLine,
               "[Scalings]\r\nScalPdown=" + QByteArray(1000000, '7') + "\r\nScalPup=1\r\n");
    IniFile big(longLine);
    QVERIFY(big.load().ok());
    QCOMPARE(big.readString("Scalings", "ScalPdown").size(), 1000000);
    QCOMPARE(big.readString("Scalings", "ScalPup"), QString("1"));

    const QString huge = path("huge.zel");
    {
        QFile f(huge);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(IniFile::MaxFileSize + 1)); // sparse: costs no disk
    }
    IniFile tooBig(huge);
    const IniFile::LoadResult t = tooBig.load();
    QCOMPARE(t.status, IniFile::LoadResult::Status::TooLarge);
    QVERIFY(!t.ok());
    QVERIFY(t.message.contains(huge));

    IniFile folder(dir_.path());
    QCOMPARE(folder.load().status, IniFile::LoadResult::Status::Unreadable);
}

void TestIniFile::faultsInTheLanguageAskedFor_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("text"); // FILE stands for the file's path
    QTest::addColumn<QString>("window");
    const QString readNotText = "FILE kann nicht gelesen werden (keine Textdatei)";
    QTest::newRow("load not text, de") << "load binary" << 0 << readNotText << readNotText;
    QTest::newRow("load not text, en")
        << "load binary" << 1 << "Cannot read FILE (not a text file)" << readNotText;
    QTest::newRow("load not text, fr")
        << "load binary" << 2 << "Impossible de lire FILE (pas un fichier texte)" << readNotText;
    const QString writeWindow = "nach FILE kann nicht geschrieben werden";
    QTest::newRow("save into not text, en")
        << "save binary" << 1 << "Cannot write to FILE (not a text file)" << writeWindow;
    QTest::newRow("save into a missing folder, de")
        << "save missing folder" << 0 << "Nach FILE kann nicht geschrieben werden (ENOENT)"
        << writeWindow;
    QTest::newRow("save into a missing folder, fr")
        << "save missing folder" << 2 << "Impossible d'écrire dans FILE (ENOENT)" << writeWindow;
    QTest::newRow("save over a pipe, en")
        << "save pipe" << 1 << "Cannot create the file FILE (not a regular file)"
        << "Datei FILE kann nicht erstellt werden (keine gewöhnliche Datei)";
    QTest::newRow("load too large, en")
        << "load huge" << 1 << "FILE is too large (more than 64 MiB)"
        << "FILE ist zu groß (mehr als 64 MiB)";
    QTest::newRow("save into too large, fr")
        << "save huge" << 2 << "Impossible d'écrire dans FILE (trop grand (plus de 64 Mio))"
        << writeWindow;
}

// A file fault keeps its reason apart from its wording: zelctl shows it in the language asked
// for, always with the reason (the system's error text where the system gave one); the window
// keeps its own texts.
void TestIniFile::faultsInTheLanguageAskedFor() {
    QFETCH(QString, how);
    QFETCH(int, language);
    QFETCH(QString, text);
    QFETCH(QString, window);
    QString file = path(how.section(' ', 1) + ".zel");
    if (how.endsWith("binary"))
        writeBytes(file, QByteArray("[Scalings]\r\nScalPdown=1\r\n\0\x01", 27));
    if (how.endsWith("huge")) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(IniFile::MaxFileSize + 1)); // sparse: costs no disk
    }
    if (how.endsWith("missing folder"))
        file = path("no such folder/x.zel");
    if (how.endsWith("pipe")) {
        file = path("pipe");
        QVERIFY(QFile::exists(file) || ::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
    }

    FileFault fault;
    if (how.startsWith("load")) {
        IniFile ini(file);
        fault = ini.load().fault;
    } else {
        try {
            if (how.endsWith("pipe")) {
                saveFileAtomically(file, "bytes");
            } else {
                IniFile ini(file);
                ini.load();
                ini.writeString("Scalings", "ScalPdown", "2");
                ini.save();
            }
            QFAIL("the save did not fail");
        } catch (const EFileFault &error) {
            fault = error.fault();
            QCOMPARE(error.message(), fault.windowText());
        }
    }
    // The system's text in the system's language.
    QCOMPARE(fault.text(language),
             QString(text).replace("FILE", file).replace("ENOENT", qt_error_string(ENOENT)));
    QCOMPARE(fault.windowText(), QString(window).replace("FILE", file));
}

void TestIniFile::memoryInProportionToTheFile_data() {
    QTest::addColumn<QByteArray>("filler");
    QTest::addColumn<QByteArray>("end");
    // Line ends only: the most lines a file of its size can hold.
    QTest::newRow("blank LF lines") << QByteArray("\n") << QByteArray("\n");
    QTest::newRow("blank CR LF lines") << QByteArray("\r\n") << QByteArray("\r\n");
    QTest::newRow("blank lines, Windows-1252")
        << QByteArray("\r") << QByteArray("\r[Other]\rName=M\xFCller\r");
    QTest::newRow("short keys") << QByteArray("a=\n") << QByteArray("\n");
    QTest::newRow("one long line") << QByteArray("x") << QByteArray("\n");
}

// A configuration after megabytes of filler loads, is read, written and saved in memory of a
// small multiple of the file's size, whatever its lines look like.
void TestIniFile::memoryInProportionToTheFile() {
    QFETCH(QByteArray, filler);
    QFETCH(QByteArray, end);
    constexpr qint64 kFillerBytes = 4 * 1024 * 1024;
    const QString file = path("filled.zel");
    const QByteArray bytes =
        filler.repeated(kFillerBytes / filler.size()) + end + "[Scalings]\r\nScalPdown=-250\r\n";
    writeBytes(file, bytes);

    IniFile ini(file);
    QVERIFY(ini.load().ok());
    QCOMPARE(ini.readString("Scalings", "ScalPdown"), QString("-250"));
    // What the contents hold: the text (two bytes a character) and eight bytes a line.
    const qint64 held = ini.heldBytes();
    QVERIFY2(
        held <= 10 * bytes.size() + 4096,
        qPrintable(QStringLiteral("%1 bytes held for a file of %2").arg(held).arg(bytes.size())));

    // And the peak, with everything a load, a lookup and a save allocate on the way.
    const qint64 growth = peakGrowth([&file] {
        IniFile again(file);
        if (!again.load().ok() || again.readString("Scalings", "ScalPdown") != "-250")
            return false;
        again.writeString("Scalings", "ScalPup", "250");
        again.save();
        return true;
    });
    QVERIFY(growth >= 0);
    // AddressSanitizer keeps freed memory in quarantine and adds its shadow: room for that.
#if defined(__SANITIZE_ADDRESS__)
    constexpr int kMultiple = 20;
#else
    constexpr int kMultiple = 14;
#endif
    QVERIFY2(growth <= kMultiple * bytes.size(),
             qPrintable(QStringLiteral("the peak grew by %1 bytes for a file of %2")
                            .arg(growth)
                            .arg(bytes.size())));
    qInfo("%s: %lld bytes held, peak growth %lld bytes, file %lld bytes", QTest::currentDataTag(),
          held, growth, qint64(bytes.size()));
}

void TestIniFile::failedSaveKeepsOldFile() {
    const QByteArray old = "[Scalings]\r\nScalPdown=1\r\n";

    // A file whose parent is a regular file cannot be written, whoever runs the test.
    const QString blocker = path("plainfile");
    writeBytes(blocker, old);
    const QString impossible = blocker + "/Config1.zel";
    IniFile ini(impossible);
    ini.writeString("Scalings", "ScalPdown", "2");
    try {
        ini.save();
        QFAIL("save into a path below a regular file succeeded");
    } catch (const EFileError &e) {
        QCOMPARE(e.message(), QString("nach %1 kann nicht geschrieben werden").arg(impossible));
    }
    QCOMPARE(readBytes(blocker), old);

    // A read-only folder: the old file stays byte for byte and no temporary file is left.
    QTemporaryDir roDir;
    QVERIFY(roDir.isValid());
    const QString p = roDir.filePath("Config1.zel");
    writeBytes(p, old);
    QVERIFY(QFile::setPermissions(roDir.path(), QFile::ReadOwner | QFile::ExeOwner));
    if (::geteuid() != 0) {
        IniFile ro(p);
        QVERIFY(ro.load().ok());
        ro.writeString("Scalings", "ScalPdown", "2");
        QVERIFY_THROWS_EXCEPTION(EFileError, ro.save());
        QCOMPARE(readBytes(p), old);
        QCOMPARE(QDir(roDir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"Config1.zel"});
    }
    QVERIFY(QFile::setPermissions(roDir.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    // A write that fails half-way (as on a full disk): a file size limit applies to root too.
    const QString full = path("full.zel");
    writeBytes(full, old);
    IniFile grow(full);
    QVERIFY(grow.load().ok());
    grow.writeString("Scalings", "ScalPup", QString(100000, QLatin1Char('9')));
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool thrown = false;
    try {
        grow.save();
    } catch (const EFileError &e) {
        thrown = e.message() == QString("nach %1 kann nicht geschrieben werden").arg(full);
    }
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &saved), 0);
    QVERIFY(thrown);
    QCOMPARE(readBytes(full), old);

    // A target that is a folder.
    IniFile folder(roDir.path());
    QVERIFY(!folder.load().ok());
    QVERIFY_THROWS_EXCEPTION(EFileError, folder.save());
}

void TestIniFile::unreadableFileIsNeverOverwritten() {
    const QString huge = path("huge2.zel");
    {
        QFile f(huge);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(IniFile::MaxFileSize + 100));
    }
    IniFile ini(huge);
    QVERIFY(!ini.load().ok());
    ini.writeString("S", "k", "v");
    try {
        ini.save();
        QFAIL("a file that failed to load was overwritten");
    } catch (const EFileError &e) {
        QCOMPARE(e.message(), QString("nach %1 kann nicht geschrieben werden").arg(huge));
    }
    QVERIFY_THROWS_EXCEPTION(EFileError, IniFile::writeValue(huge, "S", "k", "v"));
    QCOMPARE(QFileInfo(huge).size(), IniFile::MaxFileSize + 100);
}

void TestIniFile::writeValueConvenience() {
    const QString p = path("ZEL ToolConfig.ini");
    IniFile::writeValue(p, "Miscellaneous", "ToolLanguage", "1");
    IniFile::writeValue(p, "miscellaneous", "ComPort", "COM3");
    IniFile::writeValue(p, "MISCELLANEOUS", "toollanguage", "2");
    QCOMPARE(readBytes(p), QByteArray("[Miscellaneous]\r\nToolLanguage=2\r\nComPort=COM3\r\n"));
    const QString bad = path("plainfile2");
    writeBytes(bad, "x");
    try {
        IniFile::writeValue(bad + "/x.ini", "A", "b", "c");
        QFAIL("writeValue below a regular file succeeded");
    } catch (const EFileError &e) {
        QCOMPARE(e.message(), QString("nach %1/x.ini kann nicht geschrieben werden").arg(bad));
    }
}

// What files written by Windows tools hold: quoted values, CR-only line ends, "Unicode"
// (UTF-16 with a byte-order mark) from Notepad, and text an 8-bit file cannot hold.
void TestIniFile::windowsProfileRules() {
    const QString quoted = path("quoted.zel");
    writeBytes(quoted, "[Scalings]\nScalPdown=\"12,5\"\nScalPup='1'\nOne=\"\nMixed=\"x'\n"
                       "Inner=a\"b\"\nTwice=\"\"x\"\"\n");
    IniFile q(quoted);
    QVERIFY(q.load().ok());
    QCOMPARE(q.readString("Scalings", "ScalPdown"), QString("12,5"));
    QCOMPARE(q.readString("Scalings", "ScalPup"), QString("1"));
    QCOMPARE(q.readString("Scalings", "One"), QString("\""));
    QCOMPARE(q.readString("Scalings", "Mixed"), QString("\"x'"));
    QCOMPARE(q.readString("Scalings", "Inner"), QString("a\"b\""));
    QCOMPARE(q.readString("Scalings", "Twice"), QString("\"x\""));

    // A lone CR ends a line; a save keeps each line's own end.
    const QString cr = path("cr.zel");
    writeBytes(cr, "[Scalings]\rScalPdown=1\rReset\r\n[Filter]\nFilterP=5");
    IniFile c(cr);
    QVERIFY(c.load().ok());
    QCOMPARE(c.readString("Scalings", "ScalPdown"), QString("1"));
    QCOMPARE(c.readString("Filter", "FilterP"), QString("5"));
    c.writeString("Scalings", "ScalPup", "2");
    c.save();
    QCOMPARE(readBytes(cr), QByteArray("[Scalings]\rScalPdown=1\rReset\r\nScalPup=2\r[Filter]\n"
                                       "FilterP=5"));

    // UTF-16LE with a byte-order mark is read, and a save keeps it UTF-16LE.
    const QString unicode = path("notepad.zel");
    const QString text = QStringLiteral("[Miscellaneous]\r\nPassword=1234\r\nLang=ä\r\n");
    QByteArray le("\xFF\xFE");
    for (QChar ch : text)
        le.append(char(ch.unicode() & 0xFF)).append(char(ch.unicode() >> 8));
    writeBytes(unicode, le);
    IniFile u(unicode);
    QVERIFY(u.load().ok());
    QCOMPARE(u.readString("Miscellaneous", "Password"), QString("1234"));
    QCOMPARE(u.readString("Miscellaneous", "Lang"), QString("ä"));
    u.writeString("Miscellaneous", "Password", "9");
    u.writeString("Scalings", "ScalPdown", "Ω");
    u.save();
    IniFile reread(unicode);
    QVERIFY(reread.load().ok());
    QCOMPARE(reread.readString("Miscellaneous", "Password"), QString("9"));
    QCOMPARE(reread.readString("Scalings", "ScalPdown"), QString("Ω"));
    QVERIFY(readBytes(unicode).startsWith(QByteArray("\xFF\xFE[\0M\0", 6)));
    const QString utf16be = path("be.zel");
    writeBytes(utf16be, QByteArray("\xFE\xFF\0[\0A\0]\0\n\0k\0=\0v", 16));
    IniFile be(utf16be);
    QVERIFY(be.load().ok());
    QCOMPARE(be.readString("A", "k"), QString("v"));

    // A second byte-order mark after the file's own is text: it stays on a save.
    for (const QByteArray &twice :
         {QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF[A]\nk=v"), QByteArray("\xFF\xFE\xFF\xFE[\0\n\0", 8),
          QByteArray("\xFE\xFF\xFE\xFF\0[\0\n", 8)}) {
        const QString marks = path("marks.zel");
        writeBytes(marks, twice);
        IniFile m(marks);
        QVERIFY(m.load().ok());
        m.save();
        QCOMPARE(readBytes(marks), twice);
    }

    // What the file's encoding cannot hold fails the load or the save and changes nothing.
    const QString broken = path("broken16.zel");
    const QByteArray brokenBytes("\xFF\xFE[\0A\0]\0\n\0k", 11); // cut in a character
    writeBytes(broken, brokenBytes);
    IniFile b(broken);
    const IniFile::LoadResult r = b.load();
    QCOMPARE(r.status, IniFile::LoadResult::Status::Unreadable);
    QVERIFY(r.message.contains(broken));
    b.writeString("A", "k", "v");
    QVERIFY_THROWS_EXCEPTION(EFileError, b.save());
    QCOMPARE(readBytes(broken), brokenBytes);

    const QString ansi = path("ansi.zel");
    const QByteArray ansiBytes("[Scalings]\r\nScalPdown=\xE4\r\n"); // "ä" in Windows-1252
    writeBytes(ansi, ansiBytes);
    IniFile a(ansi);
    QVERIFY(a.load().ok());
    QCOMPARE(a.readString("Scalings", "ScalPdown"), QString("ä"));
    a.writeString("Scalings", "ScalPup", "€");
    a.writeString("Scalings", "ScalPdown", "Ω");
    QVERIFY_THROWS_EXCEPTION(EFileError, a.save());
    QCOMPARE(readBytes(ansi), ansiBytes);
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_inifile.moc"
