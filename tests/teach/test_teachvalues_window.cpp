// Teach values against the device simulator: load, send, range captions, teach-value files.
#include "base/Errors.h"
#include "sim/FaultRule.h"
#include "teach/TeachValueModel.h"
#include "teach/TeachValueTable.h"
#include "tests/support/TestMain.h"
#include "tests/support/WindowFixture.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

using sim::FaultRule;

namespace {

// Device names of the 48 sent values, in the order the device must receive them.
const char *const kSentNames[] = {
    "PStuetz0",    "PStuetz1",    "PStuetz3",    "PStuetz5",    "PStuetz7",    "PStuetz9",
    "PStuetz11",   "PStuetz13",   "PStuetz15",   "PStuetz17",   "PStuetz19",   "PStuetz21",
    "PStuetz22",   "CalibMinus",  "CalibPlus",   "StIDC0",      "StIDC1",      "StIDC2",
    "StVDC1",      "StVDC3",      "IN1IStuetz0", "IN1IStuetz1", "IN1IStuetz2", "IN1IStuetz3",
    "IN1IStuetz4", "IN1IStuetz5", "IN1IStuetz6", "IN1UStuetz0", "IN1UStuetz1", "IN1UStuetz2",
    "IN1UStuetz3", "IN1UStuetz4", "IN1UStuetz5", "IN1UStuetz6", "IN2IStuetz0", "IN2IStuetz1",
    "IN2IStuetz2", "IN2IStuetz3", "IN2IStuetz4", "IN2IStuetz5", "IN2IStuetz6", "IN2UStuetz0",
    "IN2UStuetz1", "IN2UStuetz2", "IN2UStuetz3", "IN2UStuetz4", "IN2UStuetz5", "IN2UStuetz6",
};

WindowFixture::Config production(int measRange = 0) {
    WindowFixture::Config config;
    config.production = true;
    config.measRange = measRange;
    return config;
}

QLabel *label(WindowFixture &fx, const char *name) {
    return fx.ctl<QLabel>(QString::fromLatin1(name));
}

// A teach value as the page holds it (its label shows it).
void setValue(WindowFixture &fx, const char *valueLabel, const QString &text) {
    fx.window().teachValues().setText(*TeachValueTable::findByValueLabel(valueLabel), text);
}

void setAllValueLabels(WindowFixture &fx, const QString &text) {
    for (const TeachValueRow &row : TeachValueTable::rows())
        setValue(fx, row.valueLabel, text);
}

// What a teach transfer must leave behind, whether it ended well or failed.
void verifyReleased(WindowFixture &fx) {
    TformMain &w = fx.window();
    QVERIFY(!w.ComPort().connected());
    QCOMPARE(w.Progress->value(), 0);
    QVERIFY(!w.ButtonAbortConfig->isEnabled());
    QVERIFY(w.ButtonLaden->isEnabled());
    QVERIFY(w.MEinstellungen->isEnabled());
    QVERIFY(w.MExtras->isEnabled());
    QVERIFY(w.TeachZELSheet->isEnabled());
    QVERIFY(w.StatusSheet->isEnabled());
    for (const char *name : {"ButtonTeach", "ButtonLoadTeach", "ButtonSendTeach"})
        QVERIFY2(fx.ctl<QPushButton>(QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(!fx.ctl<QPushButton>("ButtonAbortTeach")->isEnabled());
    QVERIFY(!w.runner().abortRequested());
}

QString integerError(const QString &text) {
    return QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text);
}

} // namespace

class TestTeachValuesWindow : public QObject {
    Q_OBJECT

private slots:
    void loadShowsDeviceValuesAndHundredPaCaptions() {
        WindowFixture fx(production(1));
        fx.device().withModel([](sim::DeviceModel &m) {
            int n = 0;
            for (const TeachValueRow &row : TeachValueTable::rows())
                m.setTeachValue(row.deviceName, 1000 + 3 * n++);
        });
        fx.device().addFault(FaultRule::customReply("?PStuetz11", "PStuetz11 -35"));
        fx.device().addFault(FaultRule::customReply("?StVDC3", "StVDC3 +0042"));
        setAllValueLabels(fx, "old");

        // What the window looks like while the first exchange runs.
        struct Seen {
            bool taken = false, menus = true, abortConfig = false, laden = true;
            QStringList teachButtonsOn;
            int maximum = 0;
            QString status;
        } seen;
        QTimer::singleShot(0, &fx.window(), [&] {
            TformMain &w = fx.window();
            seen.taken = true;
            seen.menus = w.MEinstellungen->isEnabled() || w.MExtras->isEnabled();
            seen.abortConfig = w.ButtonAbortConfig->isEnabled();
            seen.laden = w.ButtonLaden->isEnabled() || w.TeachZELSheet->isEnabled();
            for (const char *name :
                 {"ButtonTeach", "ButtonLoadTeach", "ButtonSendTeach", "ButtonAbortTeach"}) {
                // Disabled in their own right, not only through the locked sheet.
                if (fx.ctl<QPushButton>(QString::fromLatin1(name))->isEnabledTo(w.TeachZELSheet))
                    seen.teachButtonsOn << QString::fromLatin1(name);
            }
            seen.maximum = w.Progress->maximum();
            seen.status = fx.status();
        });
        fx.click("ButtonLoadTeach");

        QVERIFY(fx.prompts().errors.isEmpty());
        QVERIFY(seen.taken);
        QVERIFY(!seen.menus);
        QVERIFY(seen.abortConfig);
        QVERIFY(!seen.laden);
        QCOMPARE(seen.teachButtonsOn, QStringList());
        QCOMPARE(seen.maximum, 45);
        QCOMPARE(seen.status, QStringLiteral("Lade Daten aus ZEL 40 / ZEL 80 ... (COM1)"));

        const QStringList commands = fx.commands();
        QCOMPARE(commands.size(), 62);
        QCOMPARE(commands.first(), QStringLiteral("?MeasRange"));
        QCOMPARE(commands[1], QStringLiteral("?PStuetz0"));
        QCOMPARE(commands[16], QStringLiteral("?PStuetzKorr0"));
        QCOMPARE(commands.last(), QStringLiteral("?IN2UStuetz6"));
        int n = 0;
        for (const TeachValueRow &row : TeachValueTable::rows()) {
            const QString name = QString::fromLatin1(row.deviceName);
            QString expected = QString::number(1000 + 3 * n++);
            if (name == QLatin1String("PStuetz11"))
                expected = QStringLiteral("-35");
            if (name == QLatin1String("StVDC3"))
                expected = QStringLiteral("42");
            QCOMPARE(label(fx, row.valueLabel)->text(), expected);
        }
        QCOMPARE(fx.ctl<QComboBox>("MeasRange1")->currentText(), QStringLiteral("+/- 100 Pa"));
        QCOMPARE(fx.ctl<QComboBox>("MeasRange2")->currentText(), QStringLiteral("+/- 100 Pa"));
        QCOMPARE(label(fx, "LabelM120")->text(), QStringLiteral("-120 Pa:"));
        QCOMPARE(label(fx, "LabelM40")->text(), QStringLiteral("-40 Pa:"));
        QCOMPARE(label(fx, "LabelP120")->text(), QStringLiteral("120 Pa:"));
        QCOMPARE(label(fx, "LabelKalibPlus")->text(),
                 QStringLiteral("Nach-Kalibr. Plus (100 Pa):"));
        QCOMPARE(label(fx, "LabelKalibMinus")->text(),
                 QStringLiteral("Nach-Kalibr. Minus (-100 Pa):"));
        QCOMPARE(label(fx, "LabelI4mA")->text(), QStringLiteral("4 mA:"));
        QCOMPARE(fx.status(), QStringLiteral("Daten erfolgreich geladen"));
        QCOMPARE(fx.window().Progress->maximum(), 45);
        verifyReleased(fx);
    }

