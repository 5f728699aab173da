#include "teach/InstrumentCommands.h"
#include "teach/VisaLibrary.h"

#include <QTemporaryDir>
#include <QtTest>
#include <dlfcn.h>

// The fake library is opened a second time here (the loader hands back the same module) to
// script it and to read what it recorded.
class FakeVisa {
public:
    FakeVisa() : handle_(dlopen(FAKEVISA_PATH, RTLD_NOW | RTLD_LOCAL)) {}
    ~FakeVisa() {
        if (handle_)
            dlclose(handle_);
    }
    bool loaded() const { return handle_ != nullptr; }

    template <typename Fn> Fn fn(const char *name) const {
        return reinterpret_cast<Fn>(dlsym(handle_, name));
    }
    void reset() const { fn<void (*)()>("fakevisa_reset")(); }
    void pushReply(const QByteArray &reply) const {
        fn<void (*)(const char *)>("fakevisa_pushReply")(reply.constData());
    }
    void setStatus(int rm, int open) const {
        fn<void (*)(std::int32_t, std::int32_t)>("fakevisa_setStatus")(rm, open);
    }
    void setReadExcess(unsigned excess) const {
        fn<void (*)(std::uint32_t)>("fakevisa_setReadExcess")(excess);
    }
    QStringList writes() const {
        QStringList result;
        const int count = fn<int (*)()>("fakevisa_writeCount")();
        for (int i = 0; i < count; ++i)
            result << QString::fromLatin1(fn<const char *(*)(int)>("fakevisa_write")(i));
        return result;
    }
    QString lastResource() const {
        return QString::fromLatin1(fn<const char *(*)()>("fakevisa_lastResource")());
    }
    std::uint32_t lastOpenArgs() const {
        return fn<std::uint32_t (*)()>("fakevisa_lastOpenArgs")();
    }
    int openSessions() const { return fn<int (*)()>("fakevisa_openSessions")(); }
    int closeCalls() const { return fn<int (*)()>("fakevisa_closeCalls")(); }

private:
    void *handle_;
};

class TestVisaLibrary : public QObject {
    Q_OBJECT
private slots:
    void init();
    void candidateOrder();
    void loadsConfiguredPath();
    void missingLibraryNamesEveryFileTried();
    void incompleteLibraryIsRefused();
    void sessionTalksThroughTheLibrary();
    void failingOpenIsAnError();
    void withoutConnectionNothingIsCalled();
    void readIsBoundedByMaxCount();

private:
    FakeVisa fake_;
};

void TestVisaLibrary::init() {
    QVERIFY(fake_.loaded());
    fake_.reset();
}

void TestVisaLibrary::candidateOrder() {
    QCOMPARE(VisaLibrary::candidates(QString()),
             QStringList({"libvisa.so", "libvisa.so.7", "libiovisa.so", "librsvisa.so"}));
    QCOMPARE(VisaLibrary::candidates("/opt/visa/lib.so"),
             QStringList({"/opt/visa/lib.so", "libvisa.so", "libvisa.so.7", "libiovisa.so",
                          "librsvisa.so"}));
}

void TestVisaLibrary::loadsConfiguredPath() {
    VisaLibrary visa(FAKEVISA_PATH);
    QCOMPARE(visa.loadedFrom(), QString(FAKEVISA_PATH));
    QVERIFY(!visa.isOpen());
}

void TestVisaLibrary::missingLibraryNamesEveryFileTried() {
    const QString configured = QDir::tempPath() + "/zeltool-no-such-dir/libvisa.so";
    if (void *present = dlopen("libvisa.so", RTLD_NOW)) {
        dlclose(present);
        QSKIP("a VISA library is installed on this machine");
    }
    try {
        VisaLibrary visa(configured);
        QFAIL("no error for a missing library");
    } catch (const EVisaError &error) {
        const QString message = error.message();
        QVERIFY2(message.startsWith("Die VISA-Bibliothek ist nicht installiert."),
                 qPrintable(message));
        for (const QString &file : VisaLibrary::candidates(configured))
            QVERIFY2(message.contains(file), qPrintable(message));
    }
}

void TestVisaLibrary::incompleteLibraryIsRefused() {
    try {
        VisaLibrary visa(FAKEVISA_INCOMPLETE_PATH);
        if (visa.loadedFrom() == QString(FAKEVISA_INCOMPLETE_PATH))
            QFAIL("a library without viOpen was taken");
    } catch (const EVisaError &error) {
        QVERIFY2(error.message().contains(QString(FAKEVISA_INCOMPLETE_PATH) + " (viOpen fehlt)"),
                 qPrintable(error.message()));
    }

    // A file that exists but is no library at all: the loader's reason is named.
    QTemporaryDir dir;
    const QString junk = dir.filePath("libjunk.so");
    QFile file(junk);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not an ELF file");
    file.close();
    try {
        VisaLibrary visa(junk);
        QVERIFY(visa.loadedFrom() != junk);
    } catch (const EVisaError &error) {
        QVERIFY2(error.message().contains(junk + " ("), qPrintable(error.message()));
    }
}

