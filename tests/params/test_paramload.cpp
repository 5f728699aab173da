#include "base/NumberText.h"
#include "params/SettingsModel.h"
#include "tests/params/ParamTestSupport.h"
#include "tests/support/TestMain.h"

#include <QLabel>
#include <QTimer>

using paramtest::allQueries;
using paramtest::deviceValue;
using paramtest::setDeviceValue;

// Loading all settings from the simulated device into the settings pages.
class TestParamLoad : public QObject {
    Q_OBJECT
private slots:
    void completeLoad_data();
    void completeLoad();
    void unitListsOnLoad();
    void extPressChangedRebuildsLists();
    void abortDuringTwentiethQuery();
    void errCmdNotExistStopsAtFilterIN1();
    void badReplies_data();
    void badReplies();
    void refusedWhileMeasuring();
};

void TestParamLoad::completeLoad_data() {
    QTest::addColumn<QChar>("separator");
    QTest::newRow("German") << QChar(',');
    QTest::newRow("English") << QChar('.');
}

void TestParamLoad::completeLoad() {
    QFETCH(QChar, separator);
    WindowFixture fx;
    fx.window().state.decimalSeparator = separator;
    setDeviceValue(fx, "ScalPdown", -12.5);
    setDeviceValue(fx, "WarnPHyst", 2.25);
    setDeviceValue(fx, "ScalIN1Tup", 0.1);
    setDeviceValue(fx, "Password", 42);
    setDeviceValue(fx, "ExtPress", 3);
    setDeviceValue(fx, "UnitIN1", 3);
    setDeviceValue(fx, "UnitIN2", 2);
    setDeviceValue(fx, "MeasRange", 1);
    setDeviceValue(fx, "RelAssign", 5);
    setDeviceValue(fx, "Sound", 0);
    setDeviceValue(fx, "DeviceAdr", 5);

    fx.click("ButtonLaden");

    QCOMPARE(fx.commands(), allQueries());
    QCOMPARE(fx.prompts().errors, QStringList());
    QCOMPARE(fx.status(), QString("Daten erfolgreich geladen"));
    QCOMPARE(fx.window().Progress->maximum(), 49);
    ZEL_VERIFY_IDLE(fx);

    const QString dec = QString(separator);
    QCOMPARE(fx.ctl<QLineEdit>("ScalPdown")->text(), "-12" + dec + "5");
    QCOMPARE(fx.ctl<QLineEdit>("WarnPHyst")->text(), "2" + dec + "25");
    QCOMPARE(fx.ctl<QLineEdit>("ScalIN1Tup")->text(), "0" + dec + "1");
    QCOMPARE(fx.ctl<QLineEdit>("ScalPup")->text(), QString("250"));
    QCOMPARE(fx.ctl<QLineEdit>("Password")->text(), QString("0042"));
    QCOMPARE(fx.ctl<QLabel>("DeviceAdr")->text(), QString(" 5"));
    QCOMPARE(fx.ctl<QComboBox>("ExtPress")->currentIndex(), 3);
    QCOMPARE(fx.window().settings().unitListMode(), 3);
    QCOMPARE(fx.ctl<QComboBox>("UnitIN1")->count(), 4);
    QCOMPARE(fx.ctl<QComboBox>("UnitIN1")->currentIndex(), 3);
    QCOMPARE(fx.ctl<QComboBox>("UnitIN2")->currentText(), QString("mbar"));
    QCOMPARE(fx.ctl<QComboBox>("MeasRange1")->currentText(), QString("+/- 100 Pa"));
    QCOMPARE(fx.ctl<QComboBox>("MeasRange2")->currentText(), QString("+/- 100 Pa"));
    QCOMPARE(fx.ctl<QComboBox>("RelAssign")->currentIndex(), 5);
    QCOMPARE(fx.ctl<QComboBox>("Sound")->currentIndex(), 0);

    // Every other field shows exactly what the device holds.
    for (const ParamDef &row : ParamTable::rows()) {
        const double value = deviceValue(fx, row.name);
        if (row.kind == ParamKind::Decimal)
            QCOMPARE(fx.ctl<QLineEdit>(row.control)->text(),
                     NumberText::fromFloat(value, separator));
        else if (row.kind == ParamKind::Choice && QByteArray(row.name) != "UnitIN1" &&
                 QByteArray(row.name) != "UnitIN2")
            QCOMPARE(fx.ctl<QComboBox>(row.control)->currentIndex(), int(value));
    }
}