    void loadShowsTwoHundredFiftyPaCaptionsForRangeZeroAndUnknownRanges() {
        WindowFixture fx(production(0));
        fx.click("ButtonLoadTeach");
        QVERIFY(fx.prompts().errors.isEmpty());
        QCOMPARE(fx.ctl<QComboBox>("MeasRange1")->currentText(), QStringLiteral("+/- 250 Pa"));
        QCOMPARE(fx.ctl<QComboBox>("MeasRange2")->currentText(), QStringLiteral("+/- 250 Pa"));
        QCOMPARE(label(fx, "LabelM20")->text(), QStringLiteral("-50 Pa:"));
        QCOMPARE(label(fx, "LabelM40")->text(), QStringLiteral("-100 Pa:"));
        QCOMPARE(label(fx, "LabelP100")->text(), QStringLiteral("250 Pa:"));
        QCOMPARE(label(fx, "LabelKalibMinus")->text(),
                 QStringLiteral("Nach-Kalibr. Minus (-250 Pa):"));
        QCOMPARE(label(fx, "LabelKalibPlus")->text(),
                 QStringLiteral("Nach-Kalibr. Plus (250 Pa):"));
        fx.device().withModel([&fx](sim::DeviceModel &m) {
            QCOMPARE(fx.ctl<QLabel>("P20")->text(), QString::number(m.teachValue("PStuetz13")));
        });

        // A range the lists do not know clears both selections and shows the 250 Pa column.
        fx.ctl<QComboBox>("MeasRange1")->setCurrentIndex(1);
        fx.window().MeasRange1Change();
        fx.device().addFault(FaultRule::customReply("?MeasRange", "MeasRange 5"));
        fx.click("ButtonLoadTeach");
        QVERIFY(fx.prompts().errors.isEmpty());
        QCOMPARE(fx.ctl<QComboBox>("MeasRange1")->currentIndex(), -1);
        QCOMPARE(fx.ctl<QComboBox>("MeasRange2")->currentIndex(), -1);
        QCOMPARE(label(fx, "LabelM120")->text(), QStringLiteral("-300 Pa:"));
    }

