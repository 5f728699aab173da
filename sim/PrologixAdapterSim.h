#pragma once

#include <QByteArray>
#include <map>

namespace sim {

class InstrumentBench;

// A Prologix-protocol GPIB adapter (GPIB-USB, GPIB-ETHERNET, AR488) in controller mode in front
// of the bench instruments. It takes the bytes a client sends and returns the bytes the adapter
// sends back: "++" commands end with CR or LF and are the adapter's own; any other line goes to
// the instrument at the current address, with ESC making the next character literal; "++read"
// returns what the addressed instrument has to say. An address where no instrument listens
// takes data silently and answers nothing, as on the bus.
class PrologixAdapterSim {
public:
    static constexpr const char *Version = "zelsim Prologix GPIB-USB Controller version 6.107";

    explicit PrologixAdapterSim(InstrumentBench &bench);
    ~PrologixAdapterSim();
    PrologixAdapterSim(const PrologixAdapterSim &) = delete;
    PrologixAdapterSim &operator=(const PrologixAdapterSim &) = delete;

    QByteArray feed(const QByteArray &bytes);

    int address() const { return address_; }
    bool autoRead() const { return autoRead_; }
    int eos() const { return eos_; }
    bool eoi() const { return eoi_; }
    int readTimeoutMs() const { return readTimeoutMs_; }
    // Adapter commands that were not understood.
    int unknownCommands() const { return unknown_; }

private:
    QByteArray command(const QByteArray &line);
    QByteArray sendToInstrument(const QByteArray &data);
    QByteArray readInstrument();
    int session();

    InstrumentBench &bench_;
    QByteArray line_;
    bool escaped_ = false;
    bool lineStartEscaped_ = false;
    int mode_ = 1;
    int address_ = 0;
    bool autoRead_ = true; // the adapters start with ++auto 1
    bool eoi_ = true;
    int eos_ = 0;
    int readTimeoutMs_ = 500;
    bool eotEnable_ = false;
    char eotChar_ = 0;
    std::map<int, int> sessions_; // address -> bench session (0: nobody listens)
    int unknown_ = 0;
};

} // namespace sim
