// Every device action against every kind of device fault: each cell must end with its message
// (or its success), the window unlocked, the port closed and the measurement stopped where a
// failure stops it. With ZEL_MATRIX_REPORT=<file> the outcomes are written as a Markdown table.
#include "tests/reliability/FaultMatrixReport.h"
#include "tests/support/TestMain.h"
#include "tests/support/WindowFixture.h"

#include "sim/FaultPlan.h"
#include "sim/FaultRule.h"
#include "teach/ui/TformOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSerialPort>
#include <QStatusBar>
#include <QTimer>
#include <memory>
#include <unistd.h>

using sim::FaultRule;
using Action = FaultMatrixReport::Action;
using Fault = FaultMatrixReport::Fault;
using Outcome = FaultMatrixReport::Outcome;

namespace {

constexpr int kReplyTimeoutMs = 400;
constexpr int kSlowUnderMs = 100; // far inside the time-out, also on a loaded machine
constexpr int kSlowOverMs = 1000; // beyond both attempts (2 x 400 ms): the reply never counts
constexpr int kErrBound = 100;    // resends on "Err" where no abort control exists
constexpr qint64 kHangMs = 15000; // a cell running this long counts as hung

const QString kExchangeFailed =
    QStringLiteral("Fehler beim Datenaustausch mit dem ZEL 40 / ZEL 80 (COM1)");
const QString kConnectionProblem =
    QStringLiteral("Verbindungsproblem zum ZEL 40 / ZEL 80. Bitte warten ... (COM1)");
const QString kAbort = QStringLiteral("Abbruch durch Benutzer");
const QString kNotAllSent = QStringLiteral("Nicht alle Daten wurden erfolgreich gesendet");
const QString kConnected = QStringLiteral("Verbunden mit ZEL 40 / ZEL 80 ... (COM1)");
const QString kDisconnected = QStringLiteral("Verbindung zu ZEL 40 / ZEL 80 getrennt");
const QString kLoading = QStringLiteral("Lade Daten aus ZEL 40 / ZEL 80 ... (COM1)");
const QString kLoaded = QStringLiteral("Daten erfolgreich geladen");
const QString kSent = QStringLiteral("Daten erfolgreich gesendet");
const QString kZeroed = QStringLiteral("Nullierung abgeschlossen");
const QString kBefore = QStringLiteral("(before the action)"); // set by the test
const QStringList kLinkLostOperations = {
    QStringLiteral("WriteFile function failed"), QStringLiteral("ReadFile function failed"),
    QStringLiteral("WaitForEvent method failed"), QStringLiteral("PurgeComm function failed")};
const QString kOpenFailed = QStringLiteral("Unable to open com port");

// How one action is started, where a fault meets it, and how it ends when nothing goes wrong.
struct ActionInfo {
    const char *button;
    int faultAt;             // the action's own command (1-based) from which the fault acts
    const char *abortButton; // clicked while "Err" keeps coming; none: the resends are bounded
    QString running;         // status while the action talks to the device
    QString success;         // status after a clean end
    QString atOpen;          // status when the port is opened (where a failed open leaves it)
    bool inDialog;           // the fault hits inside a modal dialog; the action then goes on
    const char *conversion;  // what the reply at faultAt converts to: "Gleitkomma", "Integer"
};

ActionInfo infoOf(Action action) {
    switch (action) {
    case Action::Load:
        return {"ButtonLaden", 3,     "ButtonAbortConfig", kLoading, kLoaded,
                kBefore,       false, "Gleitkomma"};
    case Action::Send:
        return {"ButtonSenden",
                3,
                "ButtonAbortConfig",
                QStringLiteral("Speichere Daten auf den ZEL 40 / ZEL 80 ... (COM1)"),
                kSent,
                kBefore,
                false,
                nullptr};
    case Action::Factory:
        return {"ButtonWE100Pa", 3,     "ButtonAbortConfig", kLoading, kLoaded,
                kBefore,         false, "Gleitkomma"};
    case Action::StartMeasurement:
        return {"ButtonConnection", 2, "ButtonConnection", kConnected, kConnected, kBefore, false,
                "Integer"};
    case Action::RunningMeasurement:
        return {nullptr, 1, "ButtonConnection", kConnected, kConnected, kConnected, false, nullptr};
    case Action::ZeroingWhileMeasuring: {
        // The measurement's own button stays usable and ends the zeroing with it.
        const QString running = QStringLiteral("ZEL 40 / ZEL 80 wird nulliert ... (COM1)");
        return {
            "ButtonNullieren", 1, "ButtonConnection", running, kZeroed, running, false, nullptr};
    }
    case Action::Zeroing: {
        const QString running = QStringLiteral("ZEL 40 / ZEL 80 wird nulliert ... (COM1)");
        return {"ButtonNullieren", 1, nullptr, running, kZeroed, running, false, nullptr};
    }
    case Action::Reset: {
        const QString running = QStringLiteral("ZEL 40 / ZEL 80 zurücksetzen ... (COM1)");
        return {"ButtonReset", 1,     nullptr, running, QStringLiteral("Reset abgeschlossen"),
                running,       false, nullptr};
    }
    case Action::Recalibration:
        return {"ButtonCalibPlus",
                3,
                nullptr,
                QStringLiteral("Kalibrierung läuft ..."),
                QStringLiteral("Kalibrierung abgeschlossen."),
                QStringLiteral("Messbereich vom ZEL 40 / ZEL 80 lesen ... (COM1)"),
                true,
                "Integer"};
    case Action::DeleteRecalibration: {
        const QString running = QStringLiteral("Zurücksetzen der Nachkalibrierungswerte läuft ...");
        return {"ButtonCalibCancel",
                1,
                nullptr,
                running,
                QStringLiteral("Zurücksetzen der Nachkalibrierungswerte abgeschlossen."),
                running,
                true,
                nullptr};
    }
    case Action::LoadTeach:
        return {"ButtonLoadTeach", 3, "ButtonAbortConfig", kLoading, kLoaded, kBefore, false,
                "Integer"};
    case Action::SendTeach:
        return {"ButtonSendTeach",
                3,
                "ButtonAbortConfig",
                QStringLiteral("Speichere Daten auf den ZEL 40 / ZEL 80 ... (COM1)"),
                kSent,
                kBefore,
                false,
                nullptr};
    case Action::TeachRun:
        return {"ButtonTeach",
                3,
                "ButtonAbortTeach",
                QStringLiteral("Gerät in Teachmodus versetzen ..."),
                QStringLiteral("Teachen erfolgreich beendet."),
                kBefore,
                false,
                nullptr};
    }
    return {};
}

bool timesOut(Fault fault) {
    return fault == Fault::Silent || fault == Fault::NoCr || fault == Fault::Flood ||
           fault == Fault::SlowOver;
}

// Actions that end with the measurement still running when nothing goes wrong.
bool measuring(Action action) {
    return action == Action::StartMeasurement || action == Action::RunningMeasurement ||
           action == Action::ZeroingWhileMeasuring;
}

// Actions that find the port open: nothing is opened that could fail.
bool portAlreadyOpen(Action action) {
    return action == Action::RunningMeasurement || action == Action::ZeroingWhileMeasuring;
}

// How a cell must end.
struct Expected {
    Outcome outcome = Outcome::Success;
    QString error;  // every error box shows exactly this; empty: none, or an EComPort text
    QString status; // the status bar at the end; null: not defined for this cell
};

// What a reply that is no number does to each action.
Expected replyNotANumber(Action action, const QString &reply) {
    const ActionInfo info = infoOf(action);
    if (info.conversion) {
        const QString text = QStringLiteral("'%1' ist kein gültiger %2wert")
                                 .arg(reply, QLatin1String(info.conversion));
        return {Outcome::Conversion, text, info.inDialog ? info.success : info.running};
    }
    switch (action) {
    case Action::SendTeach:
        // "SavePar" not answered "OK" is reported.
        return {Outcome::NotAllSent, kNotAllSent, kNotAllSent};
    case Action::TeachRun:
        // ">MTeach" is sent again until its reply names the mode: only the operator ends that.
        return {Outcome::Abort, kAbort, kAbort};
    default:
        return {measuring(action) ? Outcome::GoesOn : Outcome::Success, QString(), info.success};
    }
}

Expected expected(Action action, Fault fault) {
    const ActionInfo info = infoOf(action);
    switch (fault) {
    case Fault::Silent:
    case Fault::NoCr:
    case Fault::Flood:
    case Fault::SlowOver:
        return {Outcome::ExchangeFailure, kExchangeFailed,
                info.inDialog ? info.success : kExchangeFailed};
    case Fault::ErrForever:
        if (info.abortButton)
            return {Outcome::Abort, kAbort, kAbort};
        return {Outcome::Bounded, kExchangeFailed, info.inDialog ? info.success : kExchangeFailed};
    case Fault::Empty:
        return replyNotANumber(action, QString());
    case Fault::Garbage:
        return replyNotANumber(action, QString::fromLatin1(sim::FaultPlan::garbageBytes()));
    case Fault::SlowUnder:
        return {measuring(action) ? Outcome::GoesOn : Outcome::Success, QString(), info.success};
    case Fault::HangUp:
    case Fault::Vanish:
        return {Outcome::LinkLost, QString(), info.inDialog ? info.success : info.running};
    case Fault::PortBusy:
    case Fault::PermissionDenied:
        if (portAlreadyOpen(action))
            return {Outcome::GoesOn, QString(), info.success};
        return {Outcome::OpenFailed, QString(), info.atOpen};
    }
    return {};
}

bool isComPortText(const QString &text, const QStringList &operations) {
    for (const QString &operation : operations) {
        if (text.startsWith(operation + QStringLiteral(" (win error code: ")))
            return true;
    }
    return false;
}

// A path COM1 can be bound to that the tool may not open: a file without permissions, or, for
// root (who may open any file), a folder.
QString deniedPath(const QString &dir) {
    if (::geteuid() == 0) {
        const QString folder = QDir(dir).filePath(QStringLiteral("denied-port"));
        QDir().mkpath(folder);
        return folder;
    }
    const QString file = QDir(dir).filePath(QStringLiteral("denied-port"));
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot create %s", qPrintable(file));
    f.close();
    f.setPermissions(QFileDevice::Permissions());
    return file;
}

// Everything a cell observed.
struct Observed {
    QStringList errors;
    QStringList statuses; // every status text shown, in order
    QString finalStatus;
    int commandsSent = 0; // device commands of the action itself
    bool abortClicked = false;
    bool hung = false;
    bool dialogStuck = false; // a modal dialog its buttons could not close
    qint64 elapsedMs = 0;
};

} // namespace

