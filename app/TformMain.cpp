#include "app/TformMain.h"

#include "app/AppIcon.h"
#include "app/LanguageApplier.h"
#include "app/MeasurementController.h"
#include "app/SettingsBinder.h"
#include "app/TeachController.h"
#include "app/WindowPlacement.h"
#include "app/ZelApplication.h"
#include "base/Errors.h"
#include "base/NumberText.h"
#include "base/ToolSettings.h"
#include "base/ui/ScrolledPage.h"
#include "calib/ui/TFormKalibrieren.h"
#include "calib/ui/TFormKalibrierungLoeschen.h"
#include "i18n/MessageCatalogue.h"
#include "link/WireText.h"
#include "link/ui/TComSetupFrm.h"
#include "measure/ui/MeasurePageBuilder.h"
#include "params/SettingsModel.h"
#include "params/ui/SettingsPagesBuilder.h"
#include "params/ui/TformBerFaktor.h"
#include "teach/TeachValueModel.h"
#include "teach/ui/TeachPageBuilder.h"
#include "teach/ui/TformOptions.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMoveEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <stdexcept>

namespace {
constexpr int kWindowWidth = 630;

QPushButton *makeButton(QWidget *parent, const char *name, const char *caption) {
    auto *button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}
} // namespace

TformMain::TformMain() : TformMain(Options()) {}

TformMain::TformMain(Options options) : options_(std::move(options)) {
    if (options_.executableDir.isEmpty())
        options_.executableDir = QCoreApplication::applicationDirPath();
    prompts_ = options_.prompts ? options_.prompts : std::make_shared<UserPrompts>();
    setObjectName(QStringLiteral("formMain"));
    setWindowIcon(AppIcon::make());
    setWindowTitle(QStringLiteral("ZEL 40 / ZEL 80 Inbetriebnahmetool"));

    buildFrame();
    buildMenus();
    SettingsPagesBuilder::build(*this);
    MeasurePageBuilder::build(StatusSheet);
    TeachPageBuilder::build(TeachZELSheet);
    settings_ = new SettingsModel(this);
    settingsBinder_ = new SettingsBinder(*this, *settings_);
    bindTeachValues();

    DeviceRunner::Options runnerOptions;
    runnerOptions.replyTimeoutMs = options_.replyTimeoutMs;
    runnerOptions.waitScale = options_.waitScale;
    runnerOptions.driver = std::move(options_.driver);
    runnerOptions.waitTimer = PauseTimer;
    runner_ = new DeviceRunner(std::move(runnerOptions), *this, this);
    connect(runner_, &DeviceRunner::controlStatesChanged, this, &TformMain::applyControlStates);
    measurement_ = std::make_unique<MeasurementController>(*this);
    teach_ = std::make_unique<TeachController>(*this);

    // The four dialogs live as long as the window.
    formOptions_ = new TformOptions(this, state, options_.executableDir, guardedRun());
    formOptions_->setBenchCheck(
        [this](const InstrumentBackend::Selection &selection, const GpibSettings &gpib) {
            teach_->benchCheck(selection, gpib);
        });
    formBerFaktor_ = new TformBerFaktor(this, state, guardedRun());
    formKalibrieren_ = new TFormKalibrieren(this, *runner_, state, guardedRun());
    formKalibrierungLoeschen_ = new TFormKalibrierungLoeschen(this, *runner_, guardedRun());

    resolveActionControls();
    connectHandlers();
    FormCreate();
}

TformMain::~TformMain() {
    if (auto *app = dynamic_cast<ZelApplication *>(QCoreApplication::instance()))
        app->removeExceptionHandler(this);
}

