#include "sim/BenchServer.h"

#include "sim/InstrumentBench.h"
#include "sim/PrologixAdapterSim.h"

#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace sim {

struct BenchServer::Connection {
    QTcpSocket *socket = nullptr;
    Endpoint endpoint = Endpoint::Prologix;
    std::unique_ptr<PrologixAdapterSim> adapter; // Prologix over TCP
    QByteArray pending;                          // a LAN line not ended yet
    int session = 0;                             // the LAN instrument's bench session
};

BenchServer::BenchServer(std::shared_ptr<InstrumentBench> bench, QObject *parent)
    : QObject(parent), bench_(std::move(bench)) {}

BenchServer::~BenchServer() {
    // The sockets go first, with their signals cut: a socket closing later, as a child, would
    // tell the connections that are gone by then.
    for (const auto &connection : connections_) {
        QObject::disconnect(connection->socket, nullptr, this, nullptr);
        delete connection->socket;
        if (connection->session != 0)
            bench_->close(connection->session);
        connection->adapter.reset();
    }
    connections_.clear();
    ptyAdapter_.reset();
    delete ptyNotifier_;
    if (ptyMaster_ >= 0)
        ::close(ptyMaster_);
    if (ptySlave_ >= 0)
        ::close(ptySlave_);
}

QString BenchServer::startPrologixPty() {
    if (::openpty(&ptyMaster_, &ptySlave_, nullptr, nullptr, nullptr) != 0)
        throw std::runtime_error(std::string("openpty: ") + std::strerror(errno));
    char name[128] = {};
    if (::ptsname_r(ptyMaster_, name, sizeof name) != 0)
        throw std::runtime_error(std::string("ptsname_r: ") + std::strerror(errno));
    termios tio{};
    ::tcgetattr(ptySlave_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(ptySlave_, TCSANOW, &tio);
    ::fcntl(ptyMaster_, F_SETFL, ::fcntl(ptyMaster_, F_GETFL) | O_NONBLOCK);
    ::fcntl(ptyMaster_, F_SETFD, FD_CLOEXEC);
    ::fcntl(ptySlave_, F_SETFD, FD_CLOEXEC);
    ptyAdapter_ = std::make_unique<PrologixAdapterSim>(*bench_);
    ptyNotifier_ = new QSocketNotifier(ptyMaster_, QSocketNotifier::Read);
    connect(ptyNotifier_, &QSocketNotifier::activated, this, [this] { readPty(); });
    return QString::fromLocal8Bit(name);
}

void BenchServer::readPty() {
    char buffer[4096];
    const ssize_t n = ::read(ptyMaster_, buffer, sizeof buffer);
    if (n <= 0)
        return;
    const QByteArray reply = ptyAdapter_->feed(QByteArray(buffer, int(n)));
    if (silent_)
        return;
    for (qsizetype done = 0; done < reply.size();) {
        const ssize_t w =
            ::write(ptyMaster_, reply.constData() + done, size_t(reply.size() - done));
        if (w < 0 && errno != EAGAIN && errno != EINTR)
            return;
        done += qMax<ssize_t>(0, w);
    }
}

quint16 BenchServer::listenPrologixTcp(quint16 port) {
    return listen(Endpoint::Prologix, port);
}

quint16 BenchServer::listenLanDaq(quint16 port) {
    return listen(Endpoint::LanDaq, port);
}

quint16 BenchServer::listenLanPc(quint16 port) {
    return listen(Endpoint::LanPc, port);
}

quint16 BenchServer::listen(Endpoint endpoint, quint16 port) {
    auto *server = new QTcpServer(this);
    if (!server->listen(QHostAddress::LocalHost, port))
        throw std::runtime_error("listen on 127.0.0.1: " + server->errorString().toStdString());
    connect(server, &QTcpServer::newConnection, this,
            [this, server, endpoint] { accept(server, endpoint); });
    return server->serverPort();
}

void BenchServer::accept(QTcpServer *server, Endpoint endpoint) {
    while (QTcpSocket *socket = server->nextPendingConnection()) {
        auto connection = std::make_unique<Connection>();
        connection->socket = socket;
        connection->endpoint = endpoint;
        socket->setParent(this);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        if (endpoint == Endpoint::Prologix) {
            connection->adapter = std::make_unique<PrologixAdapterSim>(*bench_);
        } else {
            const InstrumentBench::Config &config = bench_->config();
            connection->session = bench_->open(InstrumentBench::resourceName(
                endpoint == Endpoint::LanDaq ? config.daqUnitAddress
                                             : config.pressureControllerAddress));
        }
        Connection *raw = connection.get();
        connections_.push_back(std::move(connection));
        connect(socket, &QTcpSocket::readyRead, this, [this, raw] { readConnection(raw); });
        connect(socket, &QTcpSocket::disconnected, this, [this, raw] {
            for (auto it = connections_.begin(); it != connections_.end(); ++it) {
                if (it->get() != raw)
                    continue;
                if (raw->session != 0)
                    bench_->close(raw->session);
                raw->socket->deleteLater();
                connections_.erase(it);
                return;
            }
        });
    }
}

void BenchServer::readConnection(Connection *connection) {
    const QByteArray bytes = connection->socket->readAll();
    QByteArray reply;
    if (connection->adapter) {
        reply = connection->adapter->feed(bytes);
    } else {
        connection->pending += bytes;
        for (int end; (end = connection->pending.indexOf('\n')) >= 0;) {
            const QByteArray line = connection->pending.left(end);
            connection->pending.remove(0, end + 1);
            reply += lanLine(connection, line);
        }
    }
    // Sent at once, not on the event loop's next turn: a client in this thread may be waiting.
    if (!silent_ && !reply.isEmpty()) {
        connection->socket->write(reply);
        connection->socket->flush();
    }
}

// One SCPI line to the instrument; a query's reply goes back at once.
QByteArray BenchServer::lanLine(Connection *connection, const QByteArray &line) {
    QByteArray message = line;
    while (message.endsWith('\r'))
        message.chop(1);
    if (message.isEmpty() || connection->session == 0)
        return QByteArray();
    bench_->write(connection->session, message);
    return bench_->read(connection->session, 1 << 16);
}

} // namespace sim