    void fractionalValueStopsTheLoadThere() {
        WindowFixture fx(production());
        fx.device().addFault(FaultRule::customReply("?IN1UStuetz6", "IN1UStuetz6 12.5"));
        setAllValueLabels(fx, "old");
        fx.click("ButtonLoadTeach");

        const QChar separator = fx.window().state.decimalSeparator;
        QCOMPARE(fx.prompts().errors, QStringList{integerError(QStringLiteral(" 12") + separator +
                                                               QStringLiteral("5"))});
        QCOMPARE(fx.commands().size(), 1 + 47);
        QCOMPARE(fx.commands().last(), QStringLiteral("?IN1UStuetz6"));
        for (const TeachValueRow &row : TeachValueTable::rows()) {
            const bool read = row.number < 47;
            QCOMPARE(label(fx, row.valueLabel)->text() == QLatin1String("old"), !read);
        }
        QCOMPARE(label(fx, "IN1U10V")->text() != QLatin1String("old"), true);
        QCOMPARE(label(fx, "IN1U11V")->text(), QStringLiteral("old"));
        QCOMPARE(label(fx, "IN2I0mA")->text(), QStringLiteral("old"));
        verifyReleased(fx);

        // With the decimal comma the device's point becomes a comma before the conversion.
        fx.window().state.decimalSeparator = QLatin1Char(',');
        fx.click("ButtonLoadTeach");
        QCOMPARE(fx.prompts().errors.last(), integerError(QStringLiteral(" 12,5")));
    }

