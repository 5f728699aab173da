#pragma once

#include "app/TformMain.h"
#include "sim/InstrumentBench.h"
#include "sim/ModelCoupling.h"
#include "teach/ui/TformOptions.h"
#include "tests/support/ModelSerialDriver.h"
#include "tests/support/TestPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <stdexcept>

// A production window whose serial line is an in-process simulated device (with modem lines)
// and whose simulated bench instruments are coupled to that device. Every wait is shortened by
// the same factor, the controller's settling time included.
class TeachRunFixture {
public:
    static inline const QStringList AllGroups = {"CheckBox_intDruck",     "CheckBox_OUT_Strom",
                                                 "CheckBox_OUT_Spannung", "CheckBox_IN1_Strom",
                                                 "CheckBox_IN1_Spannung", "CheckBox_IN2_Strom",
                                                 "CheckBox_IN2_Spannung"};

    struct Config {
        int rangeIndex = 0; // MeasRange1 (and the device's variant); -1 selects nothing
        double waitScale = 0.002;
        QString backend = QStringLiteral("simulated");
        QString visaLibrary;
        bool withBench = true;
        // Safety net: a run that loops on the bench this long is aborted and counted.
        int benchLimit = 20000;
    };

    // What the device saw with each command: the modem lines, how far the bench log had got,
    // and the pressure applied to the device.
    struct Seen {
        QString command;
        sim::ModemLines lines;
        int benchLog;
        double appliedPa;
    };

    TeachRunFixture() : TeachRunFixture(Config()) {}
    explicit TeachRunFixture(const Config &config)
        : line(std::make_shared<ModelSerialDriver::Line>(config.rangeIndex == 1 ? 1 : 0)),
          prompts(std::make_shared<TestPrompts>()), config_(config) {
        buildBench();
        writeSettings();
        TformMain::Options options;
        options.executableDir = dir_.path();
        options.replyTimeoutMs = 300;
        options.waitScale = config_.waitScale;
        options.prompts = prompts;
        options.driver = std::make_unique<ModelSerialDriver>(line);
        options.production = true;
        if (config_.withBench)
            options.instrumentBench = bench;
        window_ = std::make_unique<TformMain>(std::move(options));
        window_->show();
        QObject::connect(window_->Status, &QStatusBar::messageChanged, [this](const QString &t) {
            if (!t.isEmpty())
                statuses << t;
        });
        ctl<QComboBox>("MeasRange1")->setCurrentIndex(config_.rangeIndex);
        watchdog_.setInterval(5);
        QObject::connect(&watchdog_, &QTimer::timeout, [this] {
            if (bench->log().size() > config_.benchLimit && !watchdogFired) {
                watchdogFired = true;
                window_->runner().requestAbort();
            }
        });
        watchdog_.start();
    }

    ~TeachRunFixture() {
        watchdog_.stop();
        window_.reset();
    }

    TformMain &window() { return *window_; }
    QString dir() const { return dir_.path(); }
    template <class T> T *ctl(const char *name) {
        return window_->ctl<T>(QString::fromLatin1(name));
    }

    // Checks exactly the named group boxes; the factory-state box as given.
    void chooseGroups(const QStringList &groups, bool factoryState = true) {
        for (const QString &box : AllGroups)
            window_->ctl<QCheckBox>(box)->setChecked(groups.contains(box));
        ctl<QCheckBox>("CheckBox_ALZ_vor_Teachen")->setChecked(factoryState);
    }
    void setOption(const char *name, bool on) {
        window_->formOptions()->findChild<QCheckBox *>(QString::fromLatin1(name))->setChecked(on);
    }
    void click(const char *name) {
        QPushButton *button = ctl<QPushButton>(name);
        if (!button->isEnabled())
            throw std::logic_error(std::string("button disabled: ") + name);
        button->click();
    }
    QString label(const QString &name) { return window_->ctl<QLabel>(name)->text(); }
    bool labelEnabled(const QString &name) { return window_->ctl<QLabel>(name)->isEnabled(); }
    QString status() const { return window_->Status->currentMessage(); }

