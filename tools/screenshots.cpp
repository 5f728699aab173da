// Saves pictures of every page of the tool in German, English and French, filled from the
// device simulator: settings loaded, a measurement running, a re-calibration dialog open and the
// teach tab. Usage: zel_screenshots OUTPUT_DIR
#include "app/TformMain.h"
#include "app/ZelApplication.h"
#include "base/ui/ScrolledPage.h"
#include "calib/ui/TFormKalibrieren.h"
#include "sim/PtyDevice.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

// Answers every prompt at once, except the re-calibration dialog, which is photographed.
class ScreenshotPrompts : public UserPrompts {
public:
    QString outputDir;
    QString language;
    void showError(QWidget *, const QString &text) override {
        std::fprintf(stderr, "error shown: %s\n", qPrintable(text));
    }
    void showMessage(QWidget *, const QString &) override {}
    bool confirm(QWidget *, const QString &) override { return false; }
    int execModal(QDialog &dialog) override {
        dialog.show();
        dialog.adjustSize();
        QCoreApplication::processEvents();
        if (qobject_cast<TFormKalibrieren *>(&dialog))
            dialog.grab().save(outputDir + "/calibration-dialog-" + language + ".png");
        dialog.hide();
        return QDialog::Rejected;
    }
};

void settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The window as high as the page's whole content needs, so no picture shows a scroll bar.
void shoot(TformMain &window, int page, const QString &path) {
    window.PageControl->setCurrentIndex(page);
    settle(50);
    QWidget *sheet = window.PageControl->currentWidget();
    window.resize(window.width(),
                  window.height() + ScrolledPage::naturalHeight(sheet) - sheet->height());
    settle(50);
    // Wrapped rows may still want a little more.
    auto *scroll = sheet->findChild<QScrollArea *>();
    for (int step = 0; step < 30 && scroll && scroll->verticalScrollBar()->isVisible(); ++step) {
        window.resize(window.width(), window.height() + 4);
        settle(20);
    }
    window.grab().save(path);
}

} // namespace

int main(int argc, char *argv[]) {
    ZelApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    sim::PtyDevice device(0);
    const QString pty = device.start();
    device.withModel([](sim::DeviceModel &model) { model.setAppliedPressure(40.0); });
    QTemporaryDir settingsDir;
    const char *const languages[3] = {"de", "en", "fr"};
    for (int language = 0; language < 3; ++language) {
        QFile file(settingsDir.filePath("ZEL ToolConfig.ini"));
        file.open(QIODevice::WriteOnly);
        file.write(QStringLiteral("[Miscellaneous]\r\nToolLanguage=%1\r\n[Ports]\r\nCOM1=%2\r\n")
                       .arg(language)
                       .arg(pty)
                       .toUtf8());
        file.close();
        auto prompts = std::make_shared<ScreenshotPrompts>();
        prompts->outputDir = out;
        prompts->language = QString::fromLatin1(languages[language]);
        TformMain::Options options;
        options.executableDir = settingsDir.path();
        options.prompts = prompts;
        options.production = true;
        TformMain window(std::move(options));
        window.show();
        const QString lang = prompts->language;
        window.ButtonLaden->click();
        window.findChild<QPushButton *>("ButtonLoadTeach")->click();
        shoot(window, 0, out + "/teach-" + lang + ".png");
        shoot(window, 1, out + "/scaling-" + lang + ".png");
        shoot(window, 2, out + "/warnings-" + lang + ".png");
        shoot(window, 3, out + "/settings-" + lang + ".png");
        window.PageControl->setCurrentIndex(4);
        window.findChild<QPushButton *>("ButtonConnection")->click();
        window.TimerMessung->setInterval(20);
        settle(1500);
        shoot(window, 4, out + "/measurement-" + lang + ".png");
        if (window.state.measurementRunning)
            window.findChild<QPushButton *>("ButtonConnection")->click();
        window.findChild<QPushButton *>("ButtonCalibPlus")->click();
        std::printf("%s: pictures written to %s\n", languages[language], qPrintable(out));
    }
    device.stop();
    return 0;
}
