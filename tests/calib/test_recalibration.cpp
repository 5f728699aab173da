#include "tests/support/TestMain.h"
#include "tests/support/WindowFixture.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace {
const QString kHoses =
    QStringLiteral("\nBitte entfernen Sie jetzt die Schläuche und drücken Sie anschließend OK.");
const QString kExit = QStringLiteral("\nMit OK beenden.");
const QString kFinished = QStringLiteral("Kalibrierung abgeschlossen.");
const QString kSucceeded = QStringLiteral("Kalibrierung erfolgreich abgeschlossen.");
const QString kFailed = QStringLiteral("Kalibrierung fehlgeschlagen!");

QString request(const char *pressure) {
    return QStringLiteral("Legen Sie einen Druck von %1 an (Kalibrieranschlüsse verwenden).\n"
                          "Drücken Sie anschließend OK!")
        .arg(QLatin1String(pressure));
}

QString label(QDialog &dialog) {
    return dialog.findChild<QLabel *>(QStringLiteral("Statusanzeige"))->text();
}
QPushButton *okButton(QDialog &dialog) {
    return dialog.findChild<QPushButton *>(QStringLiteral("ButtonCalibOK"));
}
QPushButton *cancelButton(QDialog &dialog) {
    return dialog.findChild<QPushButton *>(QStringLiteral("ButtonCalibAbbrechen"));
}

// The dialog's texts after each OK click, ending with the click that closes it.
struct Transcript {
    QString opening;
    QStringList afterClicks;
    bool closed = false;
};

// Runs `script` while the dialog is modal; checks inside it fail the test function.
void onDialog(WindowFixture &fx, std::function<void(QDialog &)> script) {
    fx.prompts().modalScript = [script](QDialog &dialog) {
        script(dialog);
        return int(QDialog::Accepted);
    };
}

Transcript clickOkThrough(WindowFixture &fx, int clicks) {
    auto transcript = std::make_shared<Transcript>();
    fx.prompts().modalScript = [transcript, clicks](QDialog &dialog) {
        transcript->opening = label(dialog);
        for (int i = 0; i < clicks; ++i) {
            okButton(dialog)->click();
            transcript->afterClicks.append(label(dialog));
        }
        transcript->closed = !dialog.isVisible();
        return int(QDialog::Accepted);
    };
    fx.click(QStringLiteral("ButtonCalibPlus"));
    return *transcript;
}
} // namespace

class TestRecalibration : public QObject {
    Q_OBJECT
private slots:
    void dialogAsksForTheFullScaleOfTheChosenSide_data() {
        QTest::addColumn<int>("measRange");
        QTest::addColumn<bool>("negative");
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("rangeStatus");
        QTest::newRow("neg 100") << 1 << true << request("-100Pa")
                                 << QStringLiteral("Messbereich +-100Pa erkannt (COM1)");
        QTest::newRow("neg 250") << 0 << true << request("-250Pa")
                                 << QStringLiteral("Messbereich +-250Pa erkannt (COM1)");
        QTest::newRow("pos 100") << 1 << false << request("+100Pa")
                                 << QStringLiteral("Messbereich +-100Pa erkannt (COM1)");
        QTest::newRow("pos 250") << 0 << false << request("+250Pa")
                                 << QStringLiteral("Messbereich +-250Pa erkannt (COM1)");
    }

