#include "tests/support/TestMain.h"
#include "tests/support/WindowFixture.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace {
const QString kQuestion = QStringLiteral("Wollen Sie die Nachkalibrierungswerte löschen?");
const QString kDone = QStringLiteral("Zurücksetzen der Nachkalibrierungswerte abgeschlossen.");
const QString kRunning = QStringLiteral("Zurücksetzen der Nachkalibrierungswerte läuft ...");

QString label(QDialog &dialog) {
    return dialog.findChild<QLabel *>(QStringLiteral("Statusanzeige"))->text();
}
QPushButton *okButton(QDialog &dialog) {
    return dialog.findChild<QPushButton *>(QStringLiteral("ButtonCalibOK"));
}
QPushButton *secondButton(QDialog &dialog) {
    return dialog.findChild<QPushButton *>(QStringLiteral("ButtonCalibAbbrechen"));
}

// Runs `script` while the dialog is modal; checks inside it fail the test function.
void onDialog(WindowFixture &fx, std::function<void(QDialog &)> script) {
    fx.prompts().modalScript = [script](QDialog &dialog) {
        script(dialog);
        return int(QDialog::Accepted);
    };
}

// Confirms the deletion and returns the label's answer; the dialog is closed with its second
// button, which must then read `closeCaption`.
QString confirmDeletion(WindowFixture &fx,
                        const QString &closeCaption = QStringLiteral("Beenden")) {
    QString answer;
    onDialog(fx, [&](QDialog &dialog) {
        okButton(dialog)->click();
        answer = label(dialog);
        QVERIFY(!okButton(dialog)->isEnabled());
        QCOMPARE(secondButton(dialog)->text(), closeCaption);
        secondButton(dialog)->click();
        QVERIFY(!dialog.isVisible());
    });
    fx.click(QStringLiteral("ButtonCalibCancel"));
    return answer;
}
} // namespace

class TestCalibDelete : public QObject {
    Q_OBJECT
private slots:
    // Delete, close with "Beenden", open again: the question and an enabled OK are back.
    void secondOpeningShowsTheQuestionAgain() {
        WindowFixture fx;
        fx.device().withModel([](sim::DeviceModel &m) {
            m.setTeachValue("CalibPlus", 31000);
            m.setTeachValue("CalibMinus", 2000);
        });
        TformMain &window = fx.window();
        QStringList seen;
        onDialog(fx, [&](QDialog &dialog) {
            seen << dialog.windowTitle() << fx.status() << label(dialog)
                 << secondButton(dialog)->text();
            QVERIFY(okButton(dialog)->isEnabled());
            QVERIFY(window.ComPort().connected());
            for (const char *name : {"ButtonLaden", "ButtonSenden", "ButtonWE250Pa",
                                     "ButtonAbortConfig", "ButtonNullieren", "ButtonReset",
                                     "ButtonCalibPlus", "ButtonCalibMinus", "ButtonCalibCancel"})
                QVERIFY2(!fx.ctl<QPushButton>(QLatin1String(name))->isEnabled(), name);
            QVERIFY(!window.MExtras->isEnabled() && !window.WarnwerteSheet->isEnabled());
            okButton(dialog)->click();
            seen << fx.status() << label(dialog) << secondButton(dialog)->text();
            QVERIFY(!okButton(dialog)->isEnabled());
            secondButton(dialog)->click();
            QVERIFY(!dialog.isVisible());
        });
        fx.click(QStringLiteral("ButtonCalibCancel"));
        QCOMPARE(seen,
                 (QStringList{QStringLiteral("Kalibr. löschen"), kRunning, kQuestion,
                              QStringLiteral("Abbrechen"), kRunning,
                              QStringLiteral("Zurücksetzen der Nachkalibrierungswerte erfolgreich "
                                             "abgeschlossen."),
                              QStringLiteral("Beenden")}));
        QCOMPARE(fx.status(), kDone);
        fx.device().withModel([](sim::DeviceModel &m) {
            QCOMPARE(m.teachValue("CalibPlus"), 0);
            QCOMPARE(m.teachValue("CalibMinus"), 0);
        });
        QVERIFY(!window.ComPort().connected());
        QVERIFY(window.ButtonLaden->isEnabled() && window.MExtras->isEnabled());
        QVERIFY(fx.ctl<QPushButton>(QStringLiteral("ButtonCalibCancel"))->isEnabled());

        // The second opening: cancelling sends nothing, the closing status stays the same.
        fx.window().setStatus(QString());
        onDialog(fx, [&](QDialog &dialog) {
            seen = QStringList{label(dialog), secondButton(dialog)->text()};
            QVERIFY(okButton(dialog)->isEnabled());
            secondButton(dialog)->click();
            QVERIFY(!dialog.isVisible());
        });
        fx.click(QStringLiteral("ButtonCalibCancel"));
        QCOMPARE(seen, (QStringList{kQuestion, QStringLiteral("Abbrechen")}));
        QCOMPARE(fx.commands(), QStringList{QStringLiteral("RecallCalib")});
        QCOMPARE(fx.status(), kDone);
    }

