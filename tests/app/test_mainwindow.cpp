// The application shell: start-up, pages, languages, tool settings, the global failure handling
// and the wait primitive.
#include "base/Errors.h"
#include "base/IniFile.h"
#include "calib/ui/TFormKalibrieren.h"
#include "calib/ui/TFormKalibrierungLoeschen.h"
#include "i18n/MessageCatalogue.h"
#include "link/ui/TComSetupFrm.h"
#include "params/ui/TformBerFaktor.h"
#include "teach/ui/TformOptions.h"
#include "tests/support/TestMain.h"
#include "tests/support/WindowFixture.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>

#include <QTabWidget>
#include <QTimer>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Whether `a` comes before `b` when read: above it, or beside it on the left.
bool readBefore(const QWidget *a, const QWidget *b) {
    const QRect ra(a->mapTo(a->window(), QPoint(0, 0)), a->size());
    const QRect rb(b->mapTo(b->window(), QPoint(0, 0)), b->size());
    if (ra.bottom() <= rb.top() + 2)
        return true;
    if (rb.bottom() <= ra.top() + 2)
        return false;
    return ra.left() < rb.left();
}

// The field of a compound control (a spin box's editor) is reached through the control.
bool tabStop(const QWidget *widget, const QWidget *root) {
    if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(root) ||
        widget->focusProxy())
        return false;
    for (const QWidget *p = widget->parentWidget(); p && p != root; p = p->parentWidget()) {
        if (qobject_cast<const QAbstractSpinBox *>(p) || qobject_cast<const QComboBox *>(p) ||
            qobject_cast<const QTabBar *>(p))
            return false;
    }
    return !qobject_cast<const QTabBar *>(widget) && !qobject_cast<const QScrollArea *>(widget);
}

// The child of `ancestor` that holds `widget`.
const QWidget *childHolding(const QWidget *ancestor, const QWidget *widget) {
    while (widget->parentWidget() != ancestor)
        widget = widget->parentWidget();
    return widget;
}