    void badRepliesEndInTheConversionError() {
        WindowFixture fx(production());
        struct Case {
            FaultRule rule;
            const char *rejected; // nullptr: only the error kind is known
        };
        const Case cases[] = {
            {FaultRule::customReply("?PStuetz3", "Err_CmdNotExist", 1), "Err_CmdNotExist"},
            {FaultRule::customReply("?PStuetz3", "PStuetz3 99999999999", 1), " 99999999999"},
            {FaultRule::customReply("?PStuetz3", "PStuetz3 1e3", 1), " 1e3"},
            {FaultRule::onCommand("?PStuetz3", FaultRule::Kind::Empty), ""},
            {FaultRule::onCommand("?PStuetz3", FaultRule::Kind::Garbage), nullptr},
        };
        for (const Case &c : cases) {
            setAllValueLabels(fx, "old");
            fx.prompts().errors.clear();
            fx.device().clearLog();
            fx.device().addFault(c.rule);
            fx.click("ButtonLoadTeach");
            QCOMPARE(fx.prompts().errors.size(), 1);
            const QString error = fx.prompts().errors.first();
            if (c.rejected)
                QCOMPARE(error, integerError(QString::fromLatin1(c.rejected)));
            else
                QVERIFY2(error.endsWith(QStringLiteral("' ist kein gültiger Integerwert")),
                         qPrintable(error));
            QCOMPARE(fx.commands().size(), 4);
            QVERIFY(label(fx, "M100")->text() != QLatin1String("old"));
            QCOMPARE(label(fx, "M80")->text(), QStringLiteral("old"));
            QCOMPARE(label(fx, "M60")->text(), QStringLiteral("old"));
            verifyReleased(fx);
        }
    }

    void userAbortStopsTheLoad() {
        WindowFixture fx(production());
        setAllValueLabels(fx, "old");
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, &fx.window(), [&] {
            if (fx.device().commandCount() >= 10 && fx.window().ButtonAbortConfig->isEnabled())
                fx.click("ButtonAbortConfig");
        });
        poll.start();
        fx.click("ButtonLoadTeach");
        poll.stop();
        // The click is seen before exchange 11, which is still made; its reply is dropped.
        QCOMPARE(fx.commands().size(), 11);
        QCOMPARE(fx.status(), QStringLiteral("Abbruch durch Benutzer"));
        QCOMPARE(fx.prompts().errors, QStringList{QStringLiteral("Abbruch durch Benutzer")});
        QVERIFY(label(fx, "P40")->text() != QLatin1String("old")); // query 10, row 9
        QCOMPARE(label(fx, "P60")->text(), QStringLiteral("old"));
        verifyReleased(fx);
    }

    void measurementModeRefusesLoadAndSend() {
        WindowFixture fx(production());
        TformMain &w = fx.window();
        // The buttons are out of reach while measuring; the handlers refuse all the same.
        w.setMeasuringLock(true);
        setAllValueLabels(fx, "old");
        const QString status = fx.status();
        w.runGuarded([&w] { w.ButtonLoadTeachClick(); });
        w.runGuarded([&w] { w.ButtonSendTeachClick(); });
        const QString refusal =
            QStringLiteral("Momentan läuft die Druckmessung. Bitte beenden Sie diese zuerst.");
        QCOMPARE(fx.prompts().messages, (QStringList{refusal, refusal}));
        QVERIFY(fx.commands().isEmpty());
        QCOMPARE(label(fx, "M120")->text(), QStringLiteral("old"));
        // No teach transfer took the controls: they come back when the measurement ends.
        w.setMeasuringLock(false);
        QVERIFY(fx.window().ButtonLaden->isEnabled());
        QVERIFY(fx.window().MEinstellungen->isEnabled());
        QCOMPARE(fx.status(), status);
    }

