#pragma once

#include "link/SerialDriver.h"

#include <QByteArray>
#include <bitset>

// The telnet layer of a serial device server speaking RFC 2217 ("Telnet COM Port Control"):
// data bytes 0xFF are doubled both ways, options are negotiated, and the port's line settings
// and modem lines travel as COM-PORT-OPTION subnegotiations. Plain logic: bytes in, bytes out.
class TelnetCodec {
public:
    static constexpr unsigned char kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251,
                                   kSb = 250, kSe = 240;
    static constexpr unsigned char kBinary = 0, kSuppressGoAhead = 3, kComPort = 44;
    // COM-PORT-OPTION commands of the client; the server answers each with the code + 100.
    enum Command : unsigned char {
        SetBaudRate = 1,
        SetDataSize = 2,
        SetParity = 3,
        SetStopSize = 4,
        SetControl = 5,
        PurgeData = 12
    };

    // What the client asks for at connect: it acts as COM port client and both ways binary.
    QByteArray greeting();
    // The whole line setting as subnegotiations, in the order a server applies them.
    static QByteArray lineSettings(const LineSettings &settings);
    static QByteArray control(unsigned char value);
    static QByteArray purge(bool input, bool output);
    // Data with every 0xFF doubled.
    static QByteArray escape(const QByteArray &data);

    // Takes received bytes: returns the data in them; answers owed to the server's option
    // requests are collected for takeReplies(). Sequences split across calls are kept.
    QByteArray decode(const QByteArray &bytes);
    QByteArray takeReplies();
    // The server agreed to act as COM port server, or refused it.
    bool comPortAccepted() const { return comPortAccepted_; }
    bool comPortRefused() const { return comPortRefused_; }

private:
    void negotiate(unsigned char verb, unsigned char option);
    void subnegotiation(const QByteArray &body);

    enum class State { Data, Iac, Verb, Sub, SubIac };
    State state_ = State::Data;
    unsigned char verb_ = 0;
    QByteArray sub_;
    QByteArray replies_;
    // Options this side has offered (WILL) or asked for (DO), so an answer is not answered again.
    std::bitset<256> willSent_, doSent_;
    bool comPortAccepted_ = false;
    bool comPortRefused_ = false;
};
