// The rules of reading and writing teach values, against a scripted exchange.
#include "base/Errors.h"
#include "link/WireText.h"
#include "teach/TeachValueTransfer.h"

#include <QHash>
#include <QtTest>

namespace {

// Answers queries like a device holding `values`; `replies` overrides single commands.
struct ScriptedDevice {
    QStringList sent;
    QHash<QString, QString> replies;
    QHash<QString, int> values;
    int range = 1;

    QString operator()(const QString &command) {
        sent << command;
        if (replies.contains(command))
            return replies.value(command);
        if (command == QLatin1String("?MeasRange"))
            return QStringLiteral("MeasRange %1").arg(range);
        if (command.startsWith(QLatin1Char('?'))) {
            const QString name = command.mid(1);
            return name + QLatin1Char(' ') + QString::number(values.value(name, 7));
        }
        if (command == QLatin1String(">MTeach"))
            return QStringLiteral("MTeach 1");
        return QStringLiteral("OK");
    }
};

QString convertError(const QString &text) {
    return QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text);
}

} // namespace

class TestTeachValueTransfer : public QObject {
    Q_OBJECT

private slots:
    void replyValueFollowsTheIntegerRule() {
        const QChar point = QLatin1Char('.');
        QCOMPARE(TeachValueTransfer::replyValue("PStuetz11 -35", "PStuetz11", point), -35);
        QCOMPARE(TeachValueTransfer::replyValue("StVDC3 +0042", "StVDC3", point), 42);
        QCOMPARE(TeachValueTransfer::replyValue("MeasRange 1", "MeasRange", point), 1);
        // Every occurrence of the name goes, wherever it stands.
        QCOMPARE(TeachValueTransfer::replyValue("M 12M", "M", point), 12);
        QCOMPARE(TeachValueTransfer::replyValue("X 2147483647", "X", point), 2147483647);
        QCOMPARE(TeachValueTransfer::replyValue("X -2147483648", "X", point), -2147483647 - 1);

        struct Bad {
            const char *reply;
            QChar separator;
            const char *rejected;
        };
        const Bad bad[] = {
            {"IN1UStuetz6 12.5", QLatin1Char('.'), " 12.5"},
            {"IN1UStuetz6 12.5", QLatin1Char(','), " 12,5"}, // "." became the local separator
            {"IN1UStuetz6 12", QLatin1Char(','), nullptr},
            {"Err_CmdNotExist", QLatin1Char('.'), "Err_CmdNotExist"},
            {"", QLatin1Char('.'), ""},
            {"IN1UStuetz6 99999999999", QLatin1Char('.'), " 99999999999"},
            {"IN1UStuetz6 2147483648", QLatin1Char('.'), " 2147483648"},
            {"IN1UStuetz6 1 2", QLatin1Char('.'), " 1 2"},
            {"IN1UStuetz6 12 ", QLatin1Char('.'), " 12 "},
            {"IN1UStuetz6 0x10", QLatin1Char('.'), " 0x10"},
            {"IN1UStuetz6 \xc3\xbf\x01", QLatin1Char('.'), " \xc3\xbf\x01"},
            {"IN1UStuetz6 -", QLatin1Char('.'), " -"},
        };
        for (const Bad &b : bad) {
            if (!b.rejected) {
                QCOMPARE(TeachValueTransfer::replyValue(QString::fromUtf8(b.reply), "IN1UStuetz6",
                                                        b.separator),
                         12);
                continue;
            }
            try {
                TeachValueTransfer::replyValue(QString::fromUtf8(b.reply), "IN1UStuetz6",
                                               b.separator);
                QFAIL(qPrintable(QStringLiteral("accepted: ") + QString::fromUtf8(b.reply)));
            } catch (const EConvertError &error) {
                QCOMPARE(error.message(), convertError(QString::fromUtf8(b.rejected)));
            }
        }
    }

