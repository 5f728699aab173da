#include "base/Errors.h"
#include "calib/CalibReplies.h"

#include <QtTest>

using namespace CalibReplies;

class TestCalibReplies : public QObject {
    Q_OBJECT
private slots:
    void pressureRequestFollowsDirectionAndRange() {
        QCOMPARE(pressureRequestEntry(false, false), 112);
        QCOMPARE(pressureRequestEntry(false, true), 113);
        QCOMPARE(pressureRequestEntry(true, false), 114);
        QCOMPARE(pressureRequestEntry(true, true), 115);
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
        QCOMPARE(calibOk(QStringLiteral("Err_CmdNotExist")).entry, 119);
        QCOMPARE(calibOk(QStringLiteral("Err_ZPCC_active")).entry, 120);
        QCOMPARE(calibOk(QStringLiteral("Err_ValRange")).entry, 121);
        QCOMPARE(calibOk(QStringLiteral("Err_NotActive")).entry, 123);
        QCOMPARE(calibOk(QStringLiteral("Err_ValRange ")).entry, 123); // whole word only
        QCOMPARE(calibOk(QStringLiteral("TCalibOK 70000")).entry, 123);
        QCOMPARE(calibOk(QStringLiteral("TCalibOK 65536")).entry, 123);
        QCOMPARE(calibOk(QStringLiteral("TCalibOK -1")).entry, 123);
        QVERIFY(!calibOk(QStringLiteral("TCalibOK 70000")).success);

        const Outcome top = calibOk(QStringLiteral("TCalibOK 65535"));
        QCOMPARE(top.entry, 122);
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
                QCOMPARE(calibFinished(QStringLiteral("Err_CmdNotExist"), cancelled, success), 119);
                QCOMPARE(calibFinished(QStringLiteral("Err_NotActive"), cancelled, success), 135);
                QCOMPARE(calibFinished(QStringLiteral("Err_ValRange"), cancelled, success), 123);
                QCOMPARE(calibFinished(QStringLiteral(" OK"), cancelled, success), 123);
            }
        }
        // A cancel wins over everything the reply could say about success.
        QCOMPARE(calibFinished(QStringLiteral("OK"), true, false), 132);
        QCOMPARE(calibFinished(QStringLiteral("OK"), true, true), 132);
        QCOMPARE(calibFinished(QStringLiteral("OK"), false, false), 118);
        QCOMPARE(calibFinished(QStringLiteral("OK"), false, true), 122);
        QCOMPARE(calibFinished(QStringLiteral("TCalibFinishedOK"), false, true), 122);
    }

    void recallCalibReplies() {
        QCOMPARE(recallCalib(QStringLiteral("OK")), 127);
        QCOMPARE(recallCalib(QStringLiteral("Err_CmdNotExist")), 119);
        QCOMPARE(recallCalib(QStringLiteral("Err_ValRange")), 128);
        QCOMPARE(recallCalib(QString()), 128);
    }

    void carriageReturnsBecomeLineBreaks() {
        QCOMPARE(withLineBreaks(QStringLiteral("a\rb\r")), QStringLiteral("a\nb\n"));
        QCOMPARE(withLineBreaks(QStringLiteral("plain")), QStringLiteral("plain"));
    }
};

QTEST_APPLESS_MAIN(TestCalibReplies)
#include "test_calibreplies.moc"
