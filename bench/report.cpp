// Commissioning report benchmark: the time from the data being in (all settings in the model, a
// 10-reading live check) to the finished PDF in memory, the first time in the process (fonts
// are looked up then) and again, and the size of that PDF, in each language; and for a long
// report (fields as long as a command line allows) how long a stop request can wait: the time
// to the first look for one, and the longest time between two.
// Usage: bench_report [renders (20)]
#include "params/ConfigFile.h"
#include "params/SettingsModel.h"
#include "report/ReportBuilder.h"
#include "report/ReportWriter.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Every setting holds a value, every list its second item.
void fill(SettingsModel &model) {
    ConfigValues values;
    QRandomGenerator random(18);
    for (const ParamDef *row : ConfigFile::rows()) {
        const QString name = QString::fromLatin1(row->name);
        if (ConfigFile::isText(*row))
            values.texts.insert(name, QString::number(random.bounded(1000)));
        else
            values.choices.insert(name, 1);
    }
    ConfigFile::applyTo(model, values);
    model.setText(*ParamTable::find(QStringLiteral("DeviceAdr")), QStringLiteral("1"));
}

LiveCheckResult tenReadings() {
    LiveCheckResult check;
    check.seconds = 10;
    check.intervalMs = 1000;
    check.readings = 10;
    QRandomGenerator random(7);
    const char *captions[] = {"int. Druck", "Temperatur", "Feuchte"};
    const char *units[] = {"Pa", "°C", "%rF"};
    for (int c = 0; c < 3; ++c) {
        ChannelCheck &channel = check.channels[std::size_t(c)];
        channel.polled = true;
        channel.caption = QString::fromUtf8(captions[c]);
        channel.unit = QString::fromUtf8(units[c]);
        channel.configured = {-250, 250};
        for (int i = 0; i < check.readings; ++i)
            channel.add({random.bounded(40.0) - 20.0, PointState::Value});
    }
    return check;
}

CommissioningReport report(const SettingsModel &model, int language) {
    CommissioningReport r = ReportBuilder::fromSettings(model, language);
    r.fields = {QStringLiteral("A. Smith"), QStringLiteral("Plant 4, clean room 2"),
                QStringLiteral("AHU 4 filter stage"),
                QStringLiteral("Filter replaced before commissioning.\nHoses checked.")};
    r.port = QStringLiteral("COM1 (/dev/ttyUSB0)");
    r.variant = DeviceVariant::WithRecalibration;
    r.check = tenReadings();
    return r;
}

double renderMs(const SettingsModel &model, int language, int *pages, qsizetype *bytes) {
    QElapsedTimer clock;
    clock.start();
    const ReportWriter::Result result = ReportWriter::render(report(model, language));
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    *pages = result.pages;
    *bytes = result.pdf.size();
    return ms;
}

// A report with three fields as long as one command-line argument may be (128 KiB).
void stopLatency(const SettingsModel &model) {
    QString remarks;
    for (int line = 0; remarks.size() < 120000; ++line)
        remarks += QStringLiteral("line %1 of the remarks, with some words to fill it\n").arg(line);
    CommissioningReport r = report(model, 1);
    r.fields = {remarks, remarks, QStringLiteral("AHU 4"), remarks};
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, first = -1, longest = 0;
    const ReportWriter::Result result = ReportWriter::render(r, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (first < 0)
            first = now;
        else
            longest = std::max(longest, now - last);
        last = now;
        return false;
    });
    std::printf("long report (%d pages, %.0f ms): first look for a stop after %.1f ms, longest "
                "time between two looks %.2f ms\n",
                result.pages, double(clock.nsecsElapsed()) / 1e6, double(first) / 1e6,
                double(std::max(longest, clock.nsecsElapsed() - last)) / 1e6);
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int renders = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    SettingsModel model;
    fill(model);

    int pages = 0;
    qsizetype bytes = 0;
    const double first = renderMs(model, 0, &pages, &bytes);
    std::printf("first report in the process: %.1f ms\n", first);
    for (int language = 0; language < 3; ++language) {
        std::vector<double> times;
        for (int i = 0; i < renders; ++i)
            times.push_back(renderMs(model, language, &pages, &bytes));
        std::sort(times.begin(), times.end());
        std::printf("language %d: median %.1f ms, slowest %.1f ms, %d pages, %lld bytes\n",
                    language, times[times.size() / 2], times.back(), pages,
                    static_cast<long long>(bytes));
    }
    stopLatency(model);
    return 0;
}