    void loadQueriesRangeThenTheTableInOrder() {
        ScriptedDevice device;
        device.range = 0;
        device.values.insert("PStuetz11", -35);
        device.values.insert("IN2UStuetz6", 123456);
        int range = -5;
        QStringList filled;
        QHash<QString, int> shown;
        TeachValueTransfer transfer(std::ref(device), QLatin1Char('.'));
        transfer.load([&range](int r) { range = r; },
                      [&](const TeachValueRow &row, int value) {
                          filled << QString::fromLatin1(row.valueLabel);
                          shown.insert(QString::fromLatin1(row.valueLabel), value);
                      });
        QCOMPARE(device.sent.size(), TeachValueTransfer::LoadExchangeCount);
        QCOMPARE(device.sent.size(), 62);
        QCOMPARE(device.sent.first(), QStringLiteral("?MeasRange"));
        QCOMPARE(range, 0);
        QCOMPARE(filled.size(), 61);
        for (int i = 0; i < 61; ++i) {
            const TeachValueRow &row = TeachValueTable::rows()[i];
            QCOMPARE(device.sent[i + 1], QStringLiteral("?") + QString::fromLatin1(row.deviceName));
            QCOMPARE(filled[i], QString::fromLatin1(row.valueLabel));
        }
        QCOMPARE(shown.value("PM0"), -35);
        QCOMPARE(shown.value("IN2U11V"), 123456);
        QCOMPARE(shown.value("M120korr"), 7);
        // Nothing but queries.
        for (const QString &command : device.sent)
            QVERIFY(command.startsWith(QLatin1Char('?')));
    }

    void loadStopsAtTheFirstBadValue() {
        ScriptedDevice device;
        device.replies.insert("?IN1UStuetz6", "IN1UStuetz6 12.5");
        QStringList filled;
        bool rangeSeen = false;
        TeachValueTransfer transfer(std::ref(device), QLatin1Char('.'));
        QVERIFY_THROWS_EXCEPTION(EConvertError,
                                 transfer.load([&](int) { rangeSeen = true; },
                                               [&](const TeachValueRow &row, int) {
                                                   filled << QString::fromLatin1(row.valueLabel);
                                               }));
        QVERIFY(rangeSeen);
        QCOMPARE(filled.size(), 46);
        QCOMPARE(filled.last(), QStringLiteral("IN1U10V"));
        QCOMPARE(device.sent.last(), QStringLiteral("?IN1UStuetz6"));

        // A bad range reply stops before any value.
        ScriptedDevice badRange;
        badRange.replies.insert("?MeasRange", "Err_CmdNotExist");
        filled.clear();
        rangeSeen = false;
        TeachValueTransfer first(std::ref(badRange), QLatin1Char('.'));
        QVERIFY_THROWS_EXCEPTION(EConvertError,
                                 first.load([&](int) { rangeSeen = true; },
                                            [&](const TeachValueRow &, int) { filled << "x"; }));
        QVERIFY(!rangeSeen);
        QVERIFY(filled.isEmpty());
        QCOMPARE(badRange.sent.size(), 1);
    }

