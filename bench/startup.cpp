// Start-up benchmark: wall time from starting the zeltool process until its window is shown
// (offscreen), and its resident memory at that moment. Usage: bench_startup [path-to-zeltool]
// [runs]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QString tool = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QCoreApplication::applicationDirPath() + "/../zeltool";
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 10;
    std::vector<double> times;
    QString rss;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        process.start(tool, {QStringLiteral("--measure-startup")});
        if (!process.waitForStarted(10000)) {
            std::fprintf(stderr, "cannot start %s\n", qPrintable(tool));
            return 1;
        }
        while (!process.canReadLine() && process.waitForReadyRead(10000)) {
        }
        times.push_back(clock.nsecsElapsed() / 1e6);
        rss = QString::fromLatin1(process.readLine()).trimmed();
        process.waitForFinished(10000);
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "start-up to window shown: median %.1f ms, min %.1f ms, max %.1f ms over %d runs; %s\n",
        times[times.size() / 2], times.front(), times.back(), runs, qPrintable(rss));
    return 0;
}