class TestFaultMatrix : public QObject {
    Q_OBJECT
private slots:
    void cleanupTestCase();
    void matrix_data();
    void matrix();

private:
    WindowFixture::Config config() const;
    void prepare(WindowFixture &fx, Action action);
    void injectFault(WindowFixture &fx, Fault fault, int first,
                     std::unique_ptr<QSerialPort> &holder);
    Observed run(WindowFixture &fx, Action action, Fault fault);
    void verifyOutcome(WindowFixture &fx, Action action, Fault fault, const Observed &seen);
    void verifyReleased(WindowFixture &fx);
    void verifyRecovers(WindowFixture &fx, Fault fault);

    FaultMatrixReport report_;
};

WindowFixture::Config TestFaultMatrix::config() const {
    WindowFixture::Config c;
    c.replyTimeoutMs = kReplyTimeoutMs;
    c.waitScale = 0.01;
    c.production = true;
    // The teach run drives simulated instruments; no VISA library is needed.
    c.extraSettings = QStringLiteral("[IEEE]\r\nBackend=simulated\r\n");
    return c;
}

void TestFaultMatrix::matrix_data() {
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("fault");
    for (Action action : FaultMatrixReport::actions()) {
        for (Fault fault : FaultMatrixReport::faults()) {
            const QByteArray name =
                FaultMatrixReport::key(action) + '/' + FaultMatrixReport::key(fault);
            QTest::newRow(name.constData()) << int(action) << int(fault);
        }
    }
}

