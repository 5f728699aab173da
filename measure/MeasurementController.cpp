#include "measure/MeasurementController.h"

#include "app/TformMain.h"
#include "measure/ChartConfiguration.h"
#include "measure/EventLog.h"
#include "measure/StartQueries.h"
#include "measure/ValueDisplay.h"
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

enum : int {
    kMsgStartMeasure = 34,
    kMsgStopMeasure = 43,
    kMsgConnected = 44,
    kMsgDisconnecting = 45,
    kMsgDisconnected = 46,
    kMsgSeconds = 98,
};

const char *const kUnitLists[3] = {"UnitP", "UnitIN1", "UnitIN2"};
const char *const kValueLabels[3] = {"IntDruck", "Temperatur", "Feuchte"};
const QString kIdleTitle = QStringLiteral("ZEL 40 / ZEL 80");
const QString kPressureTitle = QStringLiteral("ZEL -   ");

} // namespace

MeasurementController::ExchangeScope::ExchangeScope(MeasurementController &controller)
    : controller_(controller), outer_(!controller.exchangeUnderWay_) {
    controller_.exchangeUnderWay_ = true;
}

MeasurementController::ExchangeScope::~ExchangeScope() {
    if (outer_)
        controller_.exchangeUnderWay_ = false;
}

MeasurementController::MeasurementController(TformMain &window)
    : window_(window), charts_(window, window.state),
      log_(window.ctl<QListWidget>(QStringLiteral("LLog"))) {}

void MeasurementController::startOrStop() {
    const auto *button = window_.ctl<QPushButton>(QStringLiteral("ButtonConnection"));
    if (button->text() == window_.msg(kMsgStartMeasure))
        start();
    else
        stop();
}

int MeasurementController::interval() const {
    return window_.ctl<QSpinBox>(QStringLiteral("Messintervall"))->value();
}

void MeasurementController::start() {
    window_.state.abortFlag = false;
    window_.setMeasuringLock(true);
    window_.Progress->setMaximum(interval());
    window_.openPort();
    window_.ctl<QPushButton>(QStringLiteral("ButtonConnection"))
        ->setText(window_.msg(kMsgStopMeasure));
    window_.setStatus(window_.msg(kMsgConnected) + window_.portSuffix());
    tickCounter_ = 1;
    historyIndex_ = 0;
    for (ChannelHistory &history : histories_)
        history.clearStates();

    {
        ExchangeScope scope(*this);
        configured_ = StartQueries(window_, window_.settings(), [this](const ParamDef &row) {
                          window_.settingArrived(row);
                      }).run();
    }
    current_ = configured_;

    log_->clear();
    window_.TimerMessung->start();
    window_.state.measurementRunning = true;
    window_.DiagrammKonfiguration();
}

void MeasurementController::stop() {
    window_.state.measurementRunning = false;
    window_.TimerMessung->stop();
    window_.state.abortFlag = true;
    window_.setStatus(window_.msg(kMsgDisconnecting));
    // A poll waiting for its reply still needs the port; it ends with the user abort, and
    // the failure handling closes the port.
    if (!exchangeUnderWay_)
        window_.closePort();
    window_.ctl<QPushButton>(QStringLiteral("ButtonConnection"))
        ->setText(window_.msg(kMsgStartMeasure));
    window_.setStatus(window_.msg(kMsgDisconnected));
    window_.setApplicationTitle(kIdleTitle);
    window_.Progress->setValue(0);
    window_.setMeasuringLock(false);
}

void MeasurementController::stopAfterFailure() {
    window_.TimerMessung->stop();
    window_.state.measurementRunning = false;
    window_.ctl<QPushButton>(QStringLiteral("ButtonConnection"))
        ->setText(window_.msg(kMsgStartMeasure));
}

void MeasurementController::tick() {
    window_.TimerMessung->stop();
    if (window_.state.abortFlag) {
        window_.closePort();
        return;
    }
    const UnitSelection units = ChartConfiguration::currentUnits(window_.settings());
    std::array<QString, PolledChannels::kChannelCount> texts;
    {
        ExchangeScope scope(*this);
        for (int channel = 0; channel < PolledChannels::kChannelCount; ++channel) {
            if (PolledChannels::polled(channel, units))
                texts[channel] = poll(channel, units);
        }
    }
    if (tickCounter_ >= interval()) {
        tickCounter_ = 0;
        appendLogLine(texts);
        updateCharts();
        historyIndex_ = ChannelHistory::advance(historyIndex_,
                                                {&histories_[0], &histories_[1], &histories_[2]});
    }
    window_.Progress->setValue(tickCounter_);
    ++tickCounter_;
    window_.TimerMessung->start();
}

QString MeasurementController::poll(int channel, const UnitSelection &units) {
    const int p = ChannelHistory::clampIndex(historyIndex_);
    ChannelHistory &history = histories_[channel];
    const QString reply = window_.SendToCom(PolledChannels::command(channel));

    ValueDisplay::Format format;
    format.localSeparator = window_.state.decimalSeparator;
    format.language = window_.state.language;
    format.hecto = PolledChannels::hectoUnit(channel, units);
    format.unit = unitText(channel);
    const double fallback = p > 0 ? history.at(p - 1).value : current_[channel].lower;
    const PolledValue polled =
        ValueDisplay::interpret(reply, PolledChannels::name(channel), fallback, format);
    if (polled.state == PointState::Value)
        history.setValue(p, polled.value);
    else
        history.setState(p, polled.state);

    window_.ctl<QLabel>(QString::fromLatin1(kValueLabels[channel]))->setText(polled.text);
    if (channel == kChannelPressure)
        window_.setApplicationTitle(kPressureTitle + polled.text);
    return polled.text;
}

QString MeasurementController::unitText(int channel) const {
    return window_.ctl<QComboBox>(QString::fromLatin1(kUnitLists[channel]))->currentText();
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
    const UnitSelection units = ChartConfiguration::currentUnits(window_.settings());
    for (int chart = 0; chart < ChartPanel::kChartCount; ++chart) {
        if (!PolledChannels::polled(chart, units)) {
            charts_.showUnused(chart);
            continue;
        }
        current_[chart] =
            charts_.showHistory(chart, histories_[chart], historyIndex_, configured_[chart]);
    }
}

void MeasurementController::drawEmptyCharts() {
    charts_.drawEmptyCharts();
}

void MeasurementController::intervalChanged() {
    const int value = interval();
    const QString caption =
        QString::number(30 * value) + QLatin1Char(' ') + window_.msg(kMsgSeconds);
    for (const char *name : {"LabelxAchse_P", "LabelxAchse_T", "LabelxAchse_F"})
        window_.ctl<QLabel>(QString::fromLatin1(name))->setText(caption);
    window_.Progress->setMaximum(value);
    historyIndex_ = 0;
    tickCounter_ = value;
    log_->clear();
}