void TestParamLoad::unitListsOnLoad() {
    WindowFixture fx;
    struct Case {
        int mode, unitIn1, unitIn2;
        QStringList in1Items;
        int in1Index;
        QStringList in2Items;
        int in2Index;
    };
    const QStringList pressure = {"Pa", "hPa", "mbar", "aus"};
    const QStringList temperature = {"°C", "aus"};
    const QStringList humidity = {"%rF", "aus"};
    const Case cases[] = {
        {3, 3, 0, pressure, 3, pressure, 0},    // both inputs measure pressure
        {0, 3, 3, temperature, 1, humidity, 1}, // the device's 3 is the short list's "off"
        {2, 3, 3, pressure, 3, humidity, 1},
        {1, 2, 3, temperature, -1, pressure, 3}, // 2 is outside the temperature list
        {0, 0, 0, temperature, 0, humidity, 0},
    };
    for (const Case &c : cases) {
        setDeviceValue(fx, "ExtPress", c.mode);
        setDeviceValue(fx, "UnitIN1", c.unitIn1);
        setDeviceValue(fx, "UnitIN2", c.unitIn2);
        fx.click("ButtonLaden");
        QCOMPARE(fx.status(), QString("Daten erfolgreich geladen"));
        auto *in1 = fx.ctl<QComboBox>("UnitIN1");
        auto *in2 = fx.ctl<QComboBox>("UnitIN2");
        QStringList items1, items2;
        for (int i = 0; i < in1->count(); ++i)
            items1 << in1->itemText(i);
        for (int i = 0; i < in2->count(); ++i)
            items2 << in2->itemText(i);
        QCOMPARE(items1, c.in1Items);
        QCOMPARE(in1->currentIndex(), c.in1Index);
        QCOMPARE(items2, c.in2Items);
        QCOMPARE(in2->currentIndex(), c.in2Index);
    }

    // Sending maps the short lists' "off" back to the device's 3.
    setDeviceValue(fx, "ExtPress", 0);
    setDeviceValue(fx, "UnitIN1", 3);
    setDeviceValue(fx, "UnitIN2", 0);
    fx.click("ButtonLaden");
    fx.device().clearLog();
    fx.click("ButtonSenden");
    QVERIFY(fx.commands().contains(">UnitIN1 3"));
    QVERIFY(fx.commands().contains(">UnitIN2 0"));
    QCOMPARE(deviceValue(fx, "UnitIN1"), 3.0);

    // In English the off-text follows the language.
    fx.window().SpracheEngClick();
    setDeviceValue(fx, "ExtPress", 3);
    fx.click("ButtonLaden");
    QCOMPARE(fx.ctl<QComboBox>("UnitIN1")->itemText(3), fx.window().msg(CatalogueEntry::Off));
    QCOMPARE(fx.status(), QString("Data load successfully"));
}

namespace {

// A pick of the user: the list's selection changes and it reports the activation.
void pickExtPress(WindowFixture &fx, int mode) {
    auto *combo = fx.ctl<QComboBox>("ExtPress");
    combo->setCurrentIndex(mode);
    emit combo->activated(mode);
}

QString items(QComboBox *combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts.join('|');
}

} // namespace

void TestParamLoad::extPressChangedRebuildsLists() {
    WindowFixture fx;
    setDeviceValue(fx, "ExtPress", 0);
    setDeviceValue(fx, "UnitIN1", 3);
    setDeviceValue(fx, "UnitIN2", 3);
    fx.click("ButtonLaden");
    fx.device().clearLog();
    auto *in1 = fx.ctl<QComboBox>("UnitIN1");
    auto *in2 = fx.ctl<QComboBox>("UnitIN2");

    pickExtPress(fx, 3);
    QCOMPARE(items(in1), QString("Pa|hPa|mbar|aus"));
    QCOMPARE(in1->currentText(), QString("Pa"));
    QCOMPARE(items(in2), QString("Pa|hPa|mbar|aus"));
    QCOMPARE(in2->currentText(), QString("Pa"));
    QCOMPARE(fx.window().settings().unitListMode(), 3);

    in1->setCurrentIndex(2);
    in2->setCurrentIndex(2);
    pickExtPress(fx, 0);
    QCOMPARE(items(in1), QString("°C|aus"));
    QCOMPARE(in1->currentIndex(), 0);
    QCOMPARE(items(in2), QString("%rF|aus"));
    QCOMPARE(in2->currentIndex(), 0);

    // 0 -> 1 turns only IN-2 into a pressure input; IN-1 keeps its list and selection.
    in1->setCurrentIndex(1);
    pickExtPress(fx, 1);
    QCOMPARE(items(in1), QString("°C|aus"));
    QCOMPARE(in1->currentIndex(), 1);
    QCOMPARE(items(in2), QString("Pa|hPa|mbar|aus"));
    in2->setCurrentIndex(3);

    // 1 -> 3 rebuilds only IN-1.
    pickExtPress(fx, 3);
    QCOMPARE(items(in1), QString("Pa|hPa|mbar|aus"));
    QCOMPARE(in1->currentIndex(), 0);
    QCOMPARE(in2->currentIndex(), 3);

    // The same mode again changes nothing.
    in1->setCurrentIndex(2);
    pickExtPress(fx, 3);
    QCOMPARE(in1->currentIndex(), 2);
    QCOMPARE(fx.commands(), QStringList());
}

