#include "sim/PrologixAdapterSim.h"

#include "sim/InstrumentBench.h"

namespace sim {

PrologixAdapterSim::PrologixAdapterSim(InstrumentBench &bench) : bench_(bench) {}

PrologixAdapterSim::~PrologixAdapterSim() {
    for (const auto &entry : sessions_) {
        if (entry.second != 0)
            bench_.close(entry.second);
    }
}

QByteArray PrologixAdapterSim::feed(const QByteArray &bytes) {
    QByteArray out;
    for (const char c : bytes) {
        if (escaped_) {
            // An escaped "+" among the first two characters makes the line data.
            if (line_.size() < 2)
                lineStartEscaped_ = true;
            line_ += c;
            escaped_ = false;
            continue;
        }
        if (c == 27) {
            escaped_ = true;
            continue;
        }
        if (c != '\r' && c != '\n') {
            line_ += c;
            continue;
        }
        if (line_.isEmpty())
            continue;
        const QByteArray line = std::exchange(line_, QByteArray());
        const bool data = std::exchange(lineStartEscaped_, false) || !line.startsWith("++");
        out += data ? sendToInstrument(line) : command(line.mid(2));
    }
    return out;
}

QByteArray PrologixAdapterSim::command(const QByteArray &line) {
    const QList<QByteArray> words = line.simplified().split(' ');
    const QByteArray name = words.value(0).toLower();
    const QByteArray arg = words.value(1);
    const bool hasArg = !arg.isEmpty();
    bool ok = !hasArg;
    const int value = hasArg ? arg.toInt(&ok) : 0;
    auto query = [](int v) { return QByteArray::number(v) + "\r\n"; };
    if (name == "ver")
        return QByteArray(Version) + "\r\n";
    if (name == "mode") {
        if (!hasArg)
            return query(mode_);
        mode_ = value;
    } else if (name == "addr") {
        if (!hasArg)
            return query(address_);
        if (ok && value >= 0 && value <= 30)
            address_ = value;
    } else if (name == "auto") {
        if (!hasArg)
            return query(autoRead_);
        autoRead_ = value != 0;
    } else if (name == "eoi") {
        if (!hasArg)
            return query(eoi_);
        eoi_ = value != 0;
    } else if (name == "eos") {
        if (!hasArg)
            return query(eos_);
        if (ok && value >= 0 && value <= 3)
            eos_ = value;
    } else if (name == "read_tmo_ms") {
        if (!hasArg)
            return query(readTimeoutMs_);
        if (ok && value >= 1 && value <= 3000)
            readTimeoutMs_ = value;
    } else if (name == "eot_enable") {
        if (!hasArg)
            return query(eotEnable_);
        eotEnable_ = value != 0;
    } else if (name == "eot_char") {
        if (!hasArg)
            return query(eotChar_);
        eotChar_ = char(value);
    } else if (name == "read") {
        return readInstrument();
    } else if (name == "spoll" || name == "srq" || name == "status") {
        // No instrument of the bench requests service: status byte 0, SRQ line released.
        return query(0);
    } else if (name == "help") {
        return "zelsim Prologix adapter: addr auto clr eoi eos eot_char eot_enable help ifc llo "
               "loc lon mode read read_tmo_ms rst savecfg spoll srq status trg ver\r\n";
    } else if (name == "clr" || name == "ifc" || name == "loc" || name == "llo" || name == "lon" ||
               name == "rst" || name == "trg" || name == "savecfg") {
        // Nothing of the bench depends on these.
    } else {
        ++unknown_;
    }
    return QByteArray();
}

int PrologixAdapterSim::session() {
    auto it = sessions_.find(address_);
    if (it == sessions_.end())
        it = sessions_
                 .emplace(address_,
                          bench_.open(InstrumentBench::resourceName(QByteArray::number(address_))))
                 .first;
    return it->second;
}

// With ++eos 3 nothing is appended; the other settings append CR LF, CR or LF, as an
// instrument would then see them.
QByteArray PrologixAdapterSim::sendToInstrument(const QByteArray &data) {
    static const char *const terminators[] = {"\r\n", "\r", "\n", ""};
    QByteArray message = data + terminators[eos_];
    // The bench instruments take a message as written, without the bus terminator.
    while (message.endsWith('\n') || message.endsWith('\r'))
        message.chop(1);
    const int id = session();
    if (id != 0)
        bench_.write(id, message);
    return autoRead_ ? readInstrument() : QByteArray();
}

QByteArray PrologixAdapterSim::readInstrument() {
    const int id = session();
    if (id == 0)
        return QByteArray(); // nobody talks: the adapter times out and sends nothing
    QByteArray reply = bench_.read(id, 1 << 16);
    if (!reply.isEmpty() && eotEnable_)
        reply += eotChar_;
    return reply;
}

} // namespace sim