// What each action needs before it can meet its fault.
void TestFaultMatrix::prepare(WindowFixture &fx, Action action) {
    TformMain &window = fx.window();
    switch (action) {
    case Action::Send:
        // The pages must hold values the device accepts.
        fx.click(QStringLiteral("ButtonLaden"));
        QCOMPARE(fx.status(), kLoaded);
        break;
    case Action::RunningMeasurement:
    case Action::ZeroingWhileMeasuring:
        fx.click(QStringLiteral("ButtonConnection"));
        QVERIFY(window.state.measurementRunning);
        QVERIFY(window.TimerMessung->isActive());
        break;
    case Action::TeachRun:
        fx.ctl<QComboBox>(QStringLiteral("MeasRange1"))->setCurrentIndex(0);
        for (QCheckBox *box : window.findChildren<QCheckBox *>()) {
            if (box->objectName().startsWith(QLatin1String("CheckBox_")))
                box->setChecked(box->objectName() == QLatin1String("CheckBox_intDruck") ||
                                box->objectName() == QLatin1String("CheckBox_ALZ_vor_Teachen"));
        }
        window.formOptions()
            ->findChild<QCheckBox *>(QStringLiteral("ZEL_Simulation"))
            ->setChecked(false);
        break;
    default:
        break;
    }
    fx.prompts().errors.clear();
}