    // What is still locked after a run (empty when the window is ready for the next action).
    QString lockedControls() {
        QStringList locked;
        for (const char *name :
             {"ButtonTeach", "ButtonLoadTeach", "ButtonSendTeach", "ButtonLaden", "ButtonSenden",
              "ButtonWE100Pa", "ButtonWE250Pa", "SkalierungswerteSheet", "WarnwerteSheet",
              "EinstellungenSheet", "StatusSheet", "TeachZELSheet"}) {
            if (!window_->ctl<QWidget>(QString::fromLatin1(name))->isEnabled())
                locked << name;
        }
        for (const char *name : {"ButtonAbortTeach", "ButtonAbortConfig"}) {
            if (window_->ctl<QWidget>(QString::fromLatin1(name))->isEnabled())
                locked << QStringLiteral("%1 enabled").arg(QLatin1String(name));
        }
        if (!window_->MEinstellungen->isEnabled() || !window_->MExtras->isEnabled())
            locked << "menus";
        if (line->open)
            locked << "port open";
        return locked.join(QLatin1Char(' '));
    }

    // The text of a bench log entry ("3> SOUR:VOLT ..."), without its session.
    static QString benchText(const QByteArray &entry) {
        const int mark = entry.indexOf("> ");
        return mark < 0 ? QString() : QString::fromLatin1(entry.mid(mark + 2));
    }
    // The bench writes between two device commands of `seen` (to the end for -1).
    QStringList benchBetween(int fromSeen, int toSeen) const {
        const int from = fromSeen < 0 ? 0 : seen.at(fromSeen).benchLog;
        const int to = toSeen < 0 ? int(bench->log().size()) : seen.at(toSeen).benchLog;
        QStringList texts;
        for (int i = from; i < to; ++i) {
            const QString text = benchText(bench->log().at(i));
            if (!text.isNull())
                texts << text;
        }
        return texts;
    }
    // Multiplexer codes the data-acquisition unit was sent, in order.
    QList<int> daqUnitCodes() const {
        QList<int> codes;
        for (const QByteArray &entry : bench->daqUnit().log()) {
            if (entry.startsWith("SOUR:DIG:DATA "))
                codes << entry.mid(14, entry.indexOf(',') - 14).toInt();
        }
        return codes;
    }
    int seenIndex(const QString &command, int from = 0) const {
        for (int i = from; i < seen.size(); ++i) {
            if (seen.at(i).command == command)
                return i;
        }
        return -1;
    }

    std::shared_ptr<ModelSerialDriver::Line> line;
    std::shared_ptr<sim::ModelCoupling> coupling;
    std::shared_ptr<sim::InstrumentBench> bench;
    std::shared_ptr<TestPrompts> prompts;
    QStringList statuses; // every status text shown, in order
    QList<Seen> seen;
    bool watchdogFired = false;

private:
    void buildBench() {
        std::shared_ptr<ModelSerialDriver::Line> device = line;
        coupling = std::make_shared<sim::ModelCoupling>(
            [device](const std::function<void(sim::DeviceModel &)> &fn) { fn(device->model); },
            [device] { return device->lines; });
        std::weak_ptr<sim::ModelCoupling> weak = coupling;
        line->linesChanged = [weak] {
            if (auto c = weak.lock())
                c->linesChanged();
        };
        sim::InstrumentBench::Config benchConfig;
        benchConfig.settlingMs =
            std::int64_t(sim::PressureControllerSim::DefaultSettlingMs * config_.waitScale);
        bench = std::make_shared<sim::InstrumentBench>(coupling, benchConfig);
        line->onCommand = [this](const QString &command) {
            seen.append(
                {command, line->lines, int(bench->log().size()), line->model.appliedPressure()});
        };
    }

    void writeSettings() {
        QFile file(dir_.filePath(QStringLiteral("ZEL ToolConfig.ini")));
        if (!file.open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot write the test's tool settings file");
        const sim::DaqUnitSim::Wiring w;
        QByteArray text =
            "[IEEE]\r\nGPIB1=1\r\nGPIB2=9\r\nBackend=" + config_.backend.toUtf8() + "\r\n";
        if (!config_.visaLibrary.isEmpty())
            text += "VisaLibrary=" + config_.visaLibrary.toUtf8() + "\r\n";
        text += "[Agilent]\r\nAgilent_OUTD_Spg=" + w.outputVoltage +
                "\r\nAgilent_OUTD_Strom=" + w.outputCurrent +
                "\r\nAgilent_IN1_2_Multiplexer=" + w.multiplexer +
                "\r\nAgilent_IN1_2_Spg=" + w.inputVoltageSource +
                "\r\nAgilent_IN1_2_Spgmessung=" + w.inputVoltageMeasure +
                "\r\nAgilent_IN1_2_Strom=" + w.inputCurrentSource +
                "\r\nAgilent_IN1_2_Strommessung=" + w.inputCurrentMeasure + "\r\n";
        file.write(text);
    }

    Config config_;
    QTemporaryDir dir_;
    std::unique_ptr<TformMain> window_;
    QTimer watchdog_;
};
