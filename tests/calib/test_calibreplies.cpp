#include "base/Errors.h"
#include "calib/CalibReplies.h"

#include <QtTest>

using namespace CalibReplies;
using E = CatalogueEntry;

class TestCalibReplies : public QObject {
    Q_OBJECT
private slots:
    void pressureRequestFollowsDirectionAndRange() {
        QCOMPARE(pressureRequestEntry(false, false), E::ApplyPlus250Pa);
        QCOMPARE(pressureRequestEntry(false, true), E::ApplyPlus100Pa);
        QCOMPARE(pressureRequestEntry(true, false), E::ApplyMinus250Pa);
        QCOMPARE(pressureRequestEntry(true, true), E::ApplyMinus100Pa);
    }

    void measRangeTakesTheNumberAfterTheName() {
        QCOMPARE(measRange(QStringLiteral("MeasRange 0"), QLatin1Char(',')), 0);
        QCOMPARE(measRange(QStringLiteral("MeasRange 1"), QLatin1Char('.')), 1);
        QCOMPARE(measRange(QStringLiteral("MeasRange 7"), QLatin1Char(',')), 7);
        // "." becomes the local separator first, which no integer accepts.
        QVERIFY_THROWS_EXCEPTION(EConvertError,
                                 measRange(QStringLiteral("MeasRange 1.0"), QLatin1Char(',')));
    }

    void calibOkFirstMatchWins() {
        QCOMPARE(calibOk(QStringLiteral("Err_CmdNotExist")).entry, E::RecalibrationNotSupported);
        QCOMPARE(calibOk(QStringLiteral("Err_ZPCC_active")).entry,
                 E::RecalibrationFailedZeroingRuns);
        QCOMPARE(calibOk(QStringLiteral("Err_ValRange")).entry, E::RecalibrationFailedOutsideRange);
        QCOMPARE(calibOk(QStringLiteral("Err_NotActive")).entry, E::RecalibrationFailed);
        QCOMPARE(calibOk(QStringLiteral("Err_ValRange ")).entry,
                 E::RecalibrationFailed); // whole word only
        QCOMPARE(calibOk(QStringLiteral("TCalibOK 70000")).entry, E::RecalibrationFailed);
        QCOMPARE(calibOk(QStringLiteral("TCalibOK 65536")).entry, E::RecalibrationFailed);
        QCOMPARE(calibOk(QStringLiteral("TCalibOK -1")).entry, E::RecalibrationFailed);
        QVERIFY(!calibOk(QStringLiteral("TCalibOK 70000")).success);

        const Outcome top = calibOk(QStringLiteral("TCalibOK 65535"));
        QCOMPARE(top.entry, E::RecalibrationSucceeded);
        QVERIFY(top.success);
        QVERIFY(calibOk(QStringLiteral("TCalibOK 0")).success);
        QVERIFY(calibOk(QStringLiteral("TCalibOK 32768")).success);
        // The name is removed wherever it stands.
        QVERIFY(calibOk(QStringLiteral("TCalibOK12TCalibOK3")).success);
    }

    void calibOkRestThatIsNoNumberFails() {
        try {
            calibOk(QStringLiteral("TCalibOK abc"));
            QFAIL("no conversion error");
        } catch (const EConvertError &error) {
            QCOMPARE(error.message(), QStringLiteral("' abc' ist kein gültiger Integerwert"));
        }
        QVERIFY_THROWS_EXCEPTION(EConvertError, calibOk(QString()));
        QVERIFY_THROWS_EXCEPTION(EConvertError, calibOk(QStringLiteral("OK")));
    }

    void calibFinishedFirstMatchWins() {
        for (bool cancelled : {false, true}) {
            for (bool success : {false, true}) {
                QCOMPARE(calibFinished(QStringLiteral("Err_CmdNotExist"), cancelled, success),
                         E::RecalibrationNotSupported);
                QCOMPARE(calibFinished(QStringLiteral("Err_NotActive"), cancelled, success),
                         E::NoRecalibrationRuns);
                QCOMPARE(calibFinished(QStringLiteral("Err_ValRange"), cancelled, success),
                         E::RecalibrationFailed);
                QCOMPARE(calibFinished(QStringLiteral(" OK"), cancelled, success),
                         E::RecalibrationFailed);
            }
        }
        // A cancel wins over everything the reply could say about success.
        QCOMPARE(calibFinished(QStringLiteral("OK"), true, false),
                 E::RecalibrationAbortedSuccessfully);
        QCOMPARE(calibFinished(QStringLiteral("OK"), true, true),
                 E::RecalibrationAbortedSuccessfully);
        QCOMPARE(calibFinished(QStringLiteral("OK"), false, false), E::RecalibrationFinished);
        QCOMPARE(calibFinished(QStringLiteral("OK"), false, true), E::RecalibrationSucceeded);
        QCOMPARE(calibFinished(QStringLiteral("TCalibFinishedOK"), false, true),
                 E::RecalibrationSucceeded);
    }

    void recallCalibReplies() {
        QCOMPARE(recallCalib(QStringLiteral("OK")), E::RecalibrationResetSucceeded);
        QCOMPARE(recallCalib(QStringLiteral("Err_CmdNotExist")), E::RecalibrationNotSupported);
        QCOMPARE(recallCalib(QStringLiteral("Err_ValRange")), E::RecalibrationResetFailed);
        QCOMPARE(recallCalib(QString()), E::RecalibrationResetFailed);
    }

    void carriageReturnsBecomeLineBreaks() {
        QCOMPARE(withLineBreaks(QStringLiteral("a\rb\r")), QStringLiteral("a\nb\n"));
        QCOMPARE(withLineBreaks(QStringLiteral("plain")), QStringLiteral("plain"));
    }
};

QTEST_APPLESS_MAIN(TestCalibReplies)
#include "test_calibreplies.moc"