    void pickingARangeChangesOnlyTheFifteenRowCaptions() {
        WindowFixture fx(production());
        setAllValueLabels(fx, "5");
        auto *range = fx.ctl<QComboBox>("MeasRange1");
        QList<QLabel *> before = fx.window().TeachZELSheet->findChildren<QLabel *>();
        QStringList texts;
        for (QLabel *l : before)
            texts << l->text();
        // A selection made by code does not run the change handler; a pick by the user does.
        range->setCurrentIndex(1);
        QCOMPARE(label(fx, "LabelM120")->text(), QStringLiteral("--- Pa:"));
        emit range->activated(1);
        int changed = 0;
        for (int i = 0; i < before.size(); ++i) {
            if (before[i]->text() != texts[i]) {
                ++changed;
                const TeachValueRow *row = nullptr;
                for (const TeachValueRow &r : TeachValueTable::rows())
                    if (before[i]->objectName() == QLatin1String(r.captionLabel))
                        row = &r;
                QVERIFY2(row && TeachValueTable::hasRangeCaption(*row),
                         qPrintable(before[i]->objectName()));
                QCOMPARE(before[i]->text(), QString::fromLatin1(row->caption100));
            }
        }
        QCOMPARE(changed, 15);
        QCOMPARE(label(fx, "LabelP40")->text(), QStringLiteral("40 Pa:"));
        QCOMPARE(fx.ctl<QComboBox>("MeasRange2")->currentIndex(), -1);
        range->setCurrentIndex(0);
        emit range->activated(0);
        QCOMPARE(label(fx, "LabelP40")->text(), QStringLiteral("100 Pa:"));
        QCOMPARE(label(fx, "LabelKalibPlus")->text(),
                 QStringLiteral("Nach-Kalibr. Plus (250 Pa):"));
        QVERIFY(fx.commands().isEmpty());
        QVERIFY(fx.prompts().errors.isEmpty());
    }

    void sendWritesTheFiftyOneCommandsInOrder() {
        WindowFixture fx(production());
        int n = 0;
        for (const TeachValueRow &row : TeachValueTable::rows())
            setValue(fx, row.valueLabel, QString::number(2000 + n++));
        // Corrections are never sent, whatever they show.
        setValue(fx, "M120korr", "77");
        fx.click("ButtonSendTeach");

        QVERIFY(fx.prompts().errors.isEmpty());
        QStringList expected{QStringLiteral(">MTeach")};
        for (const char *name : kSentNames) {
            const TeachValueRow *row = TeachValueTable::findByDeviceName(QString::fromLatin1(name));
            expected << QStringLiteral(">%1 %2").arg(QString::fromLatin1(name),
                                                     label(fx, row->valueLabel)->text());
        }
        expected << QStringLiteral("SavePar") << QStringLiteral(">MTeach");
        QCOMPARE(fx.commands(), expected);
        QCOMPARE(fx.status(), QStringLiteral("Daten erfolgreich gesendet"));
        verifyReleased(fx);
        fx.device().withModel([](sim::DeviceModel &m) {
            QVERIFY(!m.teachMode());
            QCOMPARE(m.savedTeachValue("PStuetz0"), 2000);
            QCOMPARE(m.savedTeachValue("IN2UStuetz6"), 2060);
            QVERIFY(m.savedTeachValue("PStuetzKorr0") != 77);
        });

        // Right after a load the send writes back exactly what the device reported.
        fx.click("ButtonLoadTeach");
        fx.device().clearLog();
        fx.click("ButtonSendTeach");
        QCOMPARE(fx.commands(), expected);
    }

