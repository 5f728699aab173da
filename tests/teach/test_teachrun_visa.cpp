// The teach run through the dlopen path: the fake VISA library forwards every session to the
// simulated bench. Also a missing library, an instrument that is not there, and the settings
// that select the instrument backend.
#include "sim/AnalogFrontEnd.h"
#include "sim/InstrumentBench.h"
#include "teach/InstrumentBackend.h"
#include "teach/InstrumentCommands.h"
#include "teach/VisaLibrary.h"
#include "tests/support/TestMain.h"
#include "tests/teach/test_teachrun_fixture.h"

#include <cstring>
#include <dlfcn.h>

// Same layout as in the fake library.
struct FakeVisaForward {
    void *context;
    std::int32_t (*open)(void *context, const char *resource);
    void (*write)(void *context, std::int32_t session, const char *data, std::uint32_t count);
    std::uint32_t (*read)(void *context, std::int32_t session, char *buffer, std::uint32_t count);
    void (*close)(void *context, std::int32_t session);
};

namespace {

sim::InstrumentBench &benchOf(void *context) {
    return *static_cast<sim::InstrumentBench *>(context);
}

std::int32_t forwardOpen(void *context, const char *resource) {
    return benchOf(context).open(QByteArray(resource));
}
void forwardWrite(void *context, std::int32_t session, const char *data, std::uint32_t count) {
    benchOf(context).write(session, QByteArray(data, int(count)));
}
std::uint32_t forwardRead(void *context, std::int32_t session, char *buffer, std::uint32_t count) {
    const QByteArray reply = benchOf(context).read(session, int(count));
    std::memcpy(buffer, reply.constData(), std::size_t(reply.size()));
    return std::uint32_t(reply.size());
}
void forwardClose(void *context, std::int32_t session) {
    benchOf(context).close(session);
}

// The fake library opened a second time (the loader hands back the same module) to wire it to
// the bench and to read what it recorded.
class FakeVisa {
public:
    FakeVisa() : handle_(dlopen(FAKEVISA_PATH, RTLD_NOW | RTLD_LOCAL)) {}
    ~FakeVisa() {
        if (handle_) {
            fn<void (*)()>("fakevisa_reset")();
            dlclose(handle_);
        }
    }
    bool loaded() const { return handle_ != nullptr; }
    template <typename Fn> Fn fn(const char *name) const {
        return reinterpret_cast<Fn>(dlsym(handle_, name));
    }
    void forwardTo(sim::InstrumentBench &bench) {
        fn<void (*)()>("fakevisa_reset")();
        forward_ = {&bench, forwardOpen, forwardWrite, forwardRead, forwardClose};
        fn<void (*)(const FakeVisaForward *)>("fakevisa_forwardTo")(&forward_);
    }
    QStringList writes() const {
        QStringList result;
        const int count = fn<int (*)()>("fakevisa_writeCount")();
        for (int i = 0; i < count; ++i)
            result << QString::fromLatin1(fn<const char *(*)(int)>("fakevisa_write")(i));
        return result;
    }
    int openSessions() const { return fn<int (*)()>("fakevisa_openSessions")(); }
    std::uint32_t lastOpenArgs() const {
        return fn<std::uint32_t (*)()>("fakevisa_lastOpenArgs")();
    }

private:
    void *handle_;
    FakeVisaForward forward_{};
};

TeachRunFixture::Config visaConfig(const QString &library) {
    TeachRunFixture::Config config;
    config.backend = QStringLiteral("visa");
    config.visaLibrary = library;
    return config;
}

void writeSettings(const QString &dir, const QByteArray &ieee) {
    QFile file(dir + QStringLiteral("/ZEL ToolConfig.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[IEEE]\r\n" + ieee);
}

} // namespace

class TestTeachRunVisa : public QObject {
    Q_OBJECT

private slots:
    void runThroughTheLoadedLibrary();
    void missingLibraryEndsWithAClearError();
    void instrumentNotOnTheBus();
    void settingsSelectTheBackend();
    void simulatedBackendWithoutDevice();
};

void TestTeachRunVisa::runThroughTheLoadedLibrary() {
    FakeVisa fake;
    QVERIFY(fake.loaded());
    TeachRunFixture fx(visaConfig(QStringLiteral(FAKEVISA_PATH)));
    fake.forwardTo(*fx.bench);
    fx.chooseGroups({"CheckBox_intDruck", "CheckBox_OUT_Spannung", "CheckBox_IN2_Strom"});
    fx.click("ButtonTeach");

    QVERIFY2(fx.prompts->errors.isEmpty(), qPrintable(fx.prompts->errors.join('|')));
    QCOMPARE(fx.status(), QStringLiteral("Teachen erfolgreich beendet."));
    // Everything the library was given reached the bench, in the same order.
    QStringList benchWrites = fx.benchBetween(-1, -1);
    QCOMPARE(fake.writes(), benchWrites);
    QCOMPARE(benchWrites.mid(0, 3), (QStringList{" Outform 1", " Chan B", " Sensor Secondary, 2"}));
    QVERIFY(benchWrites.contains("SOUR:DIG:DATA 3,(@301)"));
    QCOMPARE(fake.openSessions(), 0);
    QCOMPARE(fake.lastOpenArgs(), 0u); // no lock, no open time-out
    QCOMPARE(fx.bench->openSessions(), 0);
    QVERIFY(fx.label("P120").toInt() > 60000);
    QVERIFY(qAbs(fx.label("IN2I20mA").toInt() - sim::AnalogFrontEnd::inputCurrentCounts(2, 20)) <=
            15);
    QCOMPARE(fx.line->commands.count("SavePar"), 1);
}

void TestTeachRunVisa::missingLibraryEndsWithAClearError() {
    const QString missing = QStringLiteral("/nonexistent/libvisa-zel.so");
    TeachRunFixture fx(visaConfig(missing));
    fx.chooseGroups({"CheckBox_intDruck", "CheckBox_OUT_Strom"}, false);
    for (int run = 0; run < 2; ++run) {
        fx.click("ButtonTeach");
        QCOMPARE(fx.prompts->errors.size(), run + 1);
        QCOMPARE(fx.prompts->errors.last(),
                 QStringLiteral("Die VISA-Bibliothek ist nicht installiert. Versucht: ") + missing +
                     QStringLiteral(", libvisa.so, libvisa.so.7, libiovisa.so, librsvisa.so"));
        QCOMPARE(fx.lockedControls(), QString());
    }
    // The run got as far as the pressure section's first device command.
    QCOMPARE(fx.line->commands.mid(0, 2), (QStringList{">MTeach", ">MeasRange 0"}));
    QVERIFY(fx.bench->log().isEmpty());
}

void TestTeachRunVisa::instrumentNotOnTheBus() {
    {
        TeachRunFixture fx;
        fx.chooseGroups({"CheckBox_OUT_Spannung"}, false);
        fx.window().state.gpib.GPIB2 = QStringLiteral("4");
        fx.click("ButtonTeach");
        QCOMPARE(fx.prompts->errors,
                 QStringList{"Simulierte Instrumente: an GPIB0::4::INSTR ist kein Gerät."});
        QCOMPARE(fx.lockedControls(), QString());
    }
    {
        FakeVisa fake;
        TeachRunFixture fx(visaConfig(QStringLiteral(FAKEVISA_PATH)));
        fake.forwardTo(*fx.bench);
        fx.chooseGroups({"CheckBox_OUT_Spannung"}, false);
        fx.window().state.gpib.GPIB2 = QString();
        fx.click("ButtonTeach");
        QCOMPARE(fx.prompts->errors.size(), 1);
        QVERIFY2(fx.prompts->errors.first().startsWith("VISA: GPIB0::::INSTR lässt sich nicht "
                                                       "öffnen"),
                 qPrintable(fx.prompts->errors.first()));
        QCOMPARE(fake.openSessions(), 0);
        QCOMPARE(fx.lockedControls(), QString());
    }
}

void TestTeachRunVisa::settingsSelectTheBackend() {
    QTemporaryDir dir;
    using Kind = InstrumentBackend::Kind;
    InstrumentBackend::Selection s = InstrumentBackend::Selection::read(dir.path());
    QVERIFY(s.kind == Kind::Visa && s.visaLibrary.isEmpty());
    writeSettings(dir.path(), "backend=Simulated\r\n");
    QVERIFY(InstrumentBackend::Selection::read(dir.path()).kind == Kind::Simulated);
    writeSettings(dir.path(), "Backend= SIMULATED \r\nVisaLibrary=/opt/visa/libvisa.so.21\r\n");
    s = InstrumentBackend::Selection::read(dir.path());
    QVERIFY(s.kind == Kind::Simulated);
    QCOMPARE(s.visaLibrary, QStringLiteral("/opt/visa/libvisa.so.21"));
    writeSettings(dir.path(), "Backend=gpib-usb\r\n");
    QVERIFY(InstrumentBackend::Selection::read(dir.path()).kind == Kind::Visa);

    // The VISA backend loads its library for each session, so a tool without it starts and
    // runs until an instrument is needed.
    InstrumentBackend::Selection visa;
    visa.visaLibrary = QStringLiteral("/nonexistent/libvisa-zel.so");
    const std::unique_ptr<InstrumentBackend> backend =
        InstrumentBackend::create(visa, nullptr, GpibSettings(), 1.0);
    QVERIFY_THROWS_EXCEPTION(EVisaError, backend->createSession());
    visa.visaLibrary = QStringLiteral(FAKEVISA_PATH);
    QVERIFY(InstrumentBackend::create(visa, nullptr, GpibSettings(), 1.0)->createSession());
}

void TestTeachRunVisa::simulatedBackendWithoutDevice() {
    InstrumentBackend::Selection simulated;
    simulated.kind = InstrumentBackend::Kind::Simulated;
    GpibSettings gpib;
    gpib.GPIB1 = QStringLiteral("7");
    gpib.GPIB2 = QStringLiteral("8");
    gpib.Agilent_OUTD_Strom = QStringLiteral("221");
    // With the tool's waits unscaled the controller takes its full settling time.
    std::unique_ptr<InstrumentBackend> backend =
        InstrumentBackend::create(simulated, nullptr, gpib, 1.0);
    std::unique_ptr<InstrumentSession> controller = backend->createSession();
    controller->open(QStringLiteral("GPIB0::7::INSTR"));
    controller->write(QStringLiteral(" _pcs4 func ctrl 100 Pa"));
    controller->write(QStringLiteral(" Stable?"));
    QCOMPARE(controller->read(1000), QStringLiteral("NO\r\n"));
    // Scaled to nothing, it is stable at once.
    backend = InstrumentBackend::create(simulated, nullptr, gpib, 0.0);
    controller = backend->createSession();
    controller->open(QStringLiteral("GPIB0::7::INSTR"));
    controller->write(QStringLiteral(" _pcs4 func ctrl 100 Pa"));
    controller->write(QStringLiteral(" Stable?"));
    QCOMPARE(controller->read(1000), QStringLiteral("YES\r\n"));
    // The data-acquisition unit sits where the settings say; with no device it reads about 0.
    std::unique_ptr<InstrumentSession> daq = backend->createSession();
    daq->open(QStringLiteral("GPIB0::8::INSTR"));
    daq->write(QStringLiteral("MEAS:CURR:DC? 0.1,0.0000001,(@221)"));
    QVERIFY(qAbs(InstrumentCommands::currentMilliamps(daq->read(1000))) < 0.01);
    QVERIFY_THROWS_EXCEPTION(EVisaError, backend->createSession()->open("GPIB0::9::INSTR"));
}

ZEL_TEST_MAIN(TestTeachRunVisa)
#include "test_teachrun_visa.moc"