    // A full run: request, reference taken, hoses, result, close; the window locked meanwhile.
    void dialogAsksForTheFullScaleOfTheChosenSide() {
        QFETCH(int, measRange);
        QFETCH(bool, negative);
        QFETCH(QString, request);
        QFETCH(QString, rangeStatus);
        WindowFixture::Config config;
        config.measRange = measRange;
        WindowFixture fx(config);
        const double fullScale = measRange == 1 ? 100.0 : 250.0;
        const QByteArray calibValue = negative ? "CalibMinus" : "CalibPlus";
        fx.device().withModel([&](sim::DeviceModel &m) {
            m.setAppliedPressure(negative ? -fullScale : fullScale);
            m.setTeachValue(calibValue, 0);
        });
        TformMain &window = fx.window();
        QStringList seen;
        onDialog(fx, [&](QDialog &dialog) {
            seen << dialog.windowTitle() << fx.status() << label(dialog)
                 << cancelButton(dialog)->text();
            QVERIFY2(okButton(dialog)->isEnabled() && cancelButton(dialog)->isEnabled(), "buttons");
            QVERIFY(window.ComPort().connected());
            for (const char *name : {"ButtonLaden", "ButtonSenden", "ButtonWE100Pa",
                                     "ButtonAbortConfig", "ButtonNullieren", "ButtonReset",
                                     "ButtonCalibPlus", "ButtonCalibMinus", "ButtonCalibCancel"})
                QVERIFY2(!fx.ctl<QPushButton>(QLatin1String(name))->isEnabled(), name);
            QVERIFY(!window.MEinstellungen->isEnabled() &&
                    !window.SkalierungswerteSheet->isEnabled());
            okButton(dialog)->click();
            seen << label(dialog);
            QVERIFY(okButton(dialog)->isEnabled() && !cancelButton(dialog)->isEnabled());
            okButton(dialog)->click();
            seen << label(dialog);
            okButton(dialog)->click();
            QVERIFY(!dialog.isVisible());
        });
        fx.click(QLatin1String(negative ? "ButtonCalibMinus" : "ButtonCalibPlus"));

        QCOMPARE(fx.prompts().errors, QStringList());
        QCOMPARE(seen, (QStringList{QStringLiteral("ZEL kalibrieren"), rangeStatus, request,
                                    QStringLiteral("Abbrechen"), kSucceeded + kHoses,
                                    kSucceeded + kExit}));
        QCOMPARE(fx.commands(),
                 (QStringList{QStringLiteral("?MeasRange"),
                              QLatin1String(negative ? ">TCalibMinus" : ">TCalibPlus"),
                              QStringLiteral(">TCalibOK"), QStringLiteral(">TCalibFinished")}));
        QCOMPARE(fx.status(), kFinished);
        QCOMPARE(window.state.calibRange100, measRange == 1);
        QCOMPARE(window.state.calibNegative, negative);
        fx.device().withModel([&](sim::DeviceModel &m) {
            QVERIFY(!m.recalibrationActive());
            QVERIFY(m.teachValue(calibValue) != 0);
        });
        QVERIFY(!window.ComPort().connected());
        for (const char *name : {"ButtonLaden", "ButtonSenden", "ButtonWE250Pa", "ButtonNullieren",
                                 "ButtonCalibPlus", "ButtonCalibMinus", "ButtonCalibCancel"})
            QVERIFY2(fx.ctl<QPushButton>(QLatin1String(name))->isEnabled(), name);
        QVERIFY(!window.ButtonAbortConfig->isEnabled());
        QVERIFY(window.MEinstellungen->isEnabled() && window.EinstellungenSheet->isEnabled());
    }

    // The range flag stays when the device reports neither range; the dialog reads it anew.
    void unknownRangeKeepsTheFlag() {
        WindowFixture::Config config;
        config.measRange = 1;
        WindowFixture fx(config);
        fx.device().withModel([](sim::DeviceModel &m) { m.setAppliedPressure(100); });
        const Transcript first = clickOkThrough(fx, 3);
        QCOMPARE(first.opening, request("+100Pa"));
        fx.device().addFault(sim::FaultRule::customReply("?MeasRange", "MeasRange 2"));
        const Transcript second = clickOkThrough(fx, 3);
        QCOMPARE(second.opening, request("+100Pa"));
        QVERIFY(fx.window().state.calibRange100);
        QVERIFY(second.closed);
    }