    void refusedValuesAreReportedAfterTheWholeSend() {
        WindowFixture fx(production());
        setAllValueLabels(fx, "100");
        // An empty caption goes out as the name and one blank; the device refuses it.
        setValue(fx, "M120", QString());
        setValue(fx, "P20", QStringLiteral("1,5"));
        setValue(fx, "IN1U11V", QStringLiteral("123456789012345678901234567890xyz"));
        fx.click("ButtonSendTeach");

        const QStringList commands = fx.commands();
        QCOMPARE(commands.size(), 51);
        QCOMPARE(commands[1], QStringLiteral(">PStuetz0 "));
        QCOMPARE(commands[8], QStringLiteral(">PStuetz13 1,5"));
        // The exchange cuts every line at 39 characters.
        QCOMPARE(commands[34], QStringLiteral(">IN1UStuetz6 12345678901234567890123456"));
        QCOMPARE(commands[49], QStringLiteral("SavePar"));
        QCOMPARE(commands[50], QStringLiteral(">MTeach"));
        const QString notAll = QStringLiteral("Nicht alle Daten wurden erfolgreich gesendet");
        QCOMPARE(fx.status(), notAll);
        QCOMPARE(fx.prompts().errors, QStringList{notAll});
        verifyReleased(fx);
        fx.device().withModel([](sim::DeviceModel &m) { QVERIFY(!m.teachMode()); });

        // "SavePar" not answered "OK": the values were not stored.
        setAllValueLabels(fx, "100");
        fx.device().clearLog();
        fx.prompts().errors.clear();
        fx.device().addFault(FaultRule::customReply("SavePar", "Err_CmdNotExist", 1));
        fx.click("ButtonSendTeach");
        QCOMPARE(fx.commands().size(), 51);
        QCOMPARE(fx.status(), notAll);
        QCOMPARE(fx.prompts().errors, QStringList{notAll});

        // Every value refused: still all 51 exchanges, in English this time.
        fx.window().SpracheEngClick();
        setAllValueLabels(fx, "abc");
        fx.device().clearLog();
        fx.prompts().errors.clear();
        fx.click("ButtonSendTeach");
        QCOMPARE(fx.commands().size(), 51);
        QCOMPARE(fx.status(), QStringLiteral("Couldn't send all data successfully"));
        QCOMPARE(fx.prompts().errors,
                 QStringList{QStringLiteral("Couldn't send all data successfully")});
    }