void TestFaultMatrix::injectFault(WindowFixture &fx, Fault fault, int first,
                                  std::unique_ptr<QSerialPort> &holder) {
    sim::PtyDevice &device = fx.device();
    using K = FaultRule::Kind;
    switch (fault) {
    case Fault::Silent:
        device.addFault(FaultRule::onCommandNumber(first, K::Silence, FaultRule::Always));
        break;
    case Fault::ErrForever:
        device.addFault(FaultRule::onCommandNumber(first, K::Err, FaultRule::Always));
        break;
    case Fault::Empty:
        device.addFault(FaultRule::onCommandNumber(first, K::Empty, FaultRule::Always));
        break;
    case Fault::Garbage:
        device.addFault(FaultRule::onCommandNumber(first, K::Garbage, FaultRule::Always));
        break;
    case Fault::NoCr:
        device.addFault(FaultRule::onCommandNumber(first, K::NoCr, FaultRule::Always));
        break;
    case Fault::Flood:
        device.addFault(FaultRule::onCommandNumber(first, K::Flood, FaultRule::Always));
        break;
    case Fault::SlowUnder:
        device.addFault(FaultRule::delayFrom(first, kSlowUnderMs, 3));
        break;
    case Fault::SlowOver:
        device.addFault(FaultRule::delayFrom(first, kSlowOverMs));
        break;
    case Fault::HangUp:
        device.addFault(FaultRule::onCommandNumber(first, K::HangUp, 1));
        break;
    case Fault::Vanish:
        break; // pulled while the action runs, see run()
    case Fault::PortBusy:
        holder = std::make_unique<QSerialPort>();
        holder->setPortName(device.slavePath());
        if (fx.window().ComPort().connected())
            QVERIFY2(!holder->open(QIODevice::ReadWrite), "an open port was taken over");
        else
            QVERIFY2(holder->open(QIODevice::ReadWrite), qPrintable(holder->errorString()));
        break;
    case Fault::PermissionDenied:
        fx.window().ComPort().setBindings({{QStringLiteral("COM1"), deniedPath(fx.dir())}});
        break;
    }
}