    void numberAboveTheRawRangeFails() {
        WindowFixture fx;
        fx.device().addFault(sim::FaultRule::customReply(">TCalibOK", "TCalibOK 70000"));
        const Transcript t = clickOkThrough(fx, 3);
        QCOMPARE(t.afterClicks,
                 (QStringList{kFailed + kHoses, kFinished + kExit, kFinished + kExit}));
        QVERIFY(t.closed);
        QCOMPARE(fx.status(), kFinished);
        QVERIFY(fx.prompts().errors.isEmpty());
    }

    void deviceRefusalsAreShownAndRecalibrationStillEnds() {
        WindowFixture fx;
        // Zeroing runs while the reference is taken.
        fx.device().withModel([](sim::DeviceModel &m) {
            m.setAppliedPressure(250);
            m.setZeroDurationMs(600000);
            m.reply("MZ");
        });
        Transcript t = clickOkThrough(fx, 2);
        QCOMPARE(t.afterClicks,
                 (QStringList{QStringLiteral(
                                  "Momentan läuft eine Nullierung, Kalibrierung fehlgeschlagen!") +
                                  kHoses,
                              kFinished + kExit}));
        fx.device().withModel([](sim::DeviceModel &m) { QVERIFY(!m.recalibrationActive()); });

        // The same word as a plain reply, and a pressure outside the band.
        fx.device().addFault(sim::FaultRule::customReply(">TCalibOK", "Err_ZPCC_active", 1));
        t = clickOkThrough(fx, 1);
        QCOMPARE(t.afterClicks.first(),
                 QStringLiteral("Momentan läuft eine Nullierung, Kalibrierung fehlgeschlagen!") +
                     kHoses);
        fx.device().withModel([](sim::DeviceModel &m) {
            m.reply("Reset"); // ends the zeroing
            m.setAppliedPressure(0);
        });
        t = clickOkThrough(fx, 2);
        QCOMPARE(t.afterClicks.first(),
                 QStringLiteral("Druckmessung außerhalb der zulässigen Bandbreite, Kalibrierung "
                                "fehlgeschlagen!") +
                     kHoses);

        fx.device().addFault(sim::FaultRule::customReply(">TCalibOK", "Err_Whatever", 1));
        fx.device().addFault(sim::FaultRule::customReply(">TCalibFinished", "Err_NotActive", 1));
        t = clickOkThrough(fx, 2);
        QCOMPARE(t.afterClicks,
                 (QStringList{kFailed + kHoses,
                              QStringLiteral("Momentan läuft keine Kalibrierung.") + kExit}));
        QVERIFY(fx.prompts().errors.isEmpty());
    }

    void cancelThenOkOnlyEndsRecalibration() {
        WindowFixture fx;
        QStringList seen;
        onDialog(fx, [&](QDialog &dialog) {
            cancelButton(dialog)->click();
            seen << label(dialog);
            QVERIFY(!cancelButton(dialog)->isEnabled() && okButton(dialog)->isEnabled());
            okButton(dialog)->click();
            seen << label(dialog);
            QVERIFY(dialog.isVisible());
            okButton(dialog)->click();
            QVERIFY(!dialog.isVisible());
        });
        fx.click(QStringLiteral("ButtonCalibMinus"));
        QCOMPARE(seen,
                 (QStringList{QStringLiteral("Kalibrierung abgebrochen.") + kHoses,
                              QStringLiteral("Kalibrierung erfolgreich abgebrochen.") + kExit}));
        QCOMPARE(fx.commands(),
                 (QStringList{QStringLiteral("?MeasRange"), QStringLiteral(">TCalibMinus"),
                              QStringLiteral(">TCalibFinished")}));
        QCOMPARE(fx.status(), kFinished);

        // The next opening starts from the request again with both buttons.
        onDialog(fx, [&](QDialog &dialog) {
            seen << label(dialog);
            QVERIFY(cancelButton(dialog)->isEnabled() && okButton(dialog)->isEnabled());
        });
        fx.click(QStringLiteral("ButtonCalibMinus"));
        QCOMPARE(seen.last(), request("-250Pa"));
    }

