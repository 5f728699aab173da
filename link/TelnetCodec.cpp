#include "link/TelnetCodec.h"

namespace {
QByteArray subnegotiate(unsigned char command, const QByteArray &value) {
    QByteArray out;
    out += char(TelnetCodec::kIac);
    out += char(TelnetCodec::kSb);
    out += char(TelnetCodec::kComPort);
    out += char(command);
    out += TelnetCodec::escape(value);
    out += char(TelnetCodec::kIac);
    out += char(TelnetCodec::kSe);
    return out;
}

QByteArray verb(unsigned char v, unsigned char option) {
    QByteArray out;
    out += char(TelnetCodec::kIac);
    out += char(v);
    out += char(option);
    return out;
}
} // namespace

QByteArray TelnetCodec::greeting() {
    willSent_.set(kComPort);
    willSent_.set(kBinary);
    doSent_.set(kBinary);
    return verb(kWill, kComPort) + verb(kWill, kBinary) + verb(kDo, kBinary);
}

QByteArray TelnetCodec::lineSettings(const LineSettings &settings) {
    using S = LineSettings;
    const quint32 baud = quint32(settings.baudRate);
    QByteArray baudBytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        baudBytes += char((baud >> shift) & 0xFF);
    // Parity: 1 none, 2 odd, 3 even, 4 mark, 5 space; stop size: 1 one, 2 two, 3 one and a half;
    // control: 1 no flow control, 2 XON/XOFF, 3 hardware.
    const char parity = char(int(settings.parity) + 1);
    const char stop = settings.stopBits == S::StopBits::One   ? 1
                      : settings.stopBits == S::StopBits::Two ? 2
                                                              : 3;
    const unsigned char flow = settings.flow == S::Flow::Software   ? 2
                               : settings.flow == S::Flow::Hardware ? 3
                                                                    : 1;
    return subnegotiate(SetBaudRate, baudBytes) +
           subnegotiate(SetDataSize, QByteArray(1, char(settings.dataBits))) +
           subnegotiate(SetParity, QByteArray(1, parity)) +
           subnegotiate(SetStopSize, QByteArray(1, stop)) + control(flow);
}

QByteArray TelnetCodec::control(unsigned char value) {
    return subnegotiate(SetControl, QByteArray(1, char(value)));
}

QByteArray TelnetCodec::purge(bool input, bool output) {
    // 1: the server's receive buffer, 2: its transmit buffer, 3: both.
    const char which = char((input ? 1 : 0) | (output ? 2 : 0));
    return which ? subnegotiate(PurgeData, QByteArray(1, which)) : QByteArray();
}

QByteArray TelnetCodec::escape(const QByteArray &data) {
    if (!data.contains(char(kIac)))
        return data;
    QByteArray out;
    out.reserve(data.size() + 8);
    for (const char c : data) {
        out += c;
        if (static_cast<unsigned char>(c) == kIac)
            out += c;
    }
    return out;
}

QByteArray TelnetCodec::decode(const QByteArray &bytes) {
    QByteArray data;
    data.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        switch (state_) {
        case State::Data:
            if (b == kIac)
                state_ = State::Iac;
            else
                data += c;
            break;
        case State::Iac:
            if (b == kIac) {
                data += c;
                state_ = State::Data;
            } else if (b == kSb) {
                sub_.clear();
                state_ = State::Sub;
            } else if (b >= kWill) {
                verb_ = b;
                state_ = State::Verb;
            } else {
                // NOP, go-ahead and the other two-byte commands carry nothing for a serial line.
                state_ = State::Data;
            }
            break;
        case State::Verb:
            negotiate(verb_, b);
            state_ = State::Data;
            break;
        case State::Sub:
            if (b == kIac)
                state_ = State::SubIac;
            else if (sub_.size() < 256) // a runaway subnegotiation does not grow without end
                sub_ += c;
            break;
        case State::SubIac:
            if (b == kSe) {
                subnegotiation(sub_);
                state_ = State::Data;
            } else {
                if (b == kIac && sub_.size() < 256)
                    sub_ += c;
                state_ = State::Sub;
            }
            break;
        }
    }
    return data;
}

QByteArray TelnetCodec::takeReplies() {
    QByteArray out;
    out.swap(replies_);
    return out;
}

void TelnetCodec::negotiate(unsigned char v, unsigned char option) {
    const bool wanted = option == kBinary || option == kComPort || option == kSuppressGoAhead;
    switch (v) {
    case kDo: // the server asks this side to use an option
        if (option == kComPort)
            comPortAccepted_ = true;
        if (wanted && option != kSuppressGoAhead) {
            if (!willSent_.test(option))
                replies_ += verb(kWill, option);
            willSent_.set(option);
        } else {
            replies_ += verb(kWont, option);
        }
        break;
    case kDont:
        if (option == kComPort)
            comPortRefused_ = true;
        // An answer to an offer, or the server turning an option off: this side stops using
        // it; no reply, so no negotiation loop can start.
        willSent_.reset(option);
        break;
    case kWill: // the server offers to use an option
        if (wanted && option != kComPort) {
            if (!doSent_.test(option))
                replies_ += verb(kDo, option);
            doSent_.set(option);
        } else {
            replies_ += verb(kDont, option);
        }
        break;
    case kWont:
        doSent_.reset(option);
        break;
    default:
        break;
    }
}

void TelnetCodec::subnegotiation(const QByteArray &body) {
    // The server's acknowledgements (command + 100) and its line and modem state notifications
    // need no action: the line settings are the ones this side sent.
    if (!body.isEmpty() && static_cast<unsigned char>(body.at(0)) == kComPort)
        comPortAccepted_ = true;
}
