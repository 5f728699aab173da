#include "measure/ui/ChartPanel.h"

#include "base/SharedState.h"
#include "base/ui/Controls.h"
#include "measure/ui/MeasurePageBuilder.h"

#include <QLabel>
#include <QPixmap>

ChartPanel::ChartPanel(QWidget &window, const SharedState &state) : state_(state) {
    for (int c = 0; c < kChartCount; ++c) {
        const QString s = QString::fromLatin1(MeasurePageBuilder::suffix(c));
        imageLabels_[c] = findControl<QLabel>(window, QStringLiteral("Schaubild") + s);
        maxLabels_[c] = findControl<QLabel>(window, QStringLiteral("max") + s);
        minLabels_[c] = findControl<QLabel>(window, QStringLiteral("min") + s);
        for (int j = 0; j < ChartMath::kMaxGridLines; ++j)
            gridLabels_[c][j] =
                findControl<QLabel>(window, QStringLiteral("Hilfsgitterlinie%1_%2").arg(s).arg(j));
        images_[c] = ChartPainter::createImage();
    }
}

void ChartPanel::drawEmptyCharts() {
    for (int c = 0; c < kChartCount; ++c) {
        ChartPainter::drawEmptyChart(images_[c]);
        present(c);
    }
}

void ChartPanel::showUnused(int chart) {
    ChartPainter::drawEmptyChart(images_.at(chart));
    present(chart);
    for (QLabel *label : gridLabels_[chart])
        label->hide();
}

ValueRange ChartPanel::showHistory(int chart, ChannelHistory &history, int historyIndex,
                                   const ValueRange &configured) {
    const ChartUpdate update =
        ChartPainter::drawChart(images_.at(chart), history, historyIndex, configured,
                                state_.decimalSeparator, state_.language);
    present(chart);
    maxLabels_[chart]->clear();
    minLabels_[chart]->clear();
    for (int j = 0; j < ChartMath::kMaxGridLines; ++j) {
        QLabel *label = gridLabels_[chart][j];
        if (j >= update.visibleLabels) {
            label->hide();
            continue;
        }
        label->move(label->x(), update.labels[j].top);
        label->setText(update.labels[j].text);
        label->show();
    }
    return update.range;
}

void ChartPanel::present(int chart) {
    imageLabels_[chart]->setPixmap(QPixmap::fromImage(images_[chart]));
}
