// Cost of one chart update of all three charts as the measurement tick runs it: range, grid,
// drawing into the three images, the grid labels and the images shown in their labels.
// Usage: bench_chart_update [updates (2000)]
#include "app/MeasurementController.h"
#include "app/TformMain.h"
#include "base/UserPrompts.h"
#include "measure/ChartPainter.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void print(const char *what, std::vector<double> micros) {
    std::sort(micros.begin(), micros.end());
    double sum = 0;
    for (double m : micros)
        sum += m;
    const std::size_t n = micros.size();
    std::printf("%s: mean %.1f us, median %.1f us, 99th percentile %.1f us\n", what, sum / n,
                micros[n / 2], micros[n * 99 / 100]);
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int updates = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;

    QTemporaryDir dir;
    TformMain::Options options;
    options.executableDir = dir.path();
    options.prompts = std::make_shared<UserPrompts>();
    TformMain window(std::move(options));
    window.show();
    for (const char *name : {"ExtPress", "UnitP", "UnitIN1", "UnitIN2"})
        window.findChild<QComboBox *>(QString::fromLatin1(name))->setCurrentIndex(0);

    MeasurementController &measurement = window.measurement();
    QRandomGenerator random(7);
    for (int channel = 0; channel < 3; ++channel) {
        for (int i = 0; i < ChannelHistory::kPointCount; ++i)
            measurement.history(channel).setValue(i, random.bounded(500.0) - 250.0);
    }
    measurement.setHistoryIndex(ChannelHistory::kLastIndex);

    std::vector<double> window3;
    std::vector<double> painting3;
    QElapsedTimer clock;
    QImage image = ChartPainter::createImage();
    for (int k = 0; k < updates; ++k) {
        // A new newest point each time, as the tick gives one.
        measurement.history(k % 3).setValue(30, random.bounded(500.0) - 250.0);
        clock.start();
        measurement.updateCharts();
        window3.push_back(clock.nsecsElapsed() / 1e3);
        clock.start();
        for (int channel = 0; channel < 3; ++channel) {
            ChannelHistory copy = measurement.history(channel);
            ChartPainter::drawChart(image, copy, 30, {-250, 250}, QLatin1Char(','), 0);
        }
        painting3.push_back(clock.nsecsElapsed() / 1e3);
    }
    std::printf("one update of all three charts, %d updates, 31 points each:\n", updates);
    print("  through the window (images, labels)", window3);
    print("  drawing the three images only      ", painting3);
    std::printf("  goal: under 2000 us\n");
    return 0;
}