    // Escape and the title bar's close button end re-calibration as the buttons do; no way of
    // closing leaves the device in it.
    void everyCloseEndsTheRecalibration() {
        WindowFixture fx;
        QStringList seen;
        onDialog(fx, [&](QDialog &dialog) {
            QTest::keyClick(&dialog, Qt::Key_Escape); // before the pressure was confirmed
            QVERIFY(dialog.isVisible());
            seen << label(dialog);
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QVERIFY(!dialog.isVisible());
        });
        fx.click(QStringLiteral("ButtonCalibMinus"));
        QCOMPARE(seen,
                 QStringList{QStringLiteral("Kalibrierung erfolgreich abgebrochen.") + kExit});
        QCOMPARE(fx.commands(), (QStringList{"?MeasRange", ">TCalibMinus", ">TCalibFinished"}));
        QCOMPARE(fx.status(), kFinished);

        fx.device().clearLog();
        fx.device().withModel([](sim::DeviceModel &m) { m.setAppliedPressure(250); });
        onDialog(fx, [&](QDialog &dialog) {
            okButton(dialog)->click(); // pressure confirmed
            dialog.close();            // the title bar's close button
            QVERIFY(dialog.isVisible());
            seen << label(dialog);
            dialog.close();
            QVERIFY(!dialog.isVisible());
        });
        fx.click(QStringLiteral("ButtonCalibPlus"));
        QCOMPARE(seen.last(), kSucceeded + kExit);
        QCOMPARE(fx.commands(),
                 (QStringList{"?MeasRange", ">TCalibPlus", ">TCalibOK", ">TCalibFinished"}));
        fx.device().withModel([](sim::DeviceModel &m) { QVERIFY(!m.recalibrationActive()); });
        QVERIFY(fx.prompts().errors.isEmpty());
    }

    void variantWithoutRecalibration() {
        WindowFixture fx;
        fx.device().withModel([](sim::DeviceModel &m) { m.setRecalibrationSupported(false); });
        fx.click(QStringLiteral("ButtonCalibPlus"));
        QCOMPARE(fx.prompts().modalCount, 0);
        QCOMPARE(fx.status(), kFailed);
        QVERIFY(!fx.window().ComPort().connected());
        QVERIFY(fx.ctl<QPushButton>(QStringLiteral("ButtonCalibPlus"))->isEnabled());
        QVERIFY(fx.window().ButtonLaden->isEnabled());
        QCOMPARE(fx.commands(),
                 (QStringList{QStringLiteral("?MeasRange"), QStringLiteral(">TCalibPlus")}));

        // A start accepted by mistake: the dialog reports the variant at both steps.
        fx.device().addFault(sim::FaultRule::customReply(">TCalibPlus", "OK", 1));
        const Transcript t = clickOkThrough(fx, 3);
        const QString variant =
            QStringLiteral("Bei dieser Gerätevariante ist eine Kalibrierung nicht möglich!");
        QCOMPARE(t.afterClicks, (QStringList{variant + kHoses, variant + kExit, variant + kExit}));
        QVERIFY(t.closed);
    }

    void startRefusedShowsNoDialog() {
        WindowFixture fx;
        fx.device().addFault(sim::FaultRule::customReply(">TCalibMinus", "Err_Busy", 1));
        fx.click(QStringLiteral("ButtonCalibMinus"));
        QCOMPARE(fx.prompts().modalCount, 0);
        QCOMPARE(fx.status(), kFailed);
        QVERIFY(fx.prompts().errors.isEmpty());
        QVERIFY(fx.ctl<QPushButton>(QStringLiteral("ButtonCalibMinus"))->isEnabled());
    }

