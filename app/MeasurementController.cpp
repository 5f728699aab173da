#include "app/MeasurementController.h"

#include "app/TformMain.h"
#include "measure/EventLog.h"
#include "measure/ui/ChartConfiguration.h"
#include "params/SettingsModel.h"

#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

namespace {

const char *const kValueLabels[3] = {"IntDruck", "Temperatur", "Feuchte"};
const QString kIdleTitle = QStringLiteral("ZEL 40 / ZEL 80");
const QString kPressureTitle = QStringLiteral("ZEL -   ");

} // namespace

MeasurementController::MeasurementController(TformMain &window)
    : window_(window), charts_(window, window.state),
      log_(window.ctl<QListWidget>(QStringLiteral("LLog"))),
      interval_(window.ctl<QSpinBox>(QStringLiteral("Messintervall"))),
      connection_(window.ctl<QPushButton>(QStringLiteral("ButtonConnection"))),
      poller_(window.runner(), window.settings()) {
    for (int channel = 0; channel < PolledChannels::kChannelCount; ++channel)
        valueLabels_[channel] = window.ctl<QLabel>(QString::fromLatin1(kValueLabels[channel]));
}

void MeasurementController::startOrStop() {
    if (!window_.measurementModeRuns())
        start();
    else
        stop();
}

int MeasurementController::interval() const {
    return interval_->value();
}

void MeasurementController::start() {
    window_.runner().clearAbort();
    window_.setMeasuringLock(true);
    window_.Progress->setMaximum(interval());
    window_.openPort();
    connection_->setText(window_.msg(CatalogueEntry::StopMeasure));
    window_.setStatus(window_.msg(CatalogueEntry::Connected) + window_.portSuffix());
    tickCounter_ = 1;
    poller_.start([this](const ParamDef &row) { window_.settingArrived(row); });

    log_->clear();
    window_.TimerMessung->start();
    window_.state.measurementRunning = true;
    window_.DiagrammKonfiguration();
}

void MeasurementController::stop() {
    window_.state.measurementRunning = false;
    window_.TimerMessung->stop();
    window_.runner().requestAbort();
    window_.setStatus(window_.msg(CatalogueEntry::Disconnecting));
    // The stop can only come while the window waits on the device or is idle. A poll, or a
    // zeroing, waiting for its reply still needs the port: it ends with the user abort, and
    // the failure handling closes the port.
    if (!window_.runner().waiting())
        window_.closePort();
    connection_->setText(window_.msg(CatalogueEntry::StartMeasure));
    window_.setStatus(window_.msg(CatalogueEntry::Disconnected));
    window_.setApplicationTitle(kIdleTitle);
    window_.Progress->setValue(0);
    window_.setMeasuringLock(false);
}

void MeasurementController::stopAfterFailure() {
    window_.TimerMessung->stop();
    window_.state.measurementRunning = false;
    connection_->setText(window_.msg(CatalogueEntry::StartMeasure));
}

void MeasurementController::tick() {
    window_.TimerMessung->stop();
    if (window_.runner().abortRequested()) {
        window_.closePort();
        return;
    }
    const MeasurementPoller::Texts texts = poller_.poll([this](int channel, const QString &text) {
        valueLabels_[channel]->setText(text);
        if (channel == kChannelPressure)
            window_.setApplicationTitle(kPressureTitle + text);
    });
    if (tickCounter_ >= interval()) {
        tickCounter_ = 0;
        appendLogLine(texts);
        updateCharts();
        poller_.advance();
    }
    window_.Progress->setValue(tickCounter_);
    ++tickCounter_;
    window_.TimerMessung->start();
}

void MeasurementController::appendLogLine(
    const std::array<QString, PolledChannels::kChannelCount> &texts) {
    QStringList fields;
    for (const QString &text : texts) {
        if (!text.isEmpty())
            fields.append(text);
    }
    if (fields.isEmpty())
        return;
    log_->addItem(EventLog::line(QDateTime::currentDateTime(), QLocale::system(), fields));
    log_->scrollToItem(log_->item(log_->count() - 1), QAbstractItemView::PositionAtTop);
}

void MeasurementController::updateCharts() {
    const UnitSelection units = poller_.units();
    for (int chart = 0; chart < ChartPanel::kChartCount; ++chart) {
        if (!PolledChannels::polled(chart, units)) {
            charts_.showUnused(chart);
            continue;
        }
        poller_.setCurrentRange(chart, charts_.showHistory(chart, poller_.history(chart),
                                                           poller_.historyIndex(),
                                                           poller_.configuredRange(chart)));
    }
}

void MeasurementController::drawEmptyCharts() {
    charts_.drawEmptyCharts();
}

void MeasurementController::intervalChanged() {
    const int value = interval();
    const QString caption =
        QString::number(30 * value) + QLatin1Char(' ') + window_.msg(CatalogueEntry::SecondsUnit);
    for (const char *name : {"LabelxAchse_P", "LabelxAchse_T", "LabelxAchse_F"})
        window_.ctl<QLabel>(QString::fromLatin1(name))->setText(caption);
    window_.Progress->setMaximum(value);
    poller_.setHistoryIndex(0);
    tickCounter_ = value;
    log_->clear();
}