Observed TestFaultMatrix::run(WindowFixture &fx, Action action, Fault fault) {
    TformMain &window = fx.window();
    const ActionInfo info = infoOf(action);
    const Expected want = expected(action, fault);
    const int base = fx.device().commandCount();
    Observed seen;

    QMetaObject::Connection statusWatch =
        QObject::connect(window.Status, &QStatusBar::messageChanged, [&seen](const QString &text) {
            if (!text.isEmpty())
                seen.statuses << text;
        });
    std::unique_ptr<QSerialPort> holder;
    injectFault(fx, fault, base + info.faultAt, holder);
    // A running measurement keeps its own status; every other action starts from a mark.
    if (action != Action::RunningMeasurement)
        window.setStatus(kBefore);

    // Timers run while the action pumps messages: the operator's abort click, the adapter that
    // is pulled, and the watchdog that ends a cell which would never end by itself.
    QElapsedTimer clock;
    clock.start();
    QTimer ticker;
    ticker.setInterval(2);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const int sent = fx.device().commandCount() - base;
        if (want.outcome == Outcome::Abort && !seen.abortClicked && sent >= info.faultAt + 3) {
            QPushButton *abort = fx.ctl<QPushButton>(QLatin1String(info.abortButton));
            if (abort->isEnabled()) {
                seen.abortClicked = true;
                abort->click();
            }
        }
        if (clock.elapsed() > kHangMs) {
            seen.hung = true;
            window.runner().requestAbort();
            if (window.PauseTimer->isActive())
                window.PauseTimerTimer();
        }
    });
    ticker.start();
    // Pulls the adapter at the first message pump after the device answered the command
    // before faultAt: a zero timer runs at every pump, so no pump is missed.
    QTimer puller;
    puller.setInterval(0);
    QObject::connect(&puller, &QTimer::timeout, [&] {
        if (fx.device().isRunning() && window.ComPort().connected() &&
            fx.device().commandCount() - base >= info.faultAt - 1) {
            fx.device().stop();
            puller.stop();
        }
    });
    if (fault == Fault::Vanish)
        puller.start();

    fx.prompts().modalScript = [&seen](QDialog &dialog) {
        auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("ButtonCalibOK"));
        auto *second = dialog.findChild<QPushButton *>(QStringLiteral("ButtonCalibAbbrechen"));
        // The re-calibration dialog closes at its third OK, the deletion dialog after one OK
        // with its second button; a failure in between must leave either usable that way.
        const bool deletion = dialog.objectName() == QLatin1String("FormKalibrierungLoeschen");
        for (int i = 0; i < (deletion ? 1 : 3) && dialog.isVisible(); ++i)
            ok->click();
        if (deletion && dialog.isVisible())
            second->click();
        seen.dialogStuck = seen.dialogStuck || dialog.isVisible();
        return int(QDialog::Accepted);
    };

    if (action == Action::RunningMeasurement)
        window.runGuarded([&window] { window.TimerMessungEvent(); });
    else
        fx.click(QLatin1String(info.button));

    ticker.stop();
    puller.stop();
    QObject::disconnect(statusWatch);
    if (holder)
        holder->close();
    seen.elapsedMs = clock.elapsed();
    seen.errors = fx.prompts().errors;
    seen.finalStatus = fx.status();
    seen.commandsSent = fx.device().commandCount() - base;
    return seen;
}

void TestFaultMatrix::verifyOutcome(WindowFixture &fx, Action action, Fault fault,
                                    const Observed &seen) {
    const Expected want = expected(action, fault);
    const QString errors = seen.errors.join(QStringLiteral(" | "));
    QVERIFY2(!seen.hung, "the action did not end by itself");
    QVERIFY2(!seen.dialogStuck, "the dialog could not be closed");
    switch (want.outcome) {
    case Outcome::Success:
    case Outcome::GoesOn:
        QVERIFY2(seen.errors.isEmpty(), qPrintable(errors));
        break;
    case Outcome::LinkLost:
    case Outcome::OpenFailed: {
        QVERIFY2(!seen.errors.isEmpty(), "no message");
        const QStringList first =
            want.outcome == Outcome::OpenFailed ? QStringList{kOpenFailed} : kLinkLostOperations;
        QVERIFY2(isComPortText(seen.errors.first(), first), qPrintable(errors));
        // Inside a dialog the next step opens the port anew, which fails while it is gone.
        for (const QString &error : seen.errors)
            QVERIFY2(isComPortText(error, kLinkLostOperations + QStringList{kOpenFailed}),
                     qPrintable(errors));
        break;
    }
    default:
        QVERIFY2(!seen.errors.isEmpty(), "no message");
        for (const QString &error : seen.errors)
            QCOMPARE(error, want.error);
        break;
    }
    if (!want.status.isNull())
        QCOMPARE(seen.finalStatus, want.status);
    if (want.outcome == Outcome::Abort)
        QVERIFY2(seen.abortClicked, "ended before the abort");
    if (want.outcome == Outcome::Bounded)
        QVERIFY2(seen.commandsSent >= kErrBound, qPrintable(QString::number(seen.commandsSent)));
    if (want.outcome == Outcome::ExchangeFailure && timesOut(fault))
        QVERIFY2(seen.statuses.contains(kConnectionProblem), qPrintable(seen.statuses.join('|')));

    TformMain &window = fx.window();
    if (want.outcome == Outcome::GoesOn) {
        // A measurement that goes on keeps its port; the stop then releases everything.
        QVERIFY(window.state.measurementRunning);
        QVERIFY(window.TimerMessung->isActive());
        QVERIFY(window.ComPort().connected());
        fx.click(QStringLiteral("ButtonConnection"));
        QCOMPARE(fx.status(), kDisconnected);
        QVERIFY(fx.prompts().errors.isEmpty());
    }
}

