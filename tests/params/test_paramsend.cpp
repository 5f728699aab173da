#include "base/NumberText.h"
#include "tests/params/ParamTestSupport.h"
#include "tests/support/TestMain.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

using paramtest::allQueries;
using paramtest::deviceValue;
using paramtest::setDeviceValue;
using paramtest::windowIsIdle;

// Sending the settings pages to the simulated device, and the factory settings.
class TestParamSend : public QObject {
    Q_OBJECT
private slots:
    void completeSendAllAccepted();
    void refusedWarnPupAndFilterP();
    void refusals_data();
    void refusals();
    void emptyPasswordSendsBlank();
    void controlCharactersNeverSplitALine();
    void abortStopsBeforeSaveSet();
    void factorySettings_data();
    void factorySettings();
    void factorySettingsRefused_data();
    void factorySettingsRefused();
};

namespace {

const QString kNotAllSent = "Nicht alle Daten wurden erfolgreich gesendet";

// Runs `action` in the message pump of the first exchange that starts after the device has
// received `count` more commands than it had when this was created.
class AfterCommands {
public:
    AfterCommands(WindowFixture &fx, int count, std::function<void()> action)
        : base_(fx.device().commandCount()) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this, &fx, count, action] {
            if (!fired && fx.device().commandCount() >= base_ + count) {
                fired = true;
                action();
            }
        });
        timer_.start();
    }
    bool fired = false;

private:
    int base_;
    QTimer timer_;
};

QStringList expectedSetCommands(WindowFixture &fx) {
    QStringList commands;
    for (const ParamDef &row : ParamTable::rows()) {
        const double value = deviceValue(fx, row.name);
        QString text = QString::number(qRound(value));
        if (row.kind == ParamKind::Decimal)
            text = NumberText::fromFloat(value, '.');
        else if (row.kind == ParamKind::Password)
            text = NumberText::passwordText(value, '.');
        if (row.kind != ParamKind::Address)
            commands << ">" + QString(row.name) + " " + text;
    }
    return commands;
}

void refuse(WindowFixture &fx, const QByteArray &prefix) {
    sim::FaultRule rule = sim::FaultRule::onPrefix(prefix, sim::FaultRule::Kind::CustomReply);
    rule.reply = "Err_ValRange";
    fx.device().addFault(rule);
}

QWidget *focused(WindowFixture &fx) {
    return fx.window().focusWidget();
}

} // namespace

void TestParamSend::completeSendAllAccepted() {
    WindowFixture fx;
    fx.window().state.decimalSeparator = ',';
    setDeviceValue(fx, "WarnPHyst", 2.5);
    setDeviceValue(fx, "Password", 7);
    setDeviceValue(fx, "RelAssign", 6);
    fx.click("ButtonLaden");
    const QStringList unchanged = expectedSetCommands(fx);
    fx.ctl<QLineEdit>("ScalPdown")->setText("12,5");
    fx.ctl<QComboBox>("Lang")->setCurrentIndex(1);
    fx.device().clearLog();

    fx.click("ButtonSenden");

    QStringList expected = unchanged;
    expected[0] = ">ScalPdown 12.5";
    expected[46] = ">Lang 1";
    QCOMPARE(expected[12], QString(">WarnPHyst 2.5"));
    QCOMPARE(expected[48], QString(">Password 0007"));
    QCOMPARE(fx.commands(), expected + QStringList{"SaveSet"});
    QCOMPARE(fx.status(), QString("Daten erfolgreich gesendet"));
    QCOMPARE(fx.prompts().errors, QStringList());
    QCOMPARE(fx.window().Progress->maximum(), 49);
    ZEL_VERIFY_IDLE(fx);
    // The device took and stored them.
    QCOMPARE(deviceValue(fx, "ScalPdown", true), 12.5);
    QCOMPARE(deviceValue(fx, "Lang", true), 1.0);
    QCOMPARE(deviceValue(fx, "Password", true), 7.0);
}

void TestParamSend::refusedWarnPupAndFilterP() {
    WindowFixture fx;
    fx.click("ButtonLaden");
    // Out of the device's range: it answers "Err_ValRange" itself.
    fx.ctl<QLineEdit>("WarnPup")->setText("999");
    fx.ctl<QLineEdit>("FilterP")->setText("-5");
    fx.window().PageControl->setCurrentIndex(4);
    fx.device().clearLog();
    int pageDuringSend = -1;
    AfterCommands sample(fx, 20, [&] { pageDuringSend = fx.window().PageControl->currentIndex(); });

    fx.click("ButtonSenden");

    QVERIFY(sample.fired);
    QCOMPARE(pageDuringSend, 2);
    QCOMPARE(fx.commands().size(), 50);
    QCOMPARE(fx.commands().at(11), QString(">WarnPup 999"));
    QCOMPARE(fx.commands().last(), QString("SaveSet"));
    QCOMPARE(fx.status(), kNotAllSent);
    QCOMPARE(fx.prompts().errors, QStringList{kNotAllSent});
    QCOMPARE(fx.window().PageControl->currentIndex(), 2);
    QCOMPARE(focused(fx), fx.ctl<QWidget>("WarnPup"));
    ZEL_VERIFY_IDLE(fx);
}