void TformMain::buildFrame() {
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 8, 8, 4);

    PageControl = new QTabWidget(central);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    auto addSheet = [this](const char *name, const char *caption) {
        auto *page = new QWidget(PageControl);
        page->setObjectName(QString::fromLatin1(name));
        PageControl->addTab(page, QString::fromUtf8(caption));
        return page;
    };
    TeachZELSheet = addSheet("TeachZELSheet", "Teach ZEL 40");
    SkalierungswerteSheet = addSheet("SkalierungswerteSheet", "Skalierungswerte");
    WarnwerteSheet = addSheet("WarnwerteSheet", "Warnwerte");
    EinstellungenSheet = addSheet("EinstellungenSheet", "sonstige Einstellungen");
    StatusSheet = addSheet("StatusSheet", "Messwerte");
    layout->addWidget(PageControl, 1);

    Progress = new QProgressBar(central);
    Progress->setObjectName(QStringLiteral("Progress"));
    Progress->setRange(0, 100);
    Progress->setTextVisible(false);
    Progress->setFixedHeight(13);
    layout->addWidget(Progress);

    auto *buttons = new QGridLayout();
    ButtonLaden = makeButton(central, "ButtonLaden", "von ZEL 40 / ZEL 80 laden");
    ButtonSenden = makeButton(central, "ButtonSenden", "an ZEL 40 / ZEL 80 senden");
    ButtonWE100Pa = makeButton(central, "ButtonWE100Pa", "Werkseinstellungen 100Pa und laden");
    ButtonWE250Pa = makeButton(central, "ButtonWE250Pa", "Werkseinstellungen 250Pa und laden");
    ButtonAbortConfig = makeButton(central, "ButtonAbortConfig", "Übertragung abbrechen");
    ButtonBeenden = makeButton(central, "ButtonBeenden", "Beenden");
    ButtonAbortConfig->setEnabled(false);
    buttons->addWidget(ButtonLaden, 0, 0);
    buttons->addWidget(ButtonSenden, 1, 0);
    buttons->addWidget(ButtonWE100Pa, 0, 1);
    buttons->addWidget(ButtonWE250Pa, 1, 1);
    buttons->addWidget(ButtonAbortConfig, 0, 2);
    buttons->addWidget(ButtonBeenden, 1, 2);
    layout->addLayout(buttons);
    setCentralWidget(central);

    Status = new QStatusBar(this);
    Status->setObjectName(QStringLiteral("Status"));
    Status->setSizeGripEnabled(false);
    setStatusBar(Status);

    TimerMessung = new QTimer(this);
    TimerMessung->setObjectName(QStringLiteral("TimerMessung"));
    TimerMessung->setInterval(1000);
    PauseTimer = new QTimer(this);
    PauseTimer->setObjectName(QStringLiteral("PauseTimer"));
}

