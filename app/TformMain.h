#pragma once

// app/: the window front end: start-up, the main window with its handlers, the binder between
// the settings pages and the model, the measurement and teach controllers, the language switch,
// the demo device and bench. The only folder that sees every other one.

#include "base/SharedState.h"
#include "base/UserPrompts.h"
#include "base/ui/Controls.h"
#include "link/DeviceAction.h"
#include "link/DeviceRunner.h"
#include "link/TComPort.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTimer;
struct ParamDef;
class SerialDriver;
class SettingsBinder;
class SettingsModel;
class SettingsTransfer;
class TeachValueModel;
class TformOptions;
class TformBerFaktor;
class Waits;
class TFormKalibrieren;
class TFormKalibrierungLoeschen;
class MeasurementController;
class TeachController;
namespace sim {
class InstrumentBench;
}

// The main window: owns the widgets, the serial port, the timers and the shared state, and
// keeps the handler names of the design. Each handler is short; the logic of a subsystem
// lives in the classes of its folder.
class TformMain : public QMainWindow, private DeviceRunner::Feedback {
    Q_OBJECT
public:
    struct Options {
        QString executableDir;                // where "ZEL ToolConfig.ini" is looked for
        int replyTimeoutMs = 50000;           // tests shorten the reply wait
        double waitScale = 1.0;               // tests shorten every Delay
        std::shared_ptr<UserPrompts> prompts; // message boxes, file and modal dialogs
        std::unique_ptr<SerialDriver> driver; // the serial line (a test double in tests)
        bool production = false;              // shows the teach features
        QString simulatedDevice;              // shown in the title when a demo device is bound
        QString portDeviceOverride; // device bound to the configured COM name, this run only
        // The bench the "simulated" instrument backend drives (coupled to a device by its owner).
        std::shared_ptr<sim::InstrumentBench> instrumentBench;
        // Set in a demo: the bench above is used whatever the tool settings file selects, at
        // these addresses and this wiring (for this run only).
        std::optional<GpibSettings> demoInstruments;
    };

    TformMain();
    explicit TformMain(Options options);
    ~TformMain() override;

    SharedState state;

    // --- services used by every subsystem ---
    QString msg(CatalogueEntry entry) const;
    QString SendToCom(const QString &command);
    QString SendSpToCom(const QString &command);
    // SendToCom whose resends on "Err" are bounded, for actions that offer no abort control.
    QString SendToComUnabortable(const QString &command);
    void Delay(int ms);
    void setStatus(const QString &text);
    QString statusText() const;
    QString portSuffix() const; // " (COM1)"
    void openPort();            // empty event set, open, event character CR
    void closePort();

    // The operation runner of the window: the port, the waits, the abort request and the mode
    // of the running device action. The device logic gets it as its session.
    DeviceRunner &runner() { return *runner_; }

    // The 50 settings the settings pages show and edit.
    SettingsModel &settings() { return *settings_; }
    // The 61 teach values the teach page shows.
    TeachValueModel &teachValues() { return *teachValues_; }
    // The control that shows a setting.
    QWidget *settingsControl(const ParamDef &row) const;
    // A setting came from the device or a file: the teach page and the charts follow it.
    void settingArrived(const ParamDef &row);
    UserPrompts &prompts() { return *prompts_; }
    TComPort &ComPort() { return runner_->port(); }
    const Options &options() const { return options_; }
    QString executableDir() const { return options_.executableDir; }
    QString toolSettingsPath() const;
    // The measurement mode runs from its start until it is stopped or fails.
    bool measurementModeRuns() const;
    // Shows MeasurementRuns and returns true when the measurement mode runs.
    bool refuseWhileMeasuring();
    // The title the desktop shows for the tool (taskbar and window title).
    void setApplicationTitle(const QString &title);
    QString applicationTitle() const { return windowTitle(); }

    template <class T> T *ctl(const QString &name) const { return findControl<T>(*this, name); }

    // --- device actions and the controls they leave in reach ---
    // Takes the controls of an action: every control that could start another device action
    // is disabled; the ones that abort or stop it stay usable.
    void beginAction(DeviceAction action);
    // The action has ended: the controls follow what still runs.
    void endAction();
    DeviceAction currentAction() const { return runner_->action(); }
    // The measurement mode holds the port and keeps the settings out of reach while it runs.
    void setMeasuringLock(bool measuring);
    // The running action was told to stop (its abort button is given up while it unwinds).
    void requestStop();
    // Sets every control's enabled state from the action, the measurement and the stop request.
    void applyControlStates();

    // --- frame controls ---
    QTabWidget *PageControl = nullptr;
    QWidget *TeachZELSheet = nullptr, *SkalierungswerteSheet = nullptr, *WarnwerteSheet = nullptr,
            *EinstellungenSheet = nullptr, *StatusSheet = nullptr;
    QProgressBar *Progress = nullptr;
    QStatusBar *Status = nullptr;
    QPushButton *ButtonLaden = nullptr, *ButtonSenden = nullptr, *ButtonWE100Pa = nullptr,
                *ButtonWE250Pa = nullptr, *ButtonAbortConfig = nullptr, *ButtonBeenden = nullptr;
    QMenu *MEinstellungen = nullptr, *MExtras = nullptr, *MSprache = nullptr;
    QAction *LoadConf = nullptr, *SaveConf = nullptr, *LoadTeachwerte = nullptr,
            *SaveTeachwerte = nullptr, *ButtonOptions = nullptr, *ButtonComPort = nullptr,
            *SpracheD = nullptr, *SpracheEng = nullptr, *SpracheF = nullptr,
            *Inbetriebnahmeprotokoll = nullptr;
    QTimer *TimerMessung = nullptr, *PauseTimer = nullptr;