    // The measurement mode holds the port: the procedure pauses the timer and leaves the port.
    void duringMeasurementThePortStaysOpen() {
        WindowFixture fx;
        TformMain &window = fx.window();
        window.state.measurementRunning = true;
        window.openPort();
        window.setMeasuringLock(true);
        window.TimerMessung->start();
        // Any reopening of COM1 would now fail, any closing would show at the end.
        window.ComPort().setBindings({{QStringLiteral("COM1"), fx.dir() + "/gone"}});
        fx.device().withModel([](sim::DeviceModel &m) { m.setAppliedPressure(250); });
        bool pausedWhileOpen = false;
        onDialog(fx, [&](QDialog &dialog) {
            pausedWhileOpen = !window.TimerMessung->isActive() && window.ComPort().connected();
            for (int i = 0; i < 3; ++i)
                okButton(dialog)->click();
        });
        fx.click(QStringLiteral("ButtonCalibPlus"));

        QCOMPARE(fx.prompts().errors, QStringList());
        QVERIFY(pausedWhileOpen);
        QVERIFY(window.ComPort().connected());
        QVERIFY(window.TimerMessung->isActive());
        QCOMPARE(fx.status(), kFinished);
        QVERIFY(fx.ctl<QPushButton>(QStringLiteral("ButtonCalibPlus"))->isEnabled());
        QVERIFY(fx.ctl<QPushButton>(QStringLiteral("ButtonNullieren"))->isEnabled());
        // The measurement's lock is the measurement's to release.
        QVERIFY(!window.ButtonLaden->isEnabled() && !window.MEinstellungen->isEnabled());
        QVERIFY(!window.SkalierungswerteSheet->isEnabled());
        QCOMPARE(fx.commands().last(), QStringLiteral(">TCalibFinished"));
        window.TimerMessung->stop();
        window.state.measurementRunning = false;
        window.closePort();
    }

    // Stopping the measurement while the procedure's range query is resent on "Err": the port
    // stays with the exchange, which ends with the user abort alone (no failed write).
    void stopDuringTheRangeQueryResendsEndsWithTheAbort() {
        WindowFixture fx;
        TformMain &window = fx.window();
        fx.click(QStringLiteral("ButtonConnection"));
        QVERIFY(window.measurementModeRuns());
        fx.device().addFault(sim::FaultRule::onCommand("?MeasRange", sim::FaultRule::Kind::Err,
                                                       sim::FaultRule::Always));
        QTimer stopper;
        QObject::connect(&stopper, &QTimer::timeout, [&] {
            if (fx.commands().count(QStringLiteral("?MeasRange")) >= 3) {
                stopper.stop();
                fx.click(QStringLiteral("ButtonConnection"));
            }
        });
        stopper.start(1);
        fx.click(QStringLiteral("ButtonCalibPlus"));

        QCOMPARE(fx.prompts().errors, QStringList{"Abbruch durch Benutzer"});
        QCOMPARE(fx.prompts().modalCount, 0);
        QVERIFY(!window.measurementModeRuns());
        QVERIFY(!window.ComPort().connected());
        QVERIFY(fx.ctl<QPushButton>(QStringLiteral("ButtonCalibPlus"))->isEnabled());
        QVERIFY(window.ButtonLaden->isEnabled());
    }

    // A reply that is no number goes to the global handler; the dialog can still finish.
    void nonNumericReplyLeavesTheDialogUsable() {
        WindowFixture fx;
        fx.device().addFault(sim::FaultRule::customReply(">TCalibOK", "TCalibOK abc"));
        QStringList seen;
        onDialog(fx, [&](QDialog &dialog) {
            okButton(dialog)->click();
            seen << label(dialog);
            QCOMPARE(fx.prompts().errors,
                     QStringList{QStringLiteral("' abc' ist kein gültiger Integerwert")});
            QVERIFY(dialog.isVisible() && okButton(dialog)->isEnabled());
            okButton(dialog)->click();
            seen << label(dialog);
            okButton(dialog)->click();
            QVERIFY(!dialog.isVisible());
        });
        fx.click(QStringLiteral("ButtonCalibPlus"));
        QCOMPARE(seen, (QStringList{kFailed + kHoses, kFinished + kExit}));
        QCOMPARE(fx.prompts().errors.size(), 1);
        QCOMPARE(fx.commands().last(), QStringLiteral(">TCalibFinished"));
        fx.device().withModel([](sim::DeviceModel &m) { QVERIFY(!m.recalibrationActive()); });
        QCOMPARE(fx.status(), kFinished);
        QVERIFY(!fx.window().ComPort().connected());
        QVERIFY(fx.window().ButtonLaden->isEnabled());
    }