    void sendMakesTheFiftyOneExchangesInOrder() {
        ScriptedDevice device;
        TeachValueTransfer transfer(std::ref(device), QLatin1Char(','));
        const bool accepted = transfer.send([](const TeachValueRow &row) {
            // Captions go out as they stand: comma, blanks, empty, anything.
            if (QLatin1String(row.valueLabel) == QLatin1String("M120"))
                return QString();
            if (QLatin1String(row.valueLabel) == QLatin1String("P20"))
                return QStringLiteral("1,5");
            return QStringLiteral("v") + QString::fromLatin1(row.valueLabel);
        });
        QVERIFY(accepted);
        QCOMPARE(device.sent.size(), TeachValueTable::SendExchangeCount);
        QCOMPARE(device.sent.size(), 51);
        QStringList expected;
        expected << ">MTeach"
                 << ">PStuetz0 "
                 << ">PStuetz1 vM100";
        for (int i = 3; i <= 13; ++i)
            QVERIFY(device.sent[i].startsWith(">PStuetz"));
        QCOMPARE(device.sent.mid(0, 3), expected);
        QCOMPARE(device.sent[8], QStringLiteral(">PStuetz13 1,5"));
        QCOMPARE(device.sent[13], QStringLiteral(">PStuetz22 vP120"));
        QCOMPARE(device.sent[14], QStringLiteral(">CalibMinus vKalibMinus"));
        QCOMPARE(device.sent[15], QStringLiteral(">CalibPlus vKalibPlus"));
        QCOMPARE(device.sent.mid(16, 5),
                 QStringList({">StIDC0 vI0mA", ">StIDC1 vI4mA", ">StIDC2 vI20mA", ">StVDC1 vU0V",
                              ">StVDC3 vU10V"}));
        QCOMPARE(device.sent[21], QStringLiteral(">IN1IStuetz0 vIN1I0mA"));
        QCOMPARE(device.sent[34], QStringLiteral(">IN1UStuetz6 vIN1U11V"));
        QCOMPARE(device.sent[35], QStringLiteral(">IN2IStuetz0 vIN2I0mA"));
        QCOMPARE(device.sent[48], QStringLiteral(">IN2UStuetz6 vIN2U11V"));
        QCOMPARE(device.sent[49], QStringLiteral("SavePar"));
        QCOMPARE(device.sent[50], QStringLiteral(">MTeach"));
        for (const QString &command : device.sent)
            QVERIFY2(!command.contains(QLatin1String("Korr")), qPrintable(command));

        // A caption holding a control character (a hand-edited file) would end its line and
        // put what follows on the wire as a command: the send refuses before its first line.
        for (const QString &bad : {QStringLiteral("1\rReset"), QStringLiteral("5\n"),
                                   QStringLiteral("\x1b"), QStringLiteral("2\t3")}) {
            ScriptedDevice refused;
            TeachValueTransfer unsafe(std::ref(refused), QLatin1Char(','));
            try {
                unsafe.send([&bad](const TeachValueRow &row) {
                    return QLatin1String(row.valueLabel) == QLatin1String("IN2U11V")
                               ? bad
                               : QStringLiteral("1");
                });
                QFAIL("a caption with a control character was sent");
            } catch (const EUnsafeValue &e) {
                QCOMPARE(e.setting(), QStringLiteral("IN2U11V"));
                QVERIFY(e.message(1).endsWith(QStringLiteral("nothing was transferred: IN2U11V")));
            }
            QVERIFY(refused.sent.isEmpty());
        }
    }

    void sendReportsRefusalsAfterAllExchanges() {
        const auto captions = [](const TeachValueRow &) { return QStringLiteral("1"); };
        {
            ScriptedDevice device;
            device.replies.insert(">PStuetz0 1", "Err_ValRange");
            TeachValueTransfer transfer(std::ref(device), QLatin1Char('.'));
            QVERIFY(!transfer.send(captions));
            QCOMPARE(device.sent.size(), 51);
            QCOMPARE(device.sent.last(), QStringLiteral(">MTeach"));
        }
        {
            ScriptedDevice device;
            device.replies.insert("SavePar", "Err_CmdNotExist");
            QVERIFY(!TeachValueTransfer(std::ref(device), QLatin1Char('.')).send(captions));
            QCOMPARE(device.sent.size(), 51);
        }
        {
            // "SavePar" must be answered "OK" exactly; anything else means nothing was stored.
            ScriptedDevice device;
            device.replies.insert("SavePar", "");
            QVERIFY(!TeachValueTransfer(std::ref(device), QLatin1Char('.')).send(captions));
        }
        {
            // The mode switches are never judged.
            ScriptedDevice device;
            device.replies.insert(">MTeach", "Err_CmdNotExist");
            QVERIFY(TeachValueTransfer(std::ref(device), QLatin1Char('.')).send(captions));
        }
        {
            // A value reply that is no "Err..." word counts as taken.
            ScriptedDevice device;
            device.replies.insert(">IN2UStuetz6 1", "err_lowercase");
            QVERIFY(TeachValueTransfer(std::ref(device), QLatin1Char('.')).send(captions));
        }
    }
};

QTEST_GUILESS_MAIN(TestTeachValueTransfer)
#include "test_teachvalues_transfer.moc"