void TformMain::buildMenus() {
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto addAction = [](QMenu *menu, const char *name, const char *caption) {
        auto *action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    MEinstellungen = bar->addMenu(QStringLiteral("Einstellungen"));
    MEinstellungen->setObjectName(QStringLiteral("MEinstellungen"));
    LoadConf = addAction(MEinstellungen, "LoadConf", "Öffnen ...");
    SaveConf = addAction(MEinstellungen, "SaveConf", "Speichern unter ...");
    Inbetriebnahmeprotokoll =
        addAction(MEinstellungen, "Inbetriebnahmeprotokoll", "Inbetriebnahmeprotokoll …");
    LoadTeachwerte = addAction(MEinstellungen, "LoadTeachwerte", "Teachwerte aus Datei laden ...");
    SaveTeachwerte =
        addAction(MEinstellungen, "SaveTeachwerte", "Teachwerte in Datei speichern ...");
    MExtras = bar->addMenu(QStringLiteral("Extras"));
    MExtras->setObjectName(QStringLiteral("MExtras"));
    ButtonOptions = addAction(MExtras, "ButtonOptions", "Optionen");
    ButtonComPort = addAction(MExtras, "ButtonComPort", "ComPort");
    MSprache = bar->addMenu(QStringLiteral("Sprache"));
    MSprache->setObjectName(QStringLiteral("MSprache"));
    SpracheD = addAction(MSprache, "SpracheD", "Deutsch");
    SpracheEng = addAction(MSprache, "SpracheEng", "Englisch");
    SpracheF = addAction(MSprache, "SpracheF", "Französisch");
    auto *group = new QActionGroup(this);
    for (QAction *action : {SpracheD, SpracheEng, SpracheF}) {
        action->setCheckable(true);
        group->addAction(action);
    }
}

void TformMain::onClick(const QString &button, void (TformMain::*handler)(),
                        DeviceRunner::Handler kind) {
    connect(ctl<QPushButton>(button), &QPushButton::clicked, this,
            [this, handler, kind] { runGuarded([this, handler] { (this->*handler)(); }, kind); });
}

void TformMain::onAction(QAction *action, void (TformMain::*handler)(),
                         DeviceRunner::Handler kind) {
    connect(action, &QAction::triggered, this,
            [this, handler, kind] { runGuarded([this, handler] { (this->*handler)(); }, kind); });
}

void TformMain::connectHandlers() {
    using Handler = DeviceRunner::Handler;
    // Ending the tool aborts what runs, like the window's close button.
    onClick(QStringLiteral("ButtonBeenden"), &TformMain::ButtonBeendenClick, Handler::Abort);
    onClick(QStringLiteral("ButtonLaden"), &TformMain::ButtonLadenClick);
    onClick(QStringLiteral("ButtonSenden"), &TformMain::ButtonSendenClick);
    onClick(QStringLiteral("ButtonWE100Pa"), &TformMain::ButtonWE100PaClick);
    onClick(QStringLiteral("ButtonWE250Pa"), &TformMain::ButtonWE250PaClick);
    onClick(QStringLiteral("ButtonAbortConfig"), &TformMain::ButtonAbortConfigClick,
            Handler::Abort);
    // While measuring it is the stop button, which ends a poll's wait at once.
    connect(actionControls_.connection, &QPushButton::clicked, this, [this] {
        runGuarded([this] { ButtonMessungStartenClick(); },
                   measurementModeRuns() ? Handler::Abort : Handler::Input);
    });
    onClick(QStringLiteral("ButtonClearLog"), &TformMain::ButtonClearLogClick);
    onClick(QStringLiteral("ButtonSaveLog"), &TformMain::ButtonSaveLogClick);
    onClick(QStringLiteral("ButtonNullieren"), &TformMain::ButtonNullierenClick);
    onClick(QStringLiteral("ButtonReset"), &TformMain::ButtonResetClick);
    onClick(QStringLiteral("ButtonCalibPlus"), &TformMain::ButtonCalibPlusClick);
    onClick(QStringLiteral("ButtonCalibMinus"), &TformMain::ButtonCalibMinusClick);
    onClick(QStringLiteral("ButtonCalibCancel"), &TformMain::ButtonCalibCancelClick);
    onClick(QStringLiteral("ButtonTeach"), &TformMain::ButtonTeachClick);
    onClick(QStringLiteral("ButtonAbortTeach"), &TformMain::ButtonAbortTeachClick, Handler::Abort);
    onClick(QStringLiteral("ButtonLoadTeach"), &TformMain::ButtonLoadTeachClick);
    onClick(QStringLiteral("ButtonSendTeach"), &TformMain::ButtonSendTeachClick);
    onAction(LoadConf, &TformMain::LoadConfClick);
    onAction(SaveConf, &TformMain::SaveConfClick);
    onAction(Inbetriebnahmeprotokoll, &TformMain::InbetriebnahmeprotokollClick);
    onAction(LoadTeachwerte, &TformMain::LoadTeachwerteClick);
    onAction(SaveTeachwerte, &TformMain::SaveTeachwerteClick);
    onAction(ButtonOptions, &TformMain::ButtonOptionsClick);
    onAction(ButtonComPort, &TformMain::ButtonComPortClick);
    // The language touches no device: it switches at once, also while a transfer waits.
    onAction(SpracheD, &TformMain::SpracheDClick, Handler::Display);
    onAction(SpracheEng, &TformMain::SpracheEngClick, Handler::Display);
    onAction(SpracheF, &TformMain::SpracheFClick, Handler::Display);

    auto guardedSlot = [this](void (TformMain::*handler)()) {
        return [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); };
    };
    connect(TimerMessung, &QTimer::timeout, this,
            [this] { runGuarded([this] { TimerMessungEvent(); }, Handler::Timer); });
    // Only a pick by the user runs the change handlers, never a selection made by code.
    connect(ctl<QComboBox>(QStringLiteral("ExtPress")), qOverload<int>(&QComboBox::activated), this,
            guardedSlot(&TformMain::ExtPressChanged));
    connect(ctl<QComboBox>(QStringLiteral("MeasRange1")), qOverload<int>(&QComboBox::activated),
            this, guardedSlot(&TformMain::MeasRange1Change));
    connect(ctl<QSpinBox>(QStringLiteral("Messintervall")), qOverload<int>(&QSpinBox::valueChanged),
            this, guardedSlot(&TformMain::MessintervallChange));
    for (QLineEdit *field : SettingsPagesBuilder::pressureFields(*this)) {
        SettingsPagesBuilder::onDoubleClick(field, this, [this, field] {
            runGuarded([this, field] { PressureFieldDblClick(field); });
        });
    }
}

