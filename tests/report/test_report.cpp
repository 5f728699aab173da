// The commissioning report as a customer gets it: written by the window and by zelctl against
// the device simulator, and read back as text with pdftotext.
#include "params/ParamTable.h"
#include "params/SettingsModel.h"
#include "tests/support/TestMain.h"
#include "tests/support/WindowFixture.h"
#include "tests/support/ZelctlProcess.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>

namespace {

// The text of a PDF in the order it was drawn, every run of blanks and line ends one blank;
// pages end with a form feed. Empty when pdftotext (poppler-utils) fails.
QString pdfText(const QString &path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {"-raw", "-enc", "UTF-8", path, "-"});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    QString text = QString::fromUtf8(process.readAllStandardOutput());
    text.replace(QRegularExpression(QStringLiteral("[ \\t\\r\\n]+")), QStringLiteral(" "));
    return text;
}

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every page carries "page n of m" with the right n and m.
void verifyPageLines(const QString &text, const QString &format) {
    const int pages = int(text.count(QLatin1Char('\f')));
    QVERIFY2(pages >= 2, qPrintable(text));
    for (int page = 1; page <= pages; ++page)
        QVERIFY2(text.contains(format.arg(page).arg(pages)), qPrintable(format.arg(page)));
}

// Every setting as a row of caption, value and unit, as the window's pages show them: the
// caption of its label (or its group when it has none) with the unit in brackets moved into
// a column of its own; the password hidden.
void verifySettingsAsShown(TformMain &w, const QString &text) {
    static const QRegularExpression withUnit(QStringLiteral("^(.*) \\[(.*)\\]$"));
    QMap<QString, int> rows;
    for (const ParamDef &row : ParamTable::rows()) {
        QString caption = *row.label ? w.ctl<QLabel>(QString::fromLatin1(row.label))->text()
                                     : w.ctl<QGroupBox>(QString::fromLatin1(row.groupBox))->title();
        if (caption.endsWith(QLatin1Char(':')))
            caption.chop(1);
        QString unit;
        const QRegularExpressionMatch match = withUnit.match(caption);
        if (match.hasMatch()) {
            caption = match.captured(1);
            unit = match.captured(2);
        }
        QWidget *control = w.settingsControl(row);
        QString value;
        if (row.kind == ParamKind::Password)
            value = QStringLiteral("****");
        else if (auto *edit = qobject_cast<QLineEdit *>(control))
            value = edit->text();
        else if (auto *list = qobject_cast<QComboBox *>(control))
            value = list->currentText();
        else
            value = qobject_cast<QLabel *>(control)->text();
        QVERIFY2(!value.isEmpty(), row.name);
        ++rows[QStringList{caption, value, unit}.join(QLatin1Char(' ')).simplified()];
    }
    for (auto row = rows.cbegin(); row != rows.cend(); ++row)
        QVERIFY2(text.count(row.key()) >= row.value(), qPrintable(row.key()));
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private slots:
    void windowReportShowsWhatThePagesShow();
    void zelctlReportsTheDeviceOrAFile();
    void cleanup();

private:
    void startSimulator(const QStringList &options);
    using Result = ZelctlResult;
    Result zelctl(const QStringList &arguments);
    QString simulatorLog() const { return QString::fromUtf8(contents(log_)); }

    QTemporaryDir dir_;
    QProcess sim_;
    QString pty_;
    QString log_;
};

void TestReport::cleanup() {
    if (sim_.state() != QProcess::NotRunning) {
        sim_.terminate();
        sim_.waitForFinished(5000);
    }
}

void TestReport::startSimulator(const QStringList &options) {
    log_ = dir_.filePath(QStringLiteral("sim.log"));
    pty_ = startZelsim(sim_, ZELSIM_PATH, log_, options);
    QVERIFY2(pty_.startsWith("/dev/pts/"), qPrintable(pty_));
}

TestReport::Result TestReport::zelctl(const QStringList &arguments) {
    // The tool settings file is looked for beside the program; none here, so German.
    return runZelctl(ZELCTL_PATH, pty_, arguments);
}