// The window is ready for the next action: every lock released, the port closed, no
// measurement left running.
void TestFaultMatrix::verifyReleased(WindowFixture &fx) {
    TformMain &window = fx.window();
    for (const char *name :
         {"ButtonLaden", "ButtonSenden", "ButtonWE100Pa", "ButtonWE250Pa", "ButtonNullieren",
          "ButtonReset", "ButtonCalibPlus", "ButtonCalibMinus", "ButtonCalibCancel", "ButtonTeach",
          "ButtonLoadTeach", "ButtonSendTeach", "ButtonConnection"})
        QVERIFY2(fx.ctl<QPushButton>(QLatin1String(name))->isEnabled(), name);
    for (const char *name : {"ButtonAbortConfig", "ButtonAbortTeach"})
        QVERIFY2(!fx.ctl<QPushButton>(QLatin1String(name))->isEnabled(), name);
    for (QWidget *sheet : {window.TeachZELSheet, window.SkalierungswerteSheet,
                           window.WarnwerteSheet, window.EinstellungenSheet, window.StatusSheet})
        QVERIFY2(sheet->isEnabled(), qPrintable(sheet->objectName()));
    for (QMenu *menu : {window.MEinstellungen, window.MExtras})
        QVERIFY2(menu->isEnabled() && menu->menuAction()->isEnabled(),
                 qPrintable(menu->objectName()));
    QVERIFY2(!window.ComPort().connected(), "port left open");
    QVERIFY(!window.TimerMessung->isActive());
    QVERIFY(!window.state.measurementRunning);
    QCOMPARE(fx.ctl<QPushButton>(QStringLiteral("ButtonConnection"))->text(),
             QStringLiteral("Messung starten"));
    QCOMPARE(window.Progress->value(), 0);
    QCOMPARE(window.state.transferFailureMarker, 0);
}

// Once the fault is gone the next action works: the failure left nothing behind.
void TestFaultMatrix::verifyRecovers(WindowFixture &fx, Fault fault) {
    // A pulled adapter or a denied device stays so; a delayed reply may still be on its way.
    if (fault == Fault::HangUp || fault == Fault::Vanish || fault == Fault::PermissionDenied ||
        fault == Fault::SlowOver)
        return;
    fx.device().clearFaults();
    fx.prompts().errors.clear();
    fx.click(QStringLiteral("ButtonNullieren"));
    QVERIFY2(fx.prompts().errors.isEmpty(), qPrintable(fx.prompts().errors.join('|')));
    QCOMPARE(fx.status(), kZeroed);
    QVERIFY(!fx.window().ComPort().connected());
}

void TestFaultMatrix::matrix() {
    QFETCH(int, action);
    QFETCH(int, fault);
    const auto a = Action(action);
    const auto f = Fault(fault);
    report_.begin(a, f);

    WindowFixture fx(config());
    prepare(fx, a);
    if (QTest::currentTestFailed())
        return;
    const Observed seen = run(fx, a, f);
    const Outcome outcome =
        FaultMatrixReport::classify(f, seen.errors, fx.window().state.measurementRunning);
    report_.observe(a, f, outcome, seen.errors, seen.finalStatus, seen.elapsedMs);
    verifyOutcome(fx, a, f, seen);
    if (QTest::currentTestFailed())
        return;
    verifyReleased(fx);
    if (QTest::currentTestFailed())
        return;
    verifyRecovers(fx, f);
    if (QTest::currentTestFailed())
        return;
    report_.pass(a, f);
}

void TestFaultMatrix::cleanupTestCase() {
    const QString path = qEnvironmentVariable("ZEL_MATRIX_REPORT");
    if (!path.isEmpty())
        QVERIFY2(report_.write(path), qPrintable(path));
}

ZEL_TEST_MAIN(TestFaultMatrix)
#include "test_faultmatrix.moc"