void TestParamLoad::abortDuringTwentiethQuery() {
    WindowFixture fx;
    setDeviceValue(fx, "WarnIN2Hdown", 33);
    setDeviceValue(fx, "WarnIN2Hup", 77);
    fx.ctl<QLineEdit>("WarnIN2Hdown")->setText("old");
    fx.ctl<QLineEdit>("WarnIN2Hup")->setText("old");
    const int before = fx.device().commandCount();
    fx.device().addFault(sim::FaultRule::delayFrom(before + 20, 100, 1));

    // Clicks the abort button at the first chance after the 20th reply was taken, which is the
    // message pump at the start of the 21st exchange: that line still goes out.
    QTimer clicker;
    clicker.setInterval(0);
    int clicks = 0;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        if (clicks == 0 && fx.device().commandCount() >= before + 20 &&
            fx.ctl<QLineEdit>("WarnIN2Hdown")->text() == QLatin1String("33")) {
            ++clicks;
            fx.click("ButtonAbortConfig");
        }
    });
    clicker.start();
    fx.click("ButtonLaden");
    clicker.stop();

    QCOMPARE(clicks, 1);
    QCOMPARE(fx.commands(), allQueries().mid(0, 21));
    QCOMPARE(fx.ctl<QLineEdit>("WarnIN2Hdown")->text(), QString("33"));
    QCOMPARE(fx.ctl<QLineEdit>("WarnIN2Hup")->text(), QString("old"));
    QCOMPARE(fx.status(), QString("Abbruch durch Benutzer"));
    QCOMPARE(fx.prompts().errors, QStringList{"Abbruch durch Benutzer"});
    ZEL_VERIFY_IDLE(fx);
}

void TestParamLoad::errCmdNotExistStopsAtFilterIN1() {
    WindowFixture fx;
    setDeviceValue(fx, "FilterP", 1234);
    setDeviceValue(fx, "WarnIN2PHyst", 17);
    for (const char *name : {"FilterIN1", "FilterIN2", "SoundTime"})
        fx.ctl<QLineEdit>(name)->setText("old");
    fx.device().addFault(sim::FaultRule::customReply("?FilterIN1", "Err_CmdNotExist"));

    fx.click("ButtonLaden");

    QCOMPARE(fx.commands(), allQueries().mid(0, 27));
    QCOMPARE(fx.prompts().errors,
             QStringList{"'Err_CmdNotExist' ist kein gültiger Gleitkommawert"});
    QCOMPARE(fx.ctl<QLineEdit>("ScalPdown")->text(), QString("-250"));
    QCOMPARE(fx.ctl<QLineEdit>("WarnIN2PHyst")->text(), QString("17"));
    QCOMPARE(fx.ctl<QLineEdit>("FilterP")->text(), QString("1234"));
    for (const char *name : {"FilterIN1", "FilterIN2", "SoundTime"})
        QCOMPARE(fx.ctl<QLineEdit>(name)->text(), QString("old"));
    QCOMPARE(fx.ctl<QComboBox>("Sound")->currentIndex(), -1);
    ZEL_VERIFY_IDLE(fx);
}