// Walks the focus chain from `chainStart` and checks that the tab stops under `root` follow
// one another in reading order, judged where two of them part: the containers (or fields) they
// sit in within their closest common container. Empty when they do.
QString readingOrderProblem(QWidget *root, QWidget *chainStart) {
    QList<QWidget *> stops;
    for (QWidget *child : root->findChildren<QWidget *>()) {
        if (tabStop(child, root))
            stops << child;
    }
    if (stops.size() < 2)
        return QStringLiteral("fewer than two tab stops");
    QList<QWidget *> chain;
    QWidget *at = chainStart->nextInFocusChain();
    for (int guard = 0; at != chainStart && guard < 10000; ++guard, at = at->nextInFocusChain()) {
        if (stops.contains(at) && !chain.contains(at))
            chain << at;
    }
    if (chain.size() != stops.size())
        return QStringLiteral("%1 of %2 tab stops in the focus chain")
            .arg(chain.size())
            .arg(stops.size());
    // The chain is a ring: it is read from the stop that comes first on the page.
    int first = 0;
    for (int i = 1; i < chain.size(); ++i) {
        if (readBefore(chain.at(i), chain.at(first)) && !readBefore(chain.at(first), chain.at(i)))
            first = i;
    }
    std::rotate(chain.begin(), chain.begin() + first, chain.end());
    for (int i = 1; i < chain.size(); ++i) {
        const QWidget *a = chain.at(i - 1);
        const QWidget *b = chain.at(i);
        const QWidget *common = a->parentWidget();
        while (!common->isAncestorOf(b))
            common = common->parentWidget();
        if (!readBefore(childHolding(common, a), childHolding(common, b)))
            return a->objectName() + QStringLiteral(" > ") + b->objectName() +
                   QStringLiteral(" (in ") + common->objectName() + QLatin1Char(')');
    }
    return QString();
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    static void writeSettings(const WindowFixture &fx, const QString &misc) {
        IniFile ini(fx.settingsPath());
        ini.load();
        for (const QString &line : misc.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const int eq = line.indexOf(QLatin1Char('='));
            ini.writeString(QStringLiteral("Miscellaneous"), line.left(eq), line.mid(eq + 1));
        }
        ini.save();
    }

private slots:
    void startsWithTheDesignedFrame() {
        WindowFixture fx;
        TformMain &w = fx.window();
        QTabWidget *pages = w.PageControl;
        const QStringList names = {"TeachZELSheet", "SkalierungswerteSheet", "WarnwerteSheet",
                                   "EinstellungenSheet", "StatusSheet"};
        QCOMPARE(pages->count(), 5);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(pages->widget(i)->objectName(), names[i]);
        QVERIFY(!pages->isTabVisible(0));
        QCOMPARE(pages->currentIndex(), 4);
        QVERIFY(!w.LoadTeachwerte->isVisible());
        QVERIFY(!w.SaveTeachwerte->isVisible());
        QVERIFY(!w.ButtonOptions->isVisible());
        QCOMPARE(w.width(), 630);
        // On a 1366 x 768 screen the window fits with its title bar: the pages scroll, the
        // bottom buttons and the status bar stay in view.
        QVERIFY2(w.minimumSizeHint().height() <= 768 - 40,
                 qPrintable(QString::number(w.minimumSizeHint().height())));
        w.resize(630, 768 - 40);
        for (int page = 0; page < 5; ++page) {
            pages->setCurrentIndex(page);
            QApplication::processEvents();
            for (QWidget *bottom :
                 {static_cast<QWidget *>(w.ButtonBeenden), static_cast<QWidget *>(w.Status)})
                QVERIFY(w.rect().contains(QRect(bottom->mapTo(&w, QPoint(0, 0)), bottom->size())));
        }
        pages->setCurrentIndex(4);
        QCOMPARE(w.windowTitle(), QStringLiteral("ZEL 40 / ZEL 80 Inbetriebnahmetool"));
        QCOMPARE(pages->tabText(4), QStringLiteral("Messwerte"));
        QVERIFY(!w.ButtonAbortConfig->isEnabled());
        QCOMPARE(w.Progress->value(), 0);
        QVERIFY(!w.TimerMessung->isActive());
        QVERIFY(!w.ComPort().connected());
        QCOMPARE(w.ComPort().port(), QStringLiteral("COM1"));
        QVERIFY(w.SpracheD->isChecked());
        // Every setting has its control, choice lists start without a selection.
        for (const char *name : {"ScalPdown", "WarnIN2PHyst", "SoundTime", "Password"})
            QVERIFY(w.findChild<QLineEdit *>(QString::fromLatin1(name)));
        QCOMPARE(fx.ctl<QComboBox>("ExtPress")->currentIndex(), -1);
        QCOMPARE(fx.ctl<QComboBox>("ExtPress")->count(), 4);
        QCOMPARE(fx.ctl<QComboBox>("RelAssign")->count(), 8);
        QCOMPARE(fx.ctl<QComboBox>("Sound")->itemText(0), QStringLiteral("aus"));
        QCOMPARE(fx.ctl<QComboBox>("UnitIN2")->itemText(0), QStringLiteral("%rF"));
        QCOMPARE(fx.ctl<QLabel>("DeviceAdr")->text(), QStringLiteral("0"));
        QCOMPARE(fx.ctl<QPushButton>("ButtonConnection")->text(),
                 QStringLiteral("Messung starten"));
        QCOMPARE(fx.ctl<QLabel>("IntDruck")->text(), QStringLiteral("-----"));
        QCOMPARE(fx.ctl<QLabel>("LabelxAchse_P")->text(), QStringLiteral("30 Sek"));
        QCOMPARE(fx.ctl<QSpinBox>("Messintervall")->value(), 1);
        QCOMPARE(fx.ctl<QLabel>("M120")->text(), QStringLiteral("0"));
        QCOMPARE(fx.ctl<QLabel>("LabelM120")->text(), QStringLiteral("--- Pa:"));
        // No settings file is written at start.
        QFile::remove(fx.settingsPath());
        fx.restart();
        QVERIFY(!QFile::exists(fx.settingsPath()));
    }

    // Tab walks every page and dialog in reading order: the groups row by row, left to right,
    // and within a group its fields from top to bottom; every field is reached.
    void tabOrderFollowsTheLayout() {
        WindowFixture::Config config;
        config.production = true;
        WindowFixture fx(config);
        TformMain &w = fx.window();
        w.show();
        for (int page = 0; page < w.PageControl->count(); ++page) {
            w.PageControl->setCurrentIndex(page);
            QApplication::processEvents();
            QWidget *sheet = w.PageControl->widget(page);
            const QString problem = readingOrderProblem(sheet, &w);
            QVERIFY2(problem.isEmpty(), qPrintable(sheet->objectName() + ": " + problem));
        }
        TComSetupFrm setup(w.ComPort(), &w);
        QList<QDialog *> dialogs = {&setup, w.formOptions(), w.formBerFaktor(), w.formKalibrieren(),
                                    w.formKalibrierungLoeschen()};
        for (QDialog *dialog : dialogs) {
            dialog->show();
            QApplication::processEvents();
            const QString problem = readingOrderProblem(dialog, dialog);
            dialog->hide();
            QVERIFY2(problem.isEmpty(), qPrintable(dialog->metaObject()->className() +
                                                   QStringLiteral(": ") + problem));
        }
    }

    void windowHasTheToolsIcon() {
        WindowFixture fx;
        const QIcon icon = fx.window().windowIcon();
        QVERIFY(icon.availableSizes().contains(QSize(48, 48)));
        // The red trace of the chart is drawn.
        const QImage image = icon.pixmap(QSize(128, 128)).toImage();
        QCOMPARE(image.pixelColor(72, 44), QColor(0xdd, 0, 0));
    }

    void productionShowsTheTeachFeatures() {
        WindowFixture::Config config;
        config.production = true;
        WindowFixture fx(config);
        QVERIFY(fx.window().PageControl->isTabVisible(0));
        QVERIFY(fx.window().LoadTeachwerte->isVisible());
        QVERIFY(fx.window().ButtonOptions->isVisible());
    }

    void captionsFollowTheLanguage() {
        WindowFixture fx;
        TformMain &w = fx.window();
        fx.ctl<QComboBox>("Sound")->setCurrentIndex(1);
        fx.ctl<QComboBox>("RelAssign")->setCurrentIndex(5);
        w.SpracheEngClick();
        QCOMPARE(w.windowTitle(), QStringLiteral("ZEL 40 / ZEL 80 Start-Up Tool"));
        QCOMPARE(fx.ctl<QComboBox>("Sound")->currentText(), QStringLiteral("on"));
        QCOMPARE(fx.ctl<QComboBox>("RelAssign")->currentIndex(), 5);
        QCOMPARE(fx.ctl<QLabel>("LabelScalPdown")->text(), QStringLiteral("Value bottom [Pa]:"));
        QCOMPARE(fx.ctl<QLabel>("LabelxAchse_P")->text(), QStringLiteral("30 sec"));
        QCOMPARE(w.PageControl->tabText(1), QStringLiteral("Scaling Values"));
        QVERIFY(w.SpracheEng->isChecked() && !w.SpracheD->isChecked());

        w.SpracheFClick();
        QCOMPARE(fx.ctl<QLabel>("LabelScalIN2Hdown")->text(),
                 QStringLiteral("Valeur en bas [%rH]:"));
        QCOMPARE(fx.ctl<QLabel>("LabelFilterP")->text(),
                 QStringLiteral("pression interne [msec]:"));
        QVERIFY(w.SpracheF->isChecked());
        // The teach tab keeps its German design texts.
        QCOMPARE(fx.ctl<QPushButton>("ButtonLoadTeach")->text(),
                 QStringLiteral("Stützstellen laden"));

        // The caption of a running measurement survives a switch.
        w.SpracheEngClick();
        w.setMeasuringLock(true);
        w.SpracheDClick();
        QCOMPARE(fx.ctl<QPushButton>("ButtonConnection")->text(),
                 QStringLiteral("Messung stoppen"));
        w.setMeasuringLock(false);

        // Pressure at both inputs relabels both input charts.
        fx.ctl<QComboBox>("ExtPress")->setCurrentIndex(3);
        fx.ctl<QLabel>("LabelyAchse_F")->setText(QStringLiteral("mbar"));
        w.SpracheEngClick();
        QCOMPARE(fx.ctl<QLabel>("LabelTemperatur")->text(), QStringLiteral("pressure at IN-1:"));
        QCOMPARE(fx.ctl<QLabel>("LabelFeuchte")->text(), QStringLiteral("pressure at IN-2:"));
        QCOMPARE(fx.ctl<QLabel>("max_F")->text(), QStringLiteral("max_P"));
        QCOMPARE(fx.ctl<QLabel>("LabelyAchse_F")->text(), QStringLiteral("mbar"));

        // Every menu and every item has its own Alt key in every language.
        for (void (TformMain::*language)() :
             {&TformMain::SpracheDClick, &TformMain::SpracheEngClick, &TformMain::SpracheFClick}) {
            (w.*language)();
            QList<QList<QAction *>> groups{w.menuBar()->actions()};
            for (QMenu *menu : {w.MEinstellungen, w.MExtras, w.MSprache})
                groups << menu->actions();
            for (const QList<QAction *> &group : groups) {
                QString keys;
                for (QAction *action : group) {
                    const int mark = action->text().indexOf(QLatin1Char('&'));
                    QVERIFY2(mark >= 0 && mark + 1 < action->text().size(),
                             qPrintable(action->text()));
                    const QChar key = action->text()[mark + 1].toLower();
                    QVERIFY2(!keys.contains(key), qPrintable(action->text()));
                    keys += key;
                }
            }
        }
        QCOMPARE(w.MEinstellungen->title(), QStringLiteral("&Paramètres"));

        // A failure restores the caption of the current language.
        w.SpracheFClick();
        w.runGuarded([] { throw EGlobalError(QStringLiteral("x")); });
        QCOMPARE(w.windowTitle(), QStringLiteral("Outil pour mise en marche le ZEL 40 / ZEL 80"));

        // A demo window names the simulated device once, in every language.
        TformMain::Options demo;
        demo.executableDir = fx.dir();
        demo.prompts = std::make_shared<TestPrompts>();
        demo.simulatedDevice = QStringLiteral("simulated device (demo)");
        TformMain demoWindow(std::move(demo)); // starts in French, as stored above
        QCOMPARE(demoWindow.windowTitle(), QStringLiteral("Outil pour mise en marche le ZEL 40 / "
                                                          "ZEL 80 — simulated device (demo)"));
        for (const auto &[switchTo, caption] :
             {std::pair{&TformMain::SpracheEngClick, "ZEL 40 / ZEL 80 Start-Up Tool"},
              std::pair{&TformMain::SpracheDClick, "ZEL 40 / ZEL 80 Inbetriebnahmetool"}}) {
            (demoWindow.*switchTo)();
            demoWindow.runGuarded([] { throw EGlobalError(QStringLiteral("x")); });
            QCOMPARE(demoWindow.windowTitle(),
                     QString::fromLatin1(caption) + QStringLiteral(" — simulated device (demo)"));
        }
    }

    void languageSurvivesARestart() {
        WindowFixture fx;
        fx.window().SpracheFClick();
        IniFile ini(fx.settingsPath());
        ini.load();
        QCOMPARE(ini.readString("Miscellaneous", "ToolLanguage"), QStringLiteral("2"));
        QCOMPARE(ini.readString("Ports", "COM1"), fx.device().slavePath()); // kept
        fx.restart();
        QVERIFY(fx.window().SpracheF->isChecked());
        QCOMPARE(fx.ctl<QPushButton>("ButtonLaden")->text(),
                 QStringLiteral("Charger de ZEL 40 / ZEL 80"));
    }

    void badSettingsGiveSoundDefaults() {
        WindowFixture fx;
        for (const QString &misc : {QStringLiteral("ToolLanguage=7\nComPort=COM99"),
                                    QStringLiteral("ToolLanguage=abc\nComPort=COMx"),
                                    QStringLiteral("ToolLanguage=1\nComPort=com2")}) {
            writeSettings(fx, misc);
            fx.restart();
            const bool english = misc.contains(QLatin1String("=1\n"));
            QCOMPARE(fx.window().state.language, english ? 1 : 0);
            QCOMPARE(fx.window().ComPort().port(), misc.contains(QLatin1String("com2"))
                                                       ? QStringLiteral("COM2")
                                                       : QStringLiteral("COM1"));
        }
        // Binary garbage and a huge line.
        QFile file(fx.settingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\x00\xff\xfe[Miscellaneous\x00]\r\n", 20));
        file.write(QByteArray(2 * 1024 * 1024, 'x'));
        file.close();
        fx.restart();
        QCOMPARE(fx.window().state.language, 0);
        QCOMPARE(fx.window().ComPort().port(), QStringLiteral("COM1"));
    }

    void languageWriteFailureStillSwitchesTheWindow() {
        WindowFixture fx;
        // A folder where the settings file should be makes every write fail.
        QFile::remove(fx.settingsPath());
        QVERIFY(QDir(fx.dir()).mkdir(QStringLiteral("ZEL ToolConfig.ini")));
        fx.window().SpracheEng->trigger();
        QCOMPARE(fx.prompts().errors.size(), 1);
        QVERIFY(fx.prompts().errors[0].startsWith(QStringLiteral("nach ")));
        QVERIFY(fx.prompts().errors[0].endsWith(QStringLiteral(" kann nicht geschrieben werden")));
        // The whole window follows the new language, so the start button still reads "start" in
        // it and the tool does not take itself for measuring.
        QCOMPARE(fx.window().state.language, 1);
        QCOMPARE(fx.ctl<QPushButton>("ButtonLaden")->text(),
                 QStringLiteral("Load from ZEL 40 / ZEL 80"));
        QVERIFY(!fx.window().measurementModeRuns());

        // The same failure while a load waits on the device shows its message; the load goes
        // on to its end.
        bool switched = false;
        QTimer during;
        QObject::connect(&during, &QTimer::timeout, [&] {
            if (!switched && fx.window().runner().waiting() && fx.commands().size() > 5) {
                switched = true;
                fx.window().SpracheD->trigger();
            }
        });
        during.start(1);
        fx.click(QStringLiteral("ButtonLaden"));
        QVERIFY(switched);
        QCOMPARE(fx.prompts().errors.size(), 2);
        QVERIFY(fx.prompts().errors[1].endsWith(QStringLiteral(" kann nicht geschrieben werden")));
        QCOMPARE(fx.status(), QStringLiteral("Daten erfolgreich geladen"));
        QCOMPARE(fx.commands().size(), 50);
    }

    void setupDialogStoresThePortEvenOnCancel() {
        WindowFixture fx;
        fx.prompts().modalScript = [](QDialog &dialog) {
            auto *ports = dialog.findChild<QComboBox *>(QStringLiteral("ComboPort"));
            ports->setCurrentIndex(ports->findData(QStringLiteral("COM3")));
            return int(QDialog::Rejected);
        };
        fx.window().ButtonComPort->trigger();
        IniFile ini(fx.settingsPath());
        ini.load();
        QCOMPARE(ini.readString("Miscellaneous", "ComPort"), QStringLiteral("COM1"));

        fx.prompts().modalScript = [](QDialog &dialog) {
            auto *ports = dialog.findChild<QComboBox *>(QStringLiteral("ComboPort"));
            ports->setCurrentIndex(ports->findData(QStringLiteral("COM3")));
            dialog.findChild<QComboBox *>(QStringLiteral("ComboBaudRate"))->setCurrentText("19200");
            return int(QDialog::Accepted);
        };
        fx.window().ButtonComPort->trigger();
        ini.load();
        QCOMPARE(ini.readString("Miscellaneous", "ComPort"), QStringLiteral("COM3"));
        QCOMPARE(fx.window().ComPort().port(), QStringLiteral("COM3"));
        QCOMPARE(fx.window().ComPort().baudRate(), 19200);
        fx.restart();
        QCOMPARE(fx.window().ComPort().port(), QStringLiteral("COM3"));
        QCOMPARE(fx.window().ComPort().baudRate(), 9600);

        // All six choices apply together, reach the line, and show again on the next opening.
        WindowFixture pty;
        TformMain &w = pty.window();
        const auto choose = [&pty](QStringList texts, int result) {
            pty.prompts().modalScript = [texts, result](QDialog &dialog) {
                const char *lists[] = {"ComboBaudRate", "ComboDataBits", "ComboStopBits",
                                       "ComboParity", "ComboFlowControl"};
                for (int i = 0; i < 5; ++i)
                    dialog.findChild<QComboBox *>(QString::fromLatin1(lists[i]))
                        ->setCurrentText(texts[i]);
                return result;
            };
        };
        choose({"19200", "7", "2", "Even", "Hardware"}, QDialog::Accepted);
        w.ButtonComPort->trigger();
        QCOMPARE(pty.prompts().errors, QStringList());
        w.openPort();
        const int fd =
            ::open(pty.device().slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        QVERIFY(fd >= 0);
        termios line{};
        QCOMPARE(tcgetattr(fd, &line), 0);
        ::close(fd);
        w.closePort();
        // A pseudo-terminal keeps 8 data bits without parity whatever is set; the rest shows.
        QVERIFY((line.c_cflag & CSTOPB) && (line.c_cflag & CRTSCTS));
        QCOMPARE(w.ComPort().lineSettings().dataBits, 7);
        QCOMPARE(w.ComPort().lineSettings().parity, LineSettings::Parity::Even);
        QCOMPARE(cfgetospeed(&line), speed_t(B19200));

        QStringList shown;
        pty.prompts().modalScript = [&shown](QDialog &dialog) {
            for (const char *name : {"ComboBaudRate", "ComboDataBits", "ComboStopBits",
                                     "ComboParity", "ComboFlowControl"})
                shown << dialog.findChild<QComboBox *>(QString::fromLatin1(name))->currentText();
            return int(QDialog::Rejected);
        };
        w.ButtonComPort->trigger();
        QCOMPARE(shown, (QStringList{"19200", "7", "2", "Even", "Hardware"}));

        // "Custom" keeps the flow control; 1.5 stop bits cannot be set on Linux and change nothing.
        choose({"9600", "8", "1", "None", "Custom"}, QDialog::Accepted);
        w.ButtonComPort->trigger();
        QCOMPARE(w.ComPort().lineSettings().flow, LineSettings::Flow::Hardware);
        QCOMPARE(w.ComPort().lineSettings().dataBits, 8);
        choose({"9600", "8", "1.5", "None", "Software"}, QDialog::Accepted);
        w.ButtonComPort->trigger();
        QCOMPARE(pty.prompts().errors.size(), 1);
        QVERIFY(pty.prompts().errors[0].contains(QStringLiteral("1.5 stop bits")));
        QCOMPARE(w.ComPort().lineSettings().flow, LineSettings::Flow::Hardware);
        QCOMPARE(w.ComPort().lineSettings().stopBits, LineSettings::StopBits::One);

        // After a restart the device's settings apply again.
        pty.restart();
        QVERIFY(pty.window().ComPort().lineSettings() == LineSettings());
    }

    void failureInAHandlerRestoresTheWindow() {
        WindowFixture fx;
        TformMain &w = fx.window();
        w.openPort();
        w.beginAction(DeviceAction::TeachTransfer);
        w.Progress->setMaximum(49);
        w.Progress->setValue(12);
        w.state.transferFailureMarker = 7;
        w.runner().requestAbort();
        w.runGuarded([] { throw EGlobalError(QStringLiteral("Abbruch durch Benutzer")); });
        QCOMPARE(fx.prompts().errors, QStringList{QStringLiteral("Abbruch durch Benutzer")});
        QCOMPARE(fx.status(), QStringLiteral("Abbruch durch Benutzer"));
        QVERIFY(!w.ComPort().connected());
        QVERIFY(!w.runner().abortRequested());
        QVERIFY(w.ButtonLaden->isEnabled() && w.ButtonSenden->isEnabled());
        QVERIFY(!w.ButtonAbortConfig->isEnabled());
        QVERIFY(w.MEinstellungen->isEnabled() && w.StatusSheet->isEnabled());
        QCOMPARE(w.Progress->value(), 0);
        QCOMPARE(w.state.transferFailureMarker, 0);
        QCOMPARE(fx.ctl<QPushButton>("ButtonConnection")->text(),
                 QStringLiteral("Messung starten"));

        // An exception escaping a real click handler ends in the same place.
        QPushButton *probe = new QPushButton(&w);
        QObject::connect(probe, &QPushButton::clicked, &w,
                         [&w] { w.runGuarded([] { throw std::runtime_error("boom"); }); });
        probe->click();
        QCOMPARE(fx.prompts().errors.last(), QStringLiteral("boom"));
    }

    void delayWaitsWithoutSpinningAndHonoursTheAbort() {
        WindowFixture::Config config;
        config.waitScale = 1.0;
        WindowFixture fx(config);
        TformMain &w = fx.window();
        QElapsedTimer clock;
        // "Ended early" is told by half the wait's time: a margin no stall of a busy machine
        // reaches, while a wait that ignored the abort would take all of it.
        w.runner().requestAbort();
        clock.start();
        w.Delay(60000);
        QVERIFY2(clock.elapsed() < 30000, qPrintable(QString::number(clock.elapsed())));

        w.runner().clearAbort();
        bool handled = false;
        QTimer::singleShot(20, &w, [&handled] { handled = true; });
        clock.start();
        w.Delay(150);
        QVERIFY2(clock.elapsed() >= 150, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(handled); // messages are pumped during the wait

        // A wait started inside another one (by a handler run meanwhile) leaves the outer one
        // its whole time, and each lasts at least its own.
        qint64 inner = 0;
        QTimer::singleShot(20, &w, [&w, &inner] {
            QElapsedTimer innerClock;
            innerClock.start();
            w.Delay(60);
            inner = innerClock.elapsed();
        });
        clock.start();
        w.Delay(200);
        QVERIFY2(clock.elapsed() >= 200, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(inner >= 60, qPrintable(QString::number(inner)));
        QVERIFY(!w.PauseTimer->isActive());

        // Stopping the pause timer from a handler ends a running wait at once.
        QTimer::singleShot(30, &w, [&w] { w.PauseTimerTimer(); });
        clock.start();
        w.Delay(60000);
        QVERIFY2(clock.elapsed() < 30000, qPrintable(QString::number(clock.elapsed())));
    }
};

ZEL_TEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