// The value labels of the teach page show the teach-value model; each label is looked up once.
void TformMain::bindTeachValues() {
    teachValues_ = new TeachValueModel(this);
    QVector<QLabel *> labels;
    for (const TeachValueRow &row : TeachValueTable::rows()) {
        labels.append(ctl<QLabel>(QString::fromLatin1(row.valueLabel)));
        teachValues_->setText(row, labels.constLast()->text());
    }
    connect(teachValues_, &TeachValueModel::valueChanged, this, [this, labels](int index) {
        labels.at(index)->setText(teachValues_->text(TeachValueTable::rows().at(index)));
    });
}

void TformMain::resolveActionControls() {
    actionControls_.connection = ctl<QPushButton>(QStringLiteral("ButtonConnection"));
    for (const char *name : {"ButtonNullieren", "ButtonReset", "ButtonCalibPlus",
                             "ButtonCalibMinus", "ButtonCalibCancel"})
        actionControls_.measureActions.append(ctl<QPushButton>(QString::fromLatin1(name)));
    for (const char *name : {"ButtonTeach", "ButtonLoadTeach", "ButtonSendTeach"})
        actionControls_.teach.append(ctl<QPushButton>(QString::fromLatin1(name)));
    actionControls_.abortTeach = ctl<QPushButton>(QStringLiteral("ButtonAbortTeach"));
}

// The whole content when the screen has room for it; else as high as the screen allows with
// the title bar, the pages scrolling.
void TformMain::fitScreen() {
    // The frame a window manager adds, until the real one is known.
    constexpr int kTitleBarRoom = 40;
    // The pages' scroll areas hint at a part of their content only.
    int contentHeight = 0;
    int pageHint = 0;
    for (QWidget *sheet :
         {TeachZELSheet, SkalierungswerteSheet, WarnwerteSheet, EinstellungenSheet, StatusSheet}) {
        if (sheet == TeachZELSheet && !options_.production)
            continue;
        contentHeight = qMax(contentHeight, ScrolledPage::naturalHeight(sheet));
        pageHint = qMax(pageHint, sheet->sizeHint().height());
    }
    int height = sizeHint().height() - pageHint + contentHeight;
    if (const QScreen *screen = this->screen()) {
        const QMargins frame = windowHandle() && !windowHandle()->frameMargins().isNull()
                                   ? windowHandle()->frameMargins()
                                   : QMargins(0, kTitleBarRoom, 0, 0);
        height = qMin(height, WindowPlacement::maxClientHeight(frame, screen->availableGeometry()));
    }
    resize(kWindowWidth, qMax(height, minimumSizeHint().height()));
}

void TformMain::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        placing_ = true;
    keepFrameOnScreen();
}

// The window manager frames and places the window after it is shown; its frame is known from
// then on. Only that first placement is corrected: a window the user moves stays where it is put.
void TformMain::moveEvent(QMoveEvent *event) {
    QMainWindow::moveEvent(event);
    keepFrameOnScreen();
}

void TformMain::keepFrameOnScreen() {
    const QScreen *screen = this->screen();
    if (!placing_ || !screen || !windowHandle() || windowHandle()->frameMargins().isNull())
        return;
    placing_ = false;
    const QRect fitted =
        WindowPlacement::fit(geometry(), windowHandle()->frameMargins(),
                             screen->availableGeometry(), minimumSizeHint().height());
    if (fitted != geometry())
        setGeometry(fitted);
}