    void hangUpInTheDialogLeavesTheWindowUsable() {
        WindowFixture fx;
        fx.device().addFault(sim::FaultRule::onCommand(">TCalibOK", sim::FaultRule::Kind::HangUp));
        bool closable = false;
        onDialog(fx, [&](QDialog &dialog) {
            okButton(dialog)->click();
            QCOMPARE(fx.prompts().errors.size(), 1);
            QVERIFY(okButton(dialog)->isEnabled());
            // Closing first tries to end re-calibration (the line is gone: a second error and
            // the outcome); once that was tried, it closes.
            dialog.reject();
            QCOMPARE(fx.prompts().errors.size(), 2);
            QCOMPARE(label(dialog), kFailed + kExit);
            dialog.reject();
            closable = !dialog.isVisible();
        });
        fx.click(QStringLiteral("ButtonCalibPlus"));
        QVERIFY(closable);
        QCOMPARE(fx.status(), kFinished);
        QVERIFY(fx.window().ButtonLaden->isEnabled());
        QVERIFY(fx.ctl<QPushButton>(QStringLiteral("ButtonCalibPlus"))->isEnabled());
        QVERIFY(!fx.window().ComPort().connected());
    }

    void textsFollowTheCurrentLanguage() {
        WindowFixture::Config config;
        config.extraSettings = QStringLiteral("[Miscellaneous]\r\nToolLanguage=1\r\n");
        WindowFixture fx(config);
        fx.device().withModel([](sim::DeviceModel &m) { m.setAppliedPressure(250); });
        QStringList seen;
        onDialog(fx, [&](QDialog &dialog) {
            seen << dialog.windowTitle() << label(dialog) << cancelButton(dialog)->text();
            okButton(dialog)->click();
            seen << label(dialog);
            okButton(dialog)->click();
            seen << label(dialog);
            okButton(dialog)->click();
        });
        fx.click(QStringLiteral("ButtonCalibPlus"));
        QCOMPARE(seen,
                 (QStringList{QStringLiteral("Calibrate ZEL"),
                              QStringLiteral("Apply the pressure +250Pa (use calibration ports).\n"
                                             "Then click the button 'OK'!"),
                              QStringLiteral("Cancel"),
                              QStringLiteral("Re-Calibration finished successfully.\nPlease now "
                                             "remove the hoses. Then confirm by clicking the "
                                             "button 'OK'."),
                              QStringLiteral("Re-Calibration finished successfully.\nClick the "
                                             "button 'OK' to exit.")}));
        QCOMPARE(fx.status(), QStringLiteral("Re-Calibration finished."));

        // Switched back to German, the next opening speaks German.
        fx.window().SpracheDClick();
        onDialog(fx, [&](QDialog &dialog) {
            seen << dialog.windowTitle() << label(dialog) << cancelButton(dialog)->text();
        });
        fx.click(QStringLiteral("ButtonCalibPlus"));
        QCOMPARE(seen.mid(5), (QStringList{QStringLiteral("ZEL kalibrieren"), request("+250Pa"),
                                           QStringLiteral("Abbrechen")}));
    }
};

ZEL_TEST_MAIN(TestRecalibration)
#include "test_recalibration.moc"