void TestReport::windowReportShowsWhatThePagesShow() {
    WindowFixture f;
    f.device().withModel([](sim::DeviceModel &device) {
        device.setNoiseEnabled(false);
        device.setAppliedPressure(12.5);
        device.setRecalibrationSupported(false);
        device.setSetting("Password", 4711);
    });
    TformMain &w = f.window();
    const QString pdf = f.dir() + QStringLiteral("/report.pdf");
    f.prompts().modalScript = [](QDialog &dialog) {
        dialog.findChild<QLineEdit *>("EditTechnician")->setText("Anna Schmidt");
        dialog.findChild<QLineEdit *>("EditSite")->setText("Werk 4");
        dialog.findChild<QLineEdit *>("EditTag")->setText("RLT 4");
        dialog.findChild<QPlainTextEdit *>("EditRemarks")->setPlainText("Filter getauscht.");
        dialog.findChild<QCheckBox *>("CheckLiveValues")->setChecked(true);
        dialog.findChild<QSpinBox *>("SpinCheckSeconds")->setValue(3);
        return int(QDialog::Accepted);
    };
    f.prompts().saveAnswers = {pdf};
    // No settings loaded yet: the report reads them from the device first.
    w.Inbetriebnahmeprotokoll->trigger();
    QVERIFY2(f.prompts().errors.isEmpty(), qPrintable(f.prompts().errors.join('\n')));
    const QString de = pdfText(pdf);
    QVERIFY2(!de.isEmpty(), "pdftotext (poppler-utils, see scripts/setup) read no text");
    verifySettingsAsShown(w, de);
    QVERIFY(!de.contains("4711"));
    verifyPageLines(de, QStringLiteral("Seite %1 von %2"));
    QVERIFY(de.contains("Techniker Anna Schmidt"));
    QVERIFY(de.contains("Bemerkungen Filter getauscht."));
    QVERIFY(de.contains("Gerätevariante ohne Nachkalibrierung"));
    QVERIFY(de.contains("3 Messungen in 3 Sek."));
    const QString pressure =
        QStringLiteral("12") + w.state.decimalSeparator + QStringLiteral("5 Pa");
    QVERIFY2(de.contains(QStringList{"int. Druck", pressure, pressure, pressure, "0"}.join(' ')),
             qPrintable(de.mid(de.lastIndexOf("Messwertkontrolle"))));

    // In English, over the same file: replaced only once the user agrees. The fields come
    // back from the last report, the remarks do not.
    w.SpracheEngClick();
    const QByteArray german = contents(pdf);
    QString technician, remarks;
    f.prompts().modalScript = [&](QDialog &dialog) {
        technician = dialog.findChild<QLineEdit *>("EditTechnician")->text();
        remarks = dialog.findChild<QPlainTextEdit *>("EditRemarks")->toPlainText();
        dialog.findChild<QSpinBox *>("SpinCheckSeconds")->setValue(1);
        return int(QDialog::Accepted);
    };
    f.prompts().saveAnswers = {pdf};
    f.prompts().confirmAnswers = {false};
    w.Inbetriebnahmeprotokoll->trigger();
    QCOMPARE(technician, QStringLiteral("Anna Schmidt"));
    QVERIFY(remarks.isEmpty());
    QCOMPARE(contents(pdf), german);
    f.prompts().saveAnswers = {pdf};
    f.prompts().confirmAnswers = {true};
    w.Inbetriebnahmeprotokoll->trigger();
    const QString en = pdfText(pdf);
    verifySettingsAsShown(w, en);
    QVERIFY(!en.contains("4711"));
    verifyPageLines(en, QStringLiteral("Page %1 of %2"));
    QVERIFY(en.contains("1 readings in 1 sec"));

    // A value edited on a page and not sent is not what the device holds: the report shows the
    // device's value, and the page keeps the edit.
    const ParamDef &warnTop = *ParamTable::find(QStringLiteral("WarnPup"));
    const QString deviceValue = w.settings().text(warnTop);
    w.settings().setText(warnTop, QStringLiteral("173"));
    f.prompts().saveAnswers = {pdf};
    f.prompts().confirmAnswers = {true};
    w.Inbetriebnahmeprotokoll->trigger();
    const QString edited = pdfText(pdf);
    QVERIFY2(!edited.contains(" 173 "), qPrintable(edited));
    QCOMPARE(f.ctl<QLineEdit>("WarnPup")->text(), QStringLiteral("173"));
    w.settings().setText(warnTop, deviceValue);
    verifySettingsAsShown(w, edited);

    // A configuration file's settings are marked as such, and no device is measured for them.
    const QString zel = f.dir() + QStringLiteral("/plant.zel");
    f.prompts().saveAnswers = {zel};
    w.SaveConf->trigger();
    f.prompts().openAnswers = {zel};
    w.LoadConf->trigger();
    bool checkOffered = true;
    f.prompts().modalScript = [&](QDialog &dialog) {
        checkOffered = dialog.findChild<QCheckBox *>("CheckLiveValues")->isEnabled();
        return int(QDialog::Accepted);
    };
    const QString fromFile = f.dir() + QStringLiteral("/plant.pdf");
    f.prompts().saveAnswers = {fromFile};
    f.device().clearLog();
    w.Inbetriebnahmeprotokoll->trigger();
    QVERIFY(!checkOffered);
    QVERIFY(f.commands().isEmpty());
    const QString file = pdfText(fromFile);
    QVERIFY2(file.contains("From file plant.zel, not read from a device"), qPrintable(file));
    QVERIFY(!file.contains("Live-value check"));
    verifySettingsAsShown(w, file);
    QVERIFY(f.prompts().errors.isEmpty());
}