void TformMain::FormCreate() {
    if (auto *app = dynamic_cast<ZelApplication *>(QCoreApplication::instance())) {
        app->setExceptionHandler(this, [this](QObject *sender, const std::exception &error) {
            GlobalExceptionHandler(sender, error);
        });
    }
    const ToolSettings settings(options_.executableDir);
    state.language = settings.language();
    ComPort().setPort(settings.comPort());
    QMap<QString, QString> bindings = settings.portBindings();
    if (!options_.portDeviceOverride.isEmpty())
        bindings.insert(ComPort().port(), options_.portDeviceOverride);
    ComPort().setBindings(bindings);

    SetLang();
    setFixedWidth(kWindowWidth);
    fitScreen();

    // The teach features stay out of reach unless the tool runs for production staff.
    const bool production = options_.production;
    PageControl->setTabVisible(0, production);
    // A hidden tab is still reached by Ctrl+Tab and the wheel; a disabled one is skipped.
    PageControl->tabBar()->setTabEnabled(0, production);
    LoadTeachwerte->setVisible(production);
    SaveTeachwerte->setVisible(production);
    ButtonOptions->setVisible(production);

    PageControl->setCurrentIndex(4);
    applyControlStates();
    runner_->clearAbort();
    state.measurementRunning = false;
    Progress->setMinimum(0);
    Progress->setValue(0);
    measurement_->drawEmptyCharts();
    state.unitConversionResult.clear();
    state.decimalSeparator = NumberText::localDecimalSeparator(QLocale::system());
    GetGPIBConfigData();
    setApplicationTitle(msg(CatalogueEntry::StartUpTool));
}

QString TformMain::msg(CatalogueEntry entry) const {
    return MessageCatalogue::text(entry, state.language);
}

QString TformMain::SendToCom(const QString &command) {
    return runner_->send(command);
}

QString TformMain::SendSpToCom(const QString &command) {
    return runner_->sendStep(command);
}

QString TformMain::SendToComUnabortable(const QString &command) {
    return runner_->sendUnabortable(command);
}

void TformMain::Delay(int ms) {
    runner_->delay(ms);
}

void TformMain::showProgressStart(int maximum) {
    Progress->setMaximum(maximum);
    Progress->setValue(0);
}

void TformMain::showProgressStep() {
    Progress->setValue(Progress->value() + 1);
}

void TformMain::showProgressReset() {
    Progress->setValue(0);
}

QWidget *TformMain::settingsControl(const ParamDef &row) const {
    return settingsBinder_->control(SettingsModel::indexOf(row));
}

void TformMain::PauseTimerTimer() {
    runner_->endWaits();
}

void TformMain::setApplicationTitle(const QString &title) {
    setWindowTitle(options_.simulatedDevice.isEmpty()
                       ? title
                       : title + QStringLiteral(" — ") + options_.simulatedDevice);
}

void TformMain::setStatus(const QString &text) {
    Status->showMessage(text);
}

QString TformMain::statusText() const {
    return Status->currentMessage();
}

QString TformMain::portSuffix() const {
    return runner_->portSuffix();
}

void TformMain::openPort() {
    runner_->openPort();
}

void TformMain::closePort() {
    runner_->closePort();
}

QString TformMain::toolSettingsPath() const {
    return ToolSettings(options_.executableDir).path();
}

bool TformMain::measurementModeRuns() const {
    return runner_->measuring();
}

bool TformMain::refuseWhileMeasuring() {
    if (!measurementModeRuns())
        return false;
    prompts_->showMessage(this, msg(CatalogueEntry::MeasurementRuns));
    return true;
}

void TformMain::beginAction(DeviceAction action) {
    runner_->beginAction(action);
}

void TformMain::endAction() {
    runner_->endAction();
}

void TformMain::pausePolling() {
    TimerMessung->stop();
}

void TformMain::resumePolling() {
    TimerMessung->start();
}

void TformMain::setMeasuringLock(bool measuring) {
    runner_->setMeasuring(measuring);
}

void TformMain::requestStop() {
    runner_->requestStop();
}