    void repliesOtherThanOk() {
        WindowFixture fx;
        fx.device().withModel([](sim::DeviceModel &m) { m.setRecalibrationSupported(false); });
        QCOMPARE(confirmDeletion(fx),
                 QStringLiteral("Bei dieser Gerätevariante ist eine Kalibrierung nicht möglich!"));
        fx.device().addFault(sim::FaultRule::customReply("RecallCalib", "Err_Busy", 1));
        QCOMPARE(confirmDeletion(fx),
                 QStringLiteral("Zurücksetzen der Nachkalibrierungswerte fehlgeschlagen."));
        QCOMPARE(fx.status(), kDone);
        QVERIFY(fx.prompts().errors.isEmpty());

        // Escape pressed while "RecallCalib" is on the wire does not close the dialog under it.
        bool openAfterEscape = false;
        onDialog(fx, [&](QDialog &dialog) {
            QTimer::singleShot(0, &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); });
            okButton(dialog)->click();
            openAfterEscape = dialog.isVisible();
            secondButton(dialog)->click();
        });
        fx.click(QStringLiteral("ButtonCalibCancel"));
        QVERIFY(openAfterEscape);
        QCOMPARE(fx.commands().last(), QStringLiteral("RecallCalib"));
    }

    void duringMeasurementThePortStaysOpen() {
        WindowFixture fx;
        TformMain &window = fx.window();
        window.state.measurementRunning = true;
        window.openPort();
        window.setMeasuringLock(true);
        window.TimerMessung->start();
        // Any reopening of COM1 would now fail, any closing would show at the end.
        window.ComPort().setBindings({{QStringLiteral("COM1"), fx.dir() + "/gone"}});
        bool paused = false;
        onDialog(fx, [&](QDialog &dialog) {
            paused = !window.TimerMessung->isActive();
            okButton(dialog)->click();
            secondButton(dialog)->click();
        });
        fx.click(QStringLiteral("ButtonCalibCancel"));
        QVERIFY(fx.prompts().errors.isEmpty());
        QVERIFY(paused);
        QVERIFY(window.ComPort().connected());
        QVERIFY(window.TimerMessung->isActive());
        QVERIFY(!window.ButtonLaden->isEnabled());
        QVERIFY(fx.ctl<QPushButton>(QStringLiteral("ButtonCalibCancel"))->isEnabled());
        QCOMPARE(fx.commands(), QStringList{QStringLiteral("RecallCalib")});
        window.TimerMessung->stop();
        window.state.measurementRunning = false;
        window.closePort();
    }

    // A silent device: the global handler reports it, OK stays enabled, the dialog closes.
    void linkFailureLeavesTheDialogClosable() {
        WindowFixture fx;
        fx.device().addFault(
            sim::FaultRule::onCommand("RecallCalib", sim::FaultRule::Kind::Silence, 2));
        onDialog(fx, [&](QDialog &dialog) {
            okButton(dialog)->click();
            QCOMPARE(fx.prompts().errors,
                     QStringList{QStringLiteral(
                         "Fehler beim Datenaustausch mit dem ZEL 40 / ZEL 80 (COM1)")});
            QVERIFY(okButton(dialog)->isEnabled());
            QCOMPARE(secondButton(dialog)->text(), QStringLiteral("Abbrechen"));
            secondButton(dialog)->click();
            QVERIFY(!dialog.isVisible());
        });
        fx.click(QStringLiteral("ButtonCalibCancel"));
        QCOMPARE(fx.prompts().errors.size(), 1);
        QCOMPARE(fx.status(), kDone);
        QVERIFY(fx.window().ButtonLaden->isEnabled());
        QVERIFY(!fx.window().ComPort().connected());
    }

    void textsFollowTheCurrentLanguage() {
        WindowFixture fx;
        fx.window().SpracheEngClick();
        QStringList seen;
        onDialog(fx, [&](QDialog &dialog) {
            seen << dialog.windowTitle() << label(dialog) << secondButton(dialog)->text();
            okButton(dialog)->click();
            seen << label(dialog) << secondButton(dialog)->text();
            secondButton(dialog)->click();
        });
        fx.click(QStringLiteral("ButtonCalibCancel"));
        QCOMPARE(seen, (QStringList{QStringLiteral("Undo Re-Calibr."),
                                    QStringLiteral("Do you want to reset the re-calibration "
                                                   "values?"),
                                    QStringLiteral("Cancel"),
                                    QStringLiteral("Resetting of the re-calibration values "
                                                   "finished successfully."),
                                    QStringLiteral("Close")}));
        QCOMPARE(fx.status(), QStringLiteral("Resetting of the re-calibration values finished."));
    }
};

ZEL_TEST_MAIN(TestCalibDelete)
#include "test_calibdelete.moc"
