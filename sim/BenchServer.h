#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QSocketNotifier;
class QTcpServer;
class QTcpSocket;

namespace sim {

class InstrumentBench;
class PrologixAdapterSim;

// The bench instruments served on the transports a real bench has: a Prologix-protocol
// adapter on a pseudo-terminal (like GPIB-USB) and on a TCP port (like GPIB-ETHERNET), and
// each instrument as a LAN instrument taking SCPI lines on a TCP port of its own. Runs on the
// Qt event loop of the thread that made it; every endpoint listens on 127.0.0.1.
class BenchServer : public QObject {
    Q_OBJECT
public:
    explicit BenchServer(std::shared_ptr<InstrumentBench> bench, QObject *parent = nullptr);
    ~BenchServer() override;

    // The slave path of the adapter's pseudo-terminal; throws std::runtime_error.
    QString startPrologixPty();
    // The port listened on (`port` 0: any free one); throws std::runtime_error.
    quint16 listenPrologixTcp(quint16 port = 0);
    quint16 listenLanDaq(quint16 port = 0);
    quint16 listenLanPc(quint16 port = 0);

    PrologixAdapterSim *ptyAdapter() { return ptyAdapter_.get(); }
    // No answer from the instruments at all (a test's silent bench): bytes are taken and
    // dropped.
    void setSilent(bool silent) { silent_ = silent; }

private:
    enum class Endpoint { Prologix, LanDaq, LanPc };
    struct Connection;

    quint16 listen(Endpoint endpoint, quint16 port);
    void accept(QTcpServer *server, Endpoint endpoint);
    void readConnection(Connection *connection);
    QByteArray lanLine(Connection *connection, const QByteArray &line);
    void readPty();

    std::shared_ptr<InstrumentBench> bench_;
    std::vector<std::unique_ptr<Connection>> connections_;
    std::unique_ptr<PrologixAdapterSim> ptyAdapter_;
    int ptyMaster_ = -1;
    int ptySlave_ = -1;
    QSocketNotifier *ptyNotifier_ = nullptr;
    bool silent_ = false;
};

} // namespace sim