void TformMain::applyControlStates() {
    const ControlStates s = runner_->controlStates();
    for (QMenu *menu : {MEinstellungen, MExtras}) {
        menu->setEnabled(s.settingsMenus);
        menu->menuAction()->setEnabled(s.settingsMenus);
    }
    ButtonComPort->setEnabled(s.portSetup);
    // The report may read the settings and measure: it starts only when nothing else runs.
    Inbetriebnahmeprotokoll->setEnabled(s.transferButtons);
    for (QPushButton *button : {ButtonLaden, ButtonSenden, ButtonWE100Pa, ButtonWE250Pa})
        button->setEnabled(s.transferButtons);
    ButtonAbortConfig->setEnabled(s.abortTransfer);
    for (QWidget *sheet : {SkalierungswerteSheet, WarnwerteSheet, EinstellungenSheet})
        sheet->setEnabled(s.settingsSheets);
    TeachZELSheet->setEnabled(s.teachSheet);
    StatusSheet->setEnabled(s.measureSheet);
    actionControls_.connection->setEnabled(s.measureToggle);
    for (QPushButton *button : actionControls_.measureActions)
        button->setEnabled(s.measureActions);
    for (QPushButton *button : actionControls_.teach)
        button->setEnabled(s.teachButtons);
    actionControls_.abortTeach->setEnabled(s.abortTeach);
}

void TformMain::runGuarded(const std::function<void()> &handler, DeviceRunner::Handler kind) {
    runner_->dispatch(
        [this, handler, kind] {
            // A display handler that fails inside a device action's wait (the tool settings
            // file cannot be written) must not tear down that action: it goes on, and only the
            // message is shown.
            const bool insideAction = kind == DeviceRunner::Handler::Display && runner_->waiting();
            try {
                handler();
            } catch (const std::exception &error) {
                if (insideAction)
                    prompts_->showError(this, errorText(error));
                else
                    GlobalExceptionHandler(this, error);
            } catch (...) {
                GlobalExceptionHandler(this, EZelError(QStringLiteral("Unknown failure")));
            }
        },
        kind);
}

void TformMain::GlobalExceptionHandler(QObject *, const std::exception &error) {
    if (runner_->abortRequested())
        setStatus(msg(CatalogueEntry::AbortByUser));
    Progress->setValue(0);
    state.transferFailureMarker = 0;
    measurement_->stopAfterFailure();
    // Everything is usable again, except what a teach run still unwinding holds.
    runner_->recoverFromFailure(teach_->runActive() ? DeviceAction::TeachRun : DeviceAction::None);
    setApplicationTitle(msg(CatalogueEntry::StartUpTool));
    prompts_->showError(this, errorText(error));
}

QString TformMain::errorText(const std::exception &error) const {
    if (const auto *unsafe = dynamic_cast<const EUnsafeValue *>(&error))
        return unsafe->message(state.language);
    return messageOf(error);
}

void TformMain::ButtonBeendenClick() {
    close();
}

void TformMain::closeEvent(QCloseEvent *event) {
    // Ends any wait so a running sequence unwinds instead of holding the window; a sequence
    // still running closes the port as it unwinds, after its last line.
    runner_->requestAbort();
    if (!runner_->waiting() && runner_->action() == DeviceAction::None)
        runner_->closePort();
    event->accept();
}

void TformMain::ButtonComPortClick() {
    TComSetupFrm dialog(ComPort(), this);
    dialog.loadFromPort();
    const ToolSettings settings(options_.executableDir);
    if (prompts_->execModal(dialog) == QDialog::Accepted) {
        const QString before = ComPort().devicePath();
        dialog.applyToPort();
        // A device the user bound to the COM name is kept in section "Ports".
        const bool demoBinding = ComPort().devicePath() == options_.portDeviceOverride;
        if (!demoBinding &&
            (ComPort().devicePath() != before || ComPort().bindings().contains(ComPort().port())))
            settings.writeString(QStringLiteral("Ports"), ComPort().port(), ComPort().devicePath());
    }
    settings.writeComPort(ComPort().port());
}

void TformMain::switchLanguage(int language) {
    state.language = language;
    // Applied before it is stored: a file that cannot be written must not leave the window
    // half in the new language.
    SetLang();
    ToolSettings(options_.executableDir).writeLanguage(language);
}

void TformMain::SpracheDClick() {
    switchLanguage(0);
}
void TformMain::SpracheEngClick() {
    switchLanguage(1);
}
void TformMain::SpracheFClick() {
    switchLanguage(2);
}

void TformMain::SetLang() {
    LanguageApplier::apply(*this);
}
