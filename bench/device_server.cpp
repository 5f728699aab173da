// Device-server benchmark: the port search over 16 pseudo-terminals of which 2 answer (goal:
// under 400 ms), and a load ("zelctl read", whole process) through ser2net over rfc2217:// and
// tcp:// as a ratio to the same load over the pseudo-terminal, alternated in the same run
// (goal: at most 1.02). Needs ser2net on the PATH or in /usr/sbin.
// Usage: bench_deviceserver [rounds]
#include "link/PortProbe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

QString startSim(QProcess &sim, const QStringList &options) {
    sim.start(QStringLiteral(ZELSIM_PATH),
              QStringList{"--pty", "--no-noise", "--wire-time"} + options);
    if (!sim.waitForStarted(5000))
        return QString();
    while (!sim.canReadLine()) {
        if (!sim.waitForReadyRead(5000))
            return QString();
    }
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double loadMs(const QString &port, const QString &file) {
    QProcess zelctl;
    QElapsedTimer clock;
    clock.start();
    zelctl.start(QStringLiteral(ZELCTL_PATH), {"--port", port, "read", "-o", file});
    zelctl.waitForFinished(120000);
    const double ms = clock.nsecsElapsed() / 1e6;
    if (zelctl.exitCode() != 0) {
        std::fprintf(stderr, "load over %s failed: %s\n", qPrintable(port),
                     zelctl.readAllStandardError().constData());
        return -1;
    }
    return ms;
}

bool startServer(QProcess &server, const QString &ser2net, const QString &config,
                 const QString &accepter, quint16 port, const QString &pty) {
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(QStringLiteral("connection: &zel\n  accepter: %1\n  connector: "
                              "serialdev,%2,9600n81,local\n  options:\n    chardelay: false\n")
                   .arg(accepter, pty)
                   .toUtf8());
    file.close();
    server.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    server.start(ser2net, {"-n", "-d", "-c", config, "-P", config + ".pid"});
    for (int attempt = 0; attempt < 100; ++attempt) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(100))
            return true;
        QThread::msleep(50);
    }
    return false;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    QTemporaryDir dir;

    // The port search: 2 answering, 14 silent.
    std::vector<std::unique_ptr<QProcess>> sims;
    QStringList ptys;
    for (int i = 0; i < 16; ++i) {
        sims.push_back(std::make_unique<QProcess>());
        ptys.append(
            startSim(*sims.back(), i < 2 ? QStringList{} : QStringList{"--silent-from", "1"}));
    }
    std::vector<double> searches;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        const auto found = PortProbe::search(ptys, LineSettings());
        searches.push_back(clock.nsecsElapsed() / 1e6);
        const int answered = int(std::count_if(
            found.begin(), found.end(), [](const PortProbeResult &r) { return r.answered; }));
        if (answered != 2)
            std::fprintf(stderr, "search: %d answered instead of 2\n", answered);
    }
    std::printf("port search, 16 pseudo-terminals (2 answering): median %.1f ms of %d (goal < 400 "
                "ms)\n",
                median(searches), rounds);
    for (auto &sim : sims) {
        sim->terminate();
        sim->waitForFinished(5000);
    }

    // A load through ser2net against the same load on the pseudo-terminal.
    const QString ser2net = QStandardPaths::findExecutable(
        QStringLiteral("ser2net"), {"/usr/sbin", "/usr/local/sbin", "/usr/bin"});
    if (ser2net.isEmpty()) {
        std::printf("ser2net not installed: no device-server figures\n");
        return 0;
    }
    QProcess sim;
    const QString pty = startSim(sim, {});
    for (const bool rfc2217 : {true, false}) {
        QTcpServer free;
        free.listen(QHostAddress::LocalHost);
        const quint16 port = free.serverPort();
        free.close();
        QProcess server;
        const QString accepter = (rfc2217 ? QStringLiteral("telnet(rfc2217),tcp,127.0.0.1,%1")
                                          : QStringLiteral("tcp,127.0.0.1,%1"))
                                     .arg(port);
        if (!startServer(server, ser2net, dir.filePath("ser2net.yaml"), accepter, port, pty)) {
            std::printf("ser2net did not start\n");
            return 1;
        }
        const QString address =
            QStringLiteral("%1://127.0.0.1:%2").arg(rfc2217 ? "rfc2217" : "tcp").arg(port);
        std::vector<double> direct, served;
        for (int round = 0; round < rounds; ++round) {
            direct.push_back(loadMs(pty, dir.filePath("direct.zel")));
            served.push_back(loadMs(address, dir.filePath("served.zel")));
        }
        std::printf("load over %-8s median %7.1f ms, pseudo-terminal %7.1f ms, ratio %.4f (goal "
                    "<= 1.02)\n",
                    rfc2217 ? "rfc2217" : "tcp", median(served), median(direct),
                    median(served) / median(direct));
        server.terminate();
        server.waitForFinished(5000);
    }
    sim.terminate();
    sim.waitForFinished(5000);
    return 0;
}