void TestReport::zelctlReportsTheDeviceOrAFile() {
    QVERIFY(dir_.isValid());
    startSimulator({"--pressure", "12.5"});
    QCOMPARE(zelctl({"set", "Password=4711"}).code, 0);
    const QString pdf = dir_.filePath("ahu4.pdf");
    Result r = zelctl({"--lang", "en", "report", "-o", pdf, "--check", "2", "--technician",
                       "A. Smith", "--site", "Plant 4", "--tag", "AHU 4"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY2(r.out.startsWith(pdf + ": report written"), qPrintable(r.out));
    const QString en = pdfText(pdf);
    QVERIFY2(!en.isEmpty(), "pdftotext (poppler-utils, see scripts/setup) read no text");
    QVERIFY(!en.contains("4711"));
    QVERIFY(en.contains("Password (****) ****"));
    QVERIFY(en.contains("Device variant with re-calibration"));
    QVERIFY(en.contains("Port COM1 (" + pty_ + ")"));
    QVERIFY2(en.contains("int. pressure 12.5 Pa 12.5 Pa 12.5 Pa 0"), qPrintable(en));
    verifyPageLines(en, QStringLiteral("Page %1 of %2"));

    // Without --force an existing file stays, and the device is not asked anything.
    const QByteArray before = contents(pdf);
    const QString log = simulatorLog();
    QCOMPARE(zelctl({"report", "-o", pdf}).code, 3);
    QCOMPARE(contents(pdf), before);
    QCOMPARE(simulatorLog(), log);

    // A configuration file's settings, without a device; a file that is none writes nothing.
    const QString zel = dir_.filePath("plant.zel");
    QCOMPARE(zelctl({"read", "-o", zel}).code, 0);
    // (A port that is no serial port: opening it would fail.)
    r = zelctl(
        {"--port", "/dev/null", "--lang", "de", "report", "--from", zel, "-o", pdf, "--force"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const QString de = pdfText(pdf);
    QVERIFY2(de.contains("Aus Datei plant.zel, nicht von einem Gerät gelesen"), qPrintable(de));
    QVERIFY(!de.contains("4711"));
    verifyPageLines(de, QStringLiteral("Seite %1 von %2"));
    const QString none = dir_.filePath("none.pdf");
    QCOMPARE(zelctl({"report", "--from", log_, "-o", none}).code, 3);
    QCOMPARE(zelctl({"report", "--from", zel, "--check", "2", "-o", none}).code, 3);
    QVERIFY(!QFile::exists(none));
}

ZEL_TEST_MAIN(TestReport)
#include "test_report.moc"