void TestVisaLibrary::sessionTalksThroughTheLibrary() {
    VisaLibrary visa(FAKEVISA_PATH);
    InstrumentSession &session = visa;
    session.open(InstrumentCommands::resourceName("7"));
    QVERIFY(visa.isOpen());
    QCOMPARE(fake_.lastResource(), QString("GPIB0::7::INSTR"));
    QCOMPARE(fake_.lastOpenArgs(), 0u); // no lock, no open time-out
    QCOMPARE(fake_.openSessions(), 2);

    session.write(InstrumentCommands::outform());
    session.write(InstrumentCommands::stableQuery());
    fake_.pushReply("Y E S\r\n");
    const QString reply = session.read();
    QCOMPARE(reply, QString("Y E S\r\n"));
    QVERIFY(InstrumentCommands::isStable(reply));
    QCOMPARE(fake_.writes(), QStringList({" Outform 1", " Stable?"}));

    // A silent instrument: the read times out and gives nothing.
    QCOMPARE(session.read(), QString());

    session.close();
    QVERIFY(!visa.isOpen());
    QCOMPARE(fake_.openSessions(), 0);
    session.close();
    QCOMPARE(fake_.closeCalls(), 2);

    // An empty address goes out unchanged.
    session.open(InstrumentCommands::resourceName(""));
    QCOMPARE(fake_.lastResource(), QString("GPIB0::::INSTR"));
}

void TestVisaLibrary::failingOpenIsAnError() {
    {
        VisaLibrary visa(FAKEVISA_PATH);
        fake_.setStatus(0, -1073807343);
        try {
            visa.open("GPIB0::3::INSTR");
            QFAIL("no error for a failing viOpen");
        } catch (const EVisaError &error) {
            QVERIFY2(error.message().contains("GPIB0::3::INSTR"), qPrintable(error.message()));
            QVERIFY2(error.message().contains("0xBFFF0011"), qPrintable(error.message()));
        }
        QVERIFY(!visa.isOpen());
        // The resource manager opened for the attempt is closed again.
        QCOMPARE(fake_.openSessions(), 0);
    }

    VisaLibrary visa(FAKEVISA_PATH);
    fake_.setStatus(-1073807360, 0);
    QVERIFY_THROWS_EXCEPTION(EVisaError, visa.open("GPIB0::3::INSTR"));
    QVERIFY(!visa.isOpen());
    QCOMPARE(fake_.openSessions(), 0);
}

void TestVisaLibrary::withoutConnectionNothingIsCalled() {
    VisaLibrary visa(FAKEVISA_PATH);
    visa.write(" Vent");
    QCOMPARE(visa.read(), QString());
    visa.close();
    QCOMPARE(fake_.writes(), QStringList());
    QCOMPARE(fake_.closeCalls(), 0);

    // The destructor closes a connection left open, as after an error in the teach run.
    {
        VisaLibrary open(FAKEVISA_PATH);
        open.open("GPIB0::1::INSTR");
        QCOMPARE(fake_.openSessions(), 2);
    }
    QCOMPARE(fake_.openSessions(), 0);
}

void TestVisaLibrary::readIsBoundedByMaxCount() {
    VisaLibrary visa(FAKEVISA_PATH);
    visa.open("GPIB0::9::INSTR");
    const QByteArray longReply = QByteArray(1500, 'x') + '\n';
    fake_.pushReply(longReply);
    const QString first = visa.read();
    QCOMPARE(first.size(), 1000);
    QCOMPARE(visa.read(), QString(QByteArray(500, 'x') + '\n'));

    fake_.pushReply("+1.0E-03\n");
    QCOMPARE(visa.read(4), QString("+1.0"));
    QCOMPARE(visa.read(0), QString());
    QCOMPARE(visa.read(), QString("E-03\n"));

    // A library that claims more than it may hand out is held to the buffer.
    fake_.setReadExcess(5000);
    fake_.pushReply("AB\n");
    const QString bounded = visa.read();
    QCOMPARE(bounded.size(), 1000);
    QVERIFY(bounded.startsWith("AB\n"));
}

QTEST_APPLESS_MAIN(TestVisaLibrary)
#include "tst_VisaLibrary.moc"