void TestParamLoad::badReplies_data() {
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<int>("kind"); // sim::FaultRule::Kind
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("error"); // "" = the load ends normally
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("shown"); // text or index the control shows afterwards

    using K = sim::FaultRule::Kind;
    QTest::newRow("garbage") << QByteArray("?ScalPup") << int(K::Garbage) << QByteArray()
                             << "ist kein gültiger Gleitkommawert"
                             << "ScalPup"
                             << "old";
    QTest::newRow("empty") << QByteArray("?ScalPup") << int(K::Empty) << QByteArray()
                           << "'' ist kein gültiger Gleitkommawert"
                           << "ScalPup"
                           << "old";
    QTest::newRow("silent twice") << QByteArray("?ScalPup") << int(K::Silence) << QByteArray()
                                  << "Fehler beim Datenaustausch mit dem ZEL 40 / ZEL 80 (COM1)"
                                  << "ScalPup"
                                  << "old";
    QTest::newRow("other name") << QByteArray("?ScalPup") << int(K::CustomReply)
                                << QByteArray("ScalPdown 5")
                                << "'ScalPdown 5' ist kein gültiger Gleitkommawert"
                                << "ScalPup"
                                << "old";
    QTest::newRow("choice refused")
        << QByteArray("?UnitP") << int(K::CustomReply) << QByteArray("Err_ValRange")
        << "'Err_ValRange' ist kein gültiger Integerwert"
        << "UnitP"
        << "-1";
    QTest::newRow("choice other name")
        << QByteArray("?UnitP") << int(K::CustomReply) << QByteArray("SignalP 1")
        << "'SignalP 1' ist kein gültiger Integerwert"
        << "UnitP"
        << "-1";
    QTest::newRow("choice fraction")
        << QByteArray("?Sound") << int(K::CustomReply) << QByteArray("Sound 1.5")
        << "' 1,5' ist kein gültiger Integerwert"
        << "Sound"
        << "-1";
    QTest::newRow("choice 99") << QByteArray("?Sound") << int(K::CustomReply)
                               << QByteArray("Sound 99") << ""
                               << "Sound"
                               << "-1";
    QTest::newRow("choice -1") << QByteArray("?ExtPress") << int(K::CustomReply)
                               << QByteArray("ExtPress -1") << ""
                               << "ExtPress"
                               << "-1";
    QTest::newRow("password fraction")
        << QByteArray("?Password") << int(K::CustomReply) << QByteArray("Password 7.5") << ""
        << "Password"
        << "0007,5"; // typing is limited to four characters, a reported text is shown whole
    QTest::newRow("password word")
        << QByteArray("?Password") << int(K::CustomReply) << QByteArray("Password abc")
        << "' abc' ist kein gültiger Gleitkommawert"
        << "Password"
        << "old";
    QTest::newRow("address text") << QByteArray("?DeviceAdr") << int(K::CustomReply)
                                  << QByteArray("DeviceAdr x.y") << ""
                                  << "DeviceAdr"
                                  << " x,y";
}

void TestParamLoad::badReplies() {
    QFETCH(QByteArray, query);
    QFETCH(int, kind);
    QFETCH(QByteArray, reply);
    QFETCH(QString, error);
    QFETCH(QString, control);
    QFETCH(QString, shown);

    WindowFixture fx;
    fx.window().state.decimalSeparator = ',';
    if (auto *edit = fx.window().findChild<QLineEdit *>(control))
        edit->setText("old");
    sim::FaultRule rule = sim::FaultRule::onCommand(
        query, sim::FaultRule::Kind(kind), kind == int(sim::FaultRule::Kind::Silence) ? 2 : 1);
    rule.reply = reply;
    fx.device().addFault(rule);

    fx.click("ButtonLaden");

    if (error.isEmpty()) {
        QCOMPARE(fx.prompts().errors, QStringList());
        QCOMPARE(fx.status(), QString("Daten erfolgreich geladen"));
        QCOMPARE(fx.commands(), allQueries());
    } else {
        QCOMPARE(fx.prompts().errors.size(), 1);
        QVERIFY2(fx.prompts().errors.first().endsWith(error),
                 qPrintable(fx.prompts().errors.first()));
        QCOMPARE(fx.commands().last(), QString::fromLatin1(query));
    }
    QWidget *widget = fx.window().ctl<QWidget>(control);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        QCOMPARE(QString::number(combo->currentIndex()), shown);
    else if (auto *edit = qobject_cast<QLineEdit *>(widget))
        QCOMPARE(edit->text(), shown);
    else
        QCOMPARE(qobject_cast<QLabel *>(widget)->text(), shown);
    ZEL_VERIFY_IDLE(fx);

    // The window is ready for the next transfer.
    fx.prompts().errors.clear();
    fx.click("ButtonLaden");
    QCOMPARE(fx.prompts().errors, QStringList());
    QCOMPARE(fx.status(), QString("Daten erfolgreich geladen"));
}

void TestParamLoad::refusedWhileMeasuring() {
    WindowFixture fx;
    TformMain &w = fx.window();
    // The buttons are out of reach while measuring; the handlers refuse all the same.
    w.setMeasuringLock(true);
    w.setStatus("before");
    for (void (TformMain::*handler)() :
         {&TformMain::ButtonLadenClick, &TformMain::ButtonSendenClick,
          &TformMain::ButtonWE100PaClick, &TformMain::ButtonWE250PaClick})
        w.runGuarded([&w, handler] { (w.*handler)(); });
    const QString refusal = "Momentan läuft die Druckmessung. Bitte beenden Sie diese zuerst.";
    QCOMPARE(fx.prompts().messages, QStringList(4, refusal));
    QCOMPARE(fx.prompts().errors, QStringList());
    QCOMPARE(fx.commands(), QStringList());
    QCOMPARE(fx.status(), QString("before"));
    // No transfer took the controls: they come back when the measurement ends.
    w.setMeasuringLock(false);
    QVERIFY(fx.window().ButtonLaden->isEnabled());
    QVERIFY(!fx.window().ButtonAbortConfig->isEnabled());
    QVERIFY(!fx.window().ComPort().connected());
}

ZEL_TEST_MAIN(TestParamLoad)
#include "test_paramload.moc"