    void abortDuringTheSendLeavesSaveParUnsent() {
        WindowFixture fx(production());
        setAllValueLabels(fx, "100");
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, &fx.window(), [&] {
            if (fx.device().commandCount() >= 29 && fx.window().ButtonAbortConfig->isEnabled())
                fx.click("ButtonAbortConfig");
        });
        poll.start();
        fx.click("ButtonSendTeach");
        poll.stop();
        QCOMPARE(fx.commands().size(), 30);
        QVERIFY(!fx.commands().contains(QStringLiteral("SavePar")));
        QCOMPARE(fx.status(), QStringLiteral("Abbruch durch Benutzer"));
        QCOMPARE(fx.prompts().errors, QStringList{QStringLiteral("Abbruch durch Benutzer")});
        verifyReleased(fx);
    }

    void fileRoundTripRestoresEveryCaption() {
        WindowFixture fx(production());
        int n = 0;
        for (const TeachValueRow &row : TeachValueTable::rows())
            setValue(fx, row.valueLabel, QString::number(-n++));
        setValue(fx, "KalibMinus", QString());
        setValue(fx, "U0V", QStringLiteral("9999"));
        setValue(fx, "U10V", QString(5000, QLatin1Char('7')) + QStringLiteral(" <b>x</b>"));
        QStringList saved;
        for (const TeachValueRow &row : TeachValueTable::rows())
            saved << label(fx, row.valueLabel)->text();

        const QString path = fx.dir() + QStringLiteral("/unit A.zel");
        fx.prompts().saveAnswers << path;
        fx.window().SaveTeachwerte->trigger();
        QVERIFY(fx.prompts().errors.isEmpty());
        QCOMPARE(fx.status(), QStringLiteral("Daten erfolgreich gespeichert"));
        const TestPrompts::FileDialogCall save = fx.prompts().fileDialogs.last();
        QCOMPARE(save.dir, fx.dir());
        QCOMPARE(save.fileName, QStringLiteral("Teachwerte1.zel"));
        QCOMPARE(save.filter, QStringLiteral("ZEL Data Files (*.zel)|*.ZEL;*.zel"));
        QVERIFY(!save.confirmOverwrite);
        QVERIFY(QFile::exists(path));

        setAllValueLabels(fx, "changed");
        fx.ctl<QComboBox>("MeasRange1")->setCurrentIndex(1);
        label(fx, "LabelM120")->setText(QStringLiteral("row caption"));
        fx.prompts().openAnswers << path;
        fx.window().LoadTeachwerte->trigger();
        QVERIFY(fx.prompts().errors.isEmpty());
        QCOMPARE(fx.status(), QStringLiteral("Daten erfolgreich geladen"));
        const TestPrompts::FileDialogCall open = fx.prompts().fileDialogs.last();
        QCOMPARE(open.dir, fx.dir());
        QCOMPARE(open.fileName, QString());
        QCOMPARE(open.filter, QStringLiteral("ZEL Data Files (*.zel)|*.ZEL;*.zel"));
        int i = 0;
        for (const TeachValueRow &row : TeachValueTable::rows()) {
            const QString shown = label(fx, row.valueLabel)->text();
            if (TeachValueTable::isStored(row))
                QCOMPARE(shown, saved[i]);
            else
                QCOMPARE(shown, QStringLiteral("changed")); // corrections are not in the file
            ++i;
        }
        QCOMPARE(label(fx, "KalibMinus")->text(), QString());
        QCOMPARE(fx.ctl<QComboBox>("MeasRange1")->currentIndex(), 1);
        QCOMPARE(label(fx, "LabelM120")->text(), QStringLiteral("row caption"));
        QVERIFY(fx.commands().isEmpty());

        // The file, sent as loaded: the empty caption reaches the device as name and blank.
        fx.click("ButtonSendTeach");
        QVERIFY(fx.commands().contains(QStringLiteral(">CalibMinus ")));
        QVERIFY(fx.commands().contains(QStringLiteral(">StVDC3 ") + QString(31, QLatin1Char('7'))));
    }

    void wrongFilesAreRefusedAndChangeNothing() {
        WindowFixture fx(production());
        setAllValueLabels(fx, "5");
        fx.window().setStatus(QStringLiteral("before"));
        const QString config = fx.dir() + QStringLiteral("/config.zel");
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Scaling]\r\nScalPdown=-250\r\n[Miscellaneous]\r\nMeasRange=1\r\n");
        file.close();
        const QString missing = fx.dir() + QStringLiteral("/missing.zel");
        for (const QString &path : {config, missing}) {
            fx.prompts().openAnswers << path;
            fx.window().LoadTeachwerte->trigger();
            QVERIFY2(fx.prompts().errors.last().contains(path),
                     qPrintable(fx.prompts().errors.last()));
        }
        QCOMPARE(fx.prompts().errors.size(), 2);
        for (const TeachValueRow &row : TeachValueTable::rows())
            QCOMPARE(label(fx, row.valueLabel)->text(), QStringLiteral("5"));
        QCOMPARE(fx.status(), QStringLiteral("before"));

        // Cancelled dialogs change nothing either.
        fx.window().LoadTeachwerte->trigger();
        fx.window().SaveTeachwerte->trigger();
        QCOMPARE(fx.status(), QStringLiteral("before"));
        QCOMPARE(fx.prompts().errors.size(), 2);

        // A teach file missing one key empties only that caption.
        const QString partial = fx.dir() + QStringLiteral("/partial.zel");
        fx.prompts().saveAnswers << partial;
        fx.window().SaveTeachwerte->trigger();
        QFile edit(partial);
        QVERIFY(edit.open(QIODevice::ReadOnly));
        QByteArray bytes = edit.readAll();
        edit.close();
        bytes.replace("P120=5\r\n", "");
        QVERIFY(edit.open(QIODevice::WriteOnly | QIODevice::Truncate));
        edit.write(bytes);
        edit.close();
        fx.prompts().openAnswers << partial;
        fx.window().LoadTeachwerte->trigger();
        QCOMPARE(label(fx, "P120")->text(), QString());
        QCOMPARE(label(fx, "P100")->text(), QStringLiteral("5"));
        QCOMPARE(label(fx, "IN2U11V")->text(), QStringLiteral("5"));

        // A save that cannot be written goes to the global handler with the file layer's text.
        const QString unwritable = fx.dir() + QStringLiteral("/no/folder.zel");
        fx.prompts().saveAnswers << unwritable;
        fx.window().SaveTeachwerte->trigger();
        QCOMPARE(fx.prompts().errors.last(),
                 QStringLiteral("nach %1 kann nicht geschrieben werden").arg(unwritable));
    }
};

ZEL_TEST_MAIN(TestTeachValuesWindow)
#include "test_teachvalues_window.moc"