void TestParamSend::refusals_data() {
    QTest::addColumn<QList<QByteArray>>("refused");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("focus");
    QTest::newRow("RelTime1") << QList<QByteArray>{">RelTime1 "} << 3 << "RelTime1";
    QTest::newRow("Password") << QList<QByteArray>{">Password "} << 3 << "Password";
    QTest::newRow("ScalIN2Pup") << QList<QByteArray>{">ScalIN2Pup "} << 1 << "ScalIN2Pup";
    QTest::newRow("Sound") << QList<QByteArray>{">Sound "} << 3 << "Sound";
    QTest::newRow("ExtPress before RelTime1")
        << QList<QByteArray>{">RelTime1 ", ">ExtPress "} << 3 << "ExtPress";
    QTest::newRow("WarnPup before Sound")
        << QList<QByteArray>{">Sound ", ">WarnPup "} << 2 << "WarnPup";
    QTest::newRow("MeasRange") << QList<QByteArray>{">MeasRange "} << 3 << "MeasRange2";
}

void TestParamSend::refusals() {
    QFETCH(QList<QByteArray>, refused);
    QFETCH(int, page);
    QFETCH(QString, focus);
    WindowFixture fx;
    fx.click("ButtonLaden");
    fx.window().PageControl->setCurrentIndex(4);
    fx.device().clearLog();
    for (const QByteArray &prefix : refused)
        refuse(fx, prefix);

    fx.click("ButtonSenden");

    QCOMPARE(fx.commands().size(), 50);
    QCOMPARE(fx.commands().last(), QString("SaveSet"));
    QCOMPARE(fx.status(), kNotAllSent);
    QCOMPARE(fx.prompts().errors, QStringList{kNotAllSent});
    QCOMPARE(fx.window().PageControl->currentIndex(), page);
    QCOMPARE(focused(fx), fx.ctl<QWidget>(focus));
    ZEL_VERIFY_IDLE(fx);
}

void TestParamSend::emptyPasswordSendsBlank() {
    WindowFixture fx;
    setDeviceValue(fx, "Password", 1234);
    fx.click("ButtonLaden");
    QCOMPARE(fx.ctl<QLineEdit>("Password")->text(), QString("1234"));
    fx.ctl<QLineEdit>("Password")->clear();
    fx.device().clearLog();

    fx.click("ButtonSenden");

    QCOMPARE(fx.commands().at(48), QString(">Password "));
    QCOMPARE(fx.status(), QString("Daten erfolgreich gesendet"));
    QCOMPARE(deviceValue(fx, "Password", true), 0.0);
}

// A value must never end its command line early and put a second command on the wire.
void TestParamSend::controlCharactersNeverSplitALine() {
    WindowFixture fx;
    fx.window().SpracheEngClick();
    fx.click("ButtonLaden");
    fx.device().clearLog();
    fx.ctl<QLineEdit>("WarnPup")->setText("1\rReset");
    fx.window().PageControl->setCurrentIndex(4);

    fx.click("ButtonSenden");

    QVERIFY2(fx.commands().isEmpty(), qPrintable(fx.commands().join(" | ")));
    QCOMPARE(fx.prompts().errors,
             QStringList{"This value holds a control character (a line break, for instance) and "
                         "is not sent; nothing was transferred: WarnPup"});
    QCOMPARE(fx.window().PageControl->currentWidget(), fx.window().WarnwerteSheet);
    QCOMPARE(QApplication::focusWidget(), fx.ctl<QLineEdit>("WarnPup"));
    QString why;
    QVERIFY2(windowIsIdle(fx, &why), qPrintable(why));

    // A configuration file with LF line ends and a CR inside a value: the CR ends the line as
    // it does for Windows, so only "1" is loaded and "Reset" is an unknown line.
    const QString file = fx.dir() + "/cr.zel";
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("[Scalings]\nScalPdown=1\rReset\n[Warnings]\nWarnPup=100\n");
    out.close();
    fx.prompts().openAnswers << file;
    fx.window().LoadConfClick();
    QCOMPARE(fx.ctl<QLineEdit>("ScalPdown")->text(), QString("1"));
    fx.ctl<QLineEdit>("ScalPup")->setText("250");
    fx.ctl<QLineEdit>("Password")->setText("12");
    fx.click("ButtonSenden");
    QCOMPARE(fx.commands().first(), QString(">ScalPdown 1"));
    QVERIFY(!fx.commands().contains("Reset"));
    QCOMPARE(fx.commands().size(), 50);
}