    TformOptions *formOptions() const { return formOptions_; }
    TformBerFaktor *formBerFaktor() const { return formBerFaktor_; }
    TFormKalibrieren *formKalibrieren() const { return formKalibrieren_; }
    TFormKalibrierungLoeschen *formKalibrierungLoeschen() const {
        return formKalibrierungLoeschen_;
    }
    MeasurementController &measurement() { return *measurement_; }
    TeachController &teach() { return *teach_; }

    // --- handlers: application shell ---
    void GlobalExceptionHandler(QObject *sender, const std::exception &error);
    // The message of a failure in the current language where the tool knows it.
    QString errorText(const std::exception &error) const;
    // Stops PauseTimer: every running wait ends now.
    void PauseTimerTimer();
    Waits &waits() { return runner_->waits(); }
    void ButtonBeendenClick();
    void ButtonOptionsClick();
    void ButtonComPortClick();
    void SpracheDClick();
    void SpracheEngClick();
    void SpracheFClick();
    void SetLang();
    // Runs a handler and hands any failure to GlobalExceptionHandler; while the device is
    // awaited, only an abort runs at once (see DeviceRunner::dispatch).
    void runGuarded(const std::function<void()> &handler,
                    DeviceRunner::Handler kind = DeviceRunner::Handler::Input);
    // runGuarded() for the dialogs and subsystems that run handlers of their own.
    GuardedRun guardedRun() {
        return [this](const std::function<void()> &handler) { runGuarded(handler); };
    }

    // --- handlers: device settings ---
    void ButtonLadenClick();
    void AlleParameterLaden();
    void ButtonAbortConfigClick();
    void ButtonSendenClick();
    void AlleParameterSenden();
    void ButtonWE100PaClick();
    void ButtonWE250PaClick();
    void ExtPressChanged();
    void LoadConfClick();
    void SaveConfClick();
    void PressureFieldDblClick(QLineEdit *field);

    // --- handlers: commissioning report ---
    void InbetriebnahmeprotokollClick();

    // --- handlers: measurement ---
    void ButtonMessungStartenClick();
    void TimerMessungEvent();
    void MessintervallChange();
    void DiagrammKonfiguration();
    void ButtonClearLogClick();
    void ButtonSaveLogClick();
    void ButtonNullierenClick();
    void ButtonResetClick();

    // --- handlers: re-calibration ---
    void ButtonCalibPlusClick();
    void ButtonCalibMinusClick();
    void ButtonCalibCancelClick();
    void Nachteachen();
    void KalibrierungLoeschen();

    // --- handlers: production teach ---
    void ButtonTeachClick();
    void ButtonAbortTeachClick();
    void ButtonLoadTeachClick();
    void ButtonSendTeachClick();
    void MeasRange1Change();
    void LoadTeachwerteClick();
    void SaveTeachwerteClick();
    void GetGPIBConfigData();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void FormCreate();
    void buildFrame();
    void buildMenus();
    void connectHandlers();
    void resolveActionControls();
    void bindTeachValues();
    void fitScreen();
    // Once the window manager has framed the window: frame and all inside the screen.
    void keepFrameOnScreen();
    void onClick(const QString &button, void (TformMain::*handler)(),
                 DeviceRunner::Handler kind = DeviceRunner::Handler::Input);
    void onAction(QAction *action, void (TformMain::*handler)(),
                  DeviceRunner::Handler kind = DeviceRunner::Handler::Input);
    void switchLanguage(int language);
    // Settings transfers: refused while measuring, else the controls are taken and the port
    // opened. False when refused.
    bool beginTransfer(int progressMaximum);
    SettingsTransfer settingsTransfer();

    // What the runner shows, in the window's controls.
    void showStatus(const QString &text) override { setStatus(text); }
    QString shownStatus() const override { return statusText(); }
    void showProgressStart(int maximum) override;
    void showProgressStep() override;
    void showProgressReset() override;
    QString message(CatalogueEntry entry) const override { return msg(entry); }
    int language() const override { return state.language; }
    QChar decimalSeparator() const override { return state.decimalSeparator; }
    bool measurementRunning() const override { return state.measurementRunning; }
    void pausePolling() override;
    void resumePolling() override;

    Options options_;
    std::shared_ptr<UserPrompts> prompts_;
    DeviceRunner *runner_ = nullptr;
    std::unique_ptr<MeasurementController> measurement_;
    std::unique_ptr<TeachController> teach_;
    // Until the window manager has placed the window once, it is kept inside the screen.
    bool placing_ = false;
    SettingsModel *settings_ = nullptr;
    SettingsBinder *settingsBinder_ = nullptr;
    TeachValueModel *teachValues_ = nullptr;
    struct ActionControls {
        QPushButton *connection = nullptr;
        QList<QPushButton *> measureActions, teach;
        QPushButton *abortTeach = nullptr;
    } actionControls_;
    TformOptions *formOptions_ = nullptr;
    TformBerFaktor *formBerFaktor_ = nullptr;
    TFormKalibrieren *formKalibrieren_ = nullptr;
    TFormKalibrierungLoeschen *formKalibrierungLoeschen_ = nullptr;
};
