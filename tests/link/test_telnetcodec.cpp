#include "link/TelnetCodec.h"

#include <QtTest>
#include <functional>

// The telnet layer towards a serial device server: what goes out and what is taken as data.
class TestTelnetCodec : public QObject {
    Q_OBJECT

private slots:
    void bytesBothWays() {
        using C = TelnetCodec;
        const auto bytes = [](std::initializer_list<int> values) {
            QByteArray out;
            for (const int v : values)
                out += char(v);
            return out;
        };
        const auto sub = [&bytes](int command, QByteArray value) {
            return bytes({C::kIac, C::kSb, C::kComPort, command}) + value +
                   bytes({C::kIac, C::kSe});
        };
        // Decodes the chunks after the greeting: the data, then "|" and the replies owed.
        const auto decoded = [](QList<QByteArray> chunks) {
            TelnetCodec codec;
            codec.greeting();
            QByteArray data;
            for (const QByteArray &chunk : chunks)
                data += codec.decode(chunk);
            return data + '|' + codec.takeReplies();
        };
        LineSettings framed;
        framed.baudRate = 19200;
        framed.dataBits = 7;
        framed.parity = LineSettings::Parity::Even;
        framed.stopBits = LineSettings::StopBits::Two;
        framed.flow = LineSettings::Flow::Hardware;
        LineSettings iacBaud; // a value byte 0xFF is doubled inside a subnegotiation too
        iacBaud.baudRate = 0x1FF;

        const struct {
            const char *name;
            std::function<QByteArray()> produce;
            QByteArray expected;
        } cases[] = {
            {"greeting offers COM port control and binary both ways",
             [] { return TelnetCodec().greeting(); },
             bytes({C::kIac, C::kWill, 44, C::kIac, C::kWill, 0, C::kIac, C::kDo, 0})},
            {"data 0xFF is doubled",
             [&] {
                 return C::escape(bytes({'A', 255, 'B'}));
             },
             bytes({'A', 255, 255, 'B'})},
            {"line settings in order: baud, size, parity, stop, flow",
             [&] { return C::lineSettings(framed); },
             sub(1, bytes({0, 0, 0x4B, 0})) + sub(2, bytes({7})) + sub(3, bytes({3})) +
                 sub(4, bytes({2})) + sub(5, bytes({3}))},
            {"0xFF inside a setting value", [&] { return C::lineSettings(iacBaud).left(10); },
             sub(1, bytes({0, 0, 1, 255, 255})).left(10)},
            {"DTR on, RTS off as control requests", [&] { return C::control(8) + C::control(12); },
             sub(5, bytes({8})) + sub(5, bytes({12}))},
            {"purge of the receive buffer", [&] { return C::purge(true, false); },
             sub(12, bytes({1}))},
            {"doubled 0xFF split across reads is one data byte",
             [&] {
                 return decoded({bytes({'x', 255}), bytes({255, '\r'})});
             },
             bytes({'x', 255, '\r', '|'})},
            {"the server's acceptance is not answered again",
             [&] {
                 return decoded(
                     {bytes({C::kIac, C::kDo, 44, C::kIac, C::kWill, 0, C::kIac, C::kDo, 0})});
             },
             QByteArray("|")},
            {"unwanted options are refused, go-ahead suppression taken",
             [&] {
                 return decoded(
                     {bytes({C::kIac, C::kWill, 1, C::kIac, C::kDo, 24, C::kIac, C::kWill, 3})});
             },
             '|' + bytes({C::kIac, C::kDont, 1, C::kIac, C::kWont, 24, C::kIac, C::kDo, 3})},
            {"notifications between data bytes are dropped",
             [&] {
                 return decoded({"OK" + bytes({C::kIac, C::kSb, 44}),
                                 bytes({101, 0, 0, 37, 128, C::kIac, C::kSe}) + "\r"});
             },
             QByteArray("OK\r|")},
        };
        for (const auto &c : cases)
            QVERIFY2(c.produce() == c.expected,
                     qPrintable(QString::fromLatin1(c.name) + ": " +
                                QString::fromLatin1(c.produce().toHex(' '))));

        // A refusal of COM port control is seen; data goes on as it came.
        TelnetCodec refused;
        refused.greeting();
        QCOMPARE(refused.decode(bytes({C::kIac, C::kDont, 44, 'a'})), QByteArray("a"));
        QVERIFY(refused.comPortRefused() && !refused.comPortAccepted());
    }
};

QTEST_GUILESS_MAIN(TestTelnetCodec)
#include "test_telnetcodec.moc"