void TestParamSend::abortStopsBeforeSaveSet() {
    WindowFixture fx;
    fx.click("ButtonLaden");
    fx.ctl<QLineEdit>("ScalPdown")->setText("-99");
    fx.device().clearLog();
    AfterCommands abort(fx, 5, [&] { fx.click("ButtonAbortConfig"); });

    fx.click("ButtonSenden");

    QVERIFY(abort.fired);
    QCOMPARE(fx.commands().size(), 6);
    QCOMPARE(fx.commands().first(), QString(">ScalPdown -99"));
    QCOMPARE(fx.status(), QString("Abbruch durch Benutzer"));
    QCOMPARE(fx.prompts().errors, QStringList{"Abbruch durch Benutzer"});
    QCOMPARE(deviceValue(fx, "ScalPdown"), -99.0);
    QCOMPARE(deviceValue(fx, "ScalPdown", true), -250.0); // not stored without "SaveSet"
    ZEL_VERIFY_IDLE(fx);
}

void TestParamSend::factorySettings_data() {
    QTest::addColumn<int>("deviceRange");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("rangeCommand");
    QTest::addColumn<QString>("scalPdown");
    QTest::addColumn<QString>("filterP");
    QTest::newRow("100 Pa") << 0 << "ButtonWE100Pa"
                            << ">MeasRange 1"
                            << "-100"
                            << "2000";
    QTest::newRow("250 Pa") << 1 << "ButtonWE250Pa"
                            << ">MeasRange 0"
                            << "-250"
                            << "1000";
}

void TestParamSend::factorySettings() {
    QFETCH(int, deviceRange);
    QFETCH(QString, button);
    QFETCH(QString, rangeCommand);
    QFETCH(QString, scalPdown);
    QFETCH(QString, filterP);
    WindowFixture::Config config;
    config.measRange = deviceRange;
    WindowFixture fx(config);
    setDeviceValue(fx, "FilterP", 5);
    int maximumDuringLoad = -1;
    AfterCommands sample(fx, 10, [&] { maximumDuringLoad = fx.window().Progress->maximum(); });

    fx.click(button);

    QCOMPARE(fx.commands(), QStringList({rangeCommand, "RecallWE"}) + allQueries());
    QCOMPARE(maximumDuringLoad, 51);
    QCOMPARE(fx.status(), QString("Daten erfolgreich geladen"));
    QCOMPARE(fx.prompts().errors, QStringList());
    QCOMPARE(fx.ctl<QLineEdit>("ScalPdown")->text(), scalPdown);
    QCOMPARE(fx.ctl<QLineEdit>("FilterP")->text(), filterP);
    QCOMPARE(fx.ctl<QComboBox>("MeasRange2")->currentIndex(), 1 - deviceRange);
    QCOMPARE(fx.ctl<QComboBox>("MeasRange1")->currentIndex(), 1 - deviceRange);
    ZEL_VERIFY_IDLE(fx);
}

void TestParamSend::factorySettingsRefused_data() {
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("range refused") << QByteArray(">MeasRange 1") << QByteArray("Err_ValRange");
    QTest::newRow("recall refused") << QByteArray("RecallWE") << QByteArray("Err_CmdNotExist");
}

void TestParamSend::factorySettingsRefused() {
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, reply);
    WindowFixture fx;
    setDeviceValue(fx, "ScalPdown", -42);
    fx.device().addFault(sim::FaultRule::customReply(command, reply, 1));

    fx.click("ButtonWE100Pa");

    // The load still runs, so the pages show what the device holds now.
    QCOMPARE(fx.commands(), QStringList({">MeasRange 1", "RecallWE"}) + allQueries());
    QCOMPARE(fx.ctl<QLineEdit>("ScalPdown")->text(),
             NumberText::fromFloat(deviceValue(fx, "ScalPdown"), ','));
    QCOMPARE(fx.status(), kNotAllSent);
    QCOMPARE(fx.prompts().errors, QStringList{kNotAllSent});
    ZEL_VERIFY_IDLE(fx);
}

ZEL_TEST_MAIN(TestParamSend)
#include "test_paramsend.moc"
