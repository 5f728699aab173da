// The instrument settings dialog and its keys in the tool settings file.
#include "base/IniFile.h"
#include "teach/ui/TformOptions.h"
#include "tests/support/TestMain.h"
#include "tests/support/WindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

namespace {

const char *const kEdits[] = {
    "EGPIB1",
    "EGPIB2",
    "EditAgilent_OUTD_Spg",
    "EditAgilent_OUTD_Strom",
    "EditAgilent_IN1_2_Multiplexer",
    "EditAgilent_IN1_2_Spg",
    "EditAgilent_IN1_2_Spgmessung",
    "EditAgilent_IN1_2_Strom",
    "EditAgilent_IN1_2_Strommessung",
};

QLineEdit *edit(QDialog &dialog, const char *name) {
    return dialog.findChild<QLineEdit *>(QString::fromLatin1(name));
}

QStringList settingsLines(WindowFixture &fx) {
    QFile file(fx.settingsPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

WindowFixture::Config production(const QString &extraSettings = QString()) {
    WindowFixture::Config config;
    config.production = true;
    config.extraSettings = extraSettings;
    return config;
}

} // namespace

class TestTeachValuesOptions : public QObject {
    Q_OBJECT

private slots:
    void storedSettingsAreInEffectFromTheStart() {
        WindowFixture fx(production(QStringLiteral("[ieee]\r\ngpib1=5\r\n[Agilent]\r\n"
                                                   "Agilent_OUTD_Spg=101\r\n")));
        const GpibSettings &gpib = fx.window().state.gpib;
        QCOMPARE(gpib.GPIB1, QStringLiteral("5"));
        QCOMPARE(gpib.GPIB2, QString());
        QCOMPARE(gpib.Agilent_OUTD_Spg, QStringLiteral("101"));
        QCOMPARE(gpib.Agilent_IN1_2_Strommessung, QString());
        TformOptions &dialog = *fx.window().formOptions();
        QCOMPARE(edit(dialog, "EGPIB1")->text(), QStringLiteral("5"));
        QCOMPARE(edit(dialog, "EditAgilent_OUTD_Spg")->text(), QStringLiteral("101"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Optionen"));
        QVERIFY(!dialog.zelSimulation());
        QVERIFY(!dialog.daWerteStattZelWerte());
        QVERIFY(!dialog.isVisible());
    }

    void saveWritesTheNineKeysAndAbortRestoresTheEdits() {
        WindowFixture fx(production(QStringLiteral("[IEEE]\r\nGPIB1=7\r\n")));
        bool stillOpenAfterSave = false;
        QString afterAbort;
        fx.prompts().modalScript = [&](QDialog &dialog) {
            int n = 0;
            for (const char *name : kEdits)
                edit(dialog, name)->setText(QStringLiteral("(@%1)").arg(101 + n++));
            edit(dialog, "EGPIB1")->setText(QString()); // an empty address is stored empty
            dialog.findChild<QCheckBox *>("ZEL_Simulation")->setChecked(true);
            dialog.findChild<QPushButton *>("ButtonSave")->click();
            stillOpenAfterSave = dialog.isVisible();
            edit(dialog, "EGPIB2")->setText(QStringLiteral("unsaved"));
            dialog.findChild<QPushButton *>("ButtonAbort")->click();
            afterAbort = edit(dialog, "EGPIB2")->text();
            return dialog.isVisible() ? -1 : dialog.result();
        };
        fx.window().ButtonOptions->trigger();
        QCOMPARE(fx.prompts().modalCount, 1);
        QVERIFY(fx.prompts().errors.isEmpty());
        QVERIFY(stillOpenAfterSave);
        QCOMPARE(afterAbort, QStringLiteral("(@102)"));

        const GpibSettings &gpib = fx.window().state.gpib;
        QCOMPARE(gpib.GPIB1, QString());
        QCOMPARE(gpib.GPIB2, QStringLiteral("(@102)"));
        QCOMPARE(gpib.Agilent_IN1_2_Strommessung, QStringLiteral("(@109)"));

        // The file: section "IEEE" first, then "Agilent", keys in the dialog's order; the
        // check boxes are not stored.
        const QStringList lines = settingsLines(fx);
        const int ieee = lines.indexOf(QStringLiteral("[IEEE]"));
        QVERIFY(ieee >= 0);
        const QStringList expected = {
            "[IEEE]",
            "GPIB1=",
            "GPIB2=(@102)",
            "[Agilent]",
            "Agilent_OUTD_Spg=(@103)",
            "Agilent_OUTD_Strom=(@104)",
            "Agilent_IN1_2_Multiplexer=(@105)",
            "Agilent_IN1_2_Spg=(@106)",
            "Agilent_IN1_2_Spgmessung=(@107)",
            "Agilent_IN1_2_Strom=(@108)",
            "Agilent_IN1_2_Strommessung=(@109)",
        };
        QCOMPARE(lines.mid(ieee), expected);
        QVERIFY(lines.first().startsWith(QStringLiteral("[Ports]")));

        // Reopened: the edits hold the settings, the check box kept its state.
        fx.prompts().modalScript = [&](QDialog &dialog) {
            afterAbort = edit(dialog, "EGPIB2")->text();
            stillOpenAfterSave = dialog.findChild<QCheckBox *>("ZEL_Simulation")->isChecked();
            return int(QDialog::Rejected);
        };
        fx.window().ButtonOptions->trigger();
        QCOMPARE(afterAbort, QStringLiteral("(@102)"));
        QVERIFY(stillOpenAfterSave);
        QVERIFY(fx.window().formOptions()->zelSimulation());

        // After a restart the stored settings are read again; the check box starts cleared.
        fx.restart();
        QCOMPARE(fx.window().state.gpib.GPIB1, QString());
        QCOMPARE(fx.window().state.gpib.Agilent_OUTD_Strom, QStringLiteral("(@104)"));
        QCOMPARE(edit(*fx.window().formOptions(), "EditAgilent_IN1_2_Spg")->text(),
                 QStringLiteral("(@106)"));
        QVERIFY(!fx.window().formOptions()->zelSimulation());
    }

    void abortWithoutSaveChangesNothing() {
        WindowFixture fx(production(QStringLiteral("[IEEE]\r\nGPIB2=9\r\n")));
        const QStringList before = settingsLines(fx);
        fx.prompts().modalScript = [&](QDialog &dialog) {
            edit(dialog, "EGPIB2")->setText(QStringLiteral("22"));
            dialog.findChild<QPushButton *>("ButtonAbort")->click();
            return dialog.result();
        };
        fx.window().ButtonOptions->trigger();
        QCOMPARE(fx.window().state.gpib.GPIB2, QStringLiteral("9"));
        QCOMPARE(edit(*fx.window().formOptions(), "EGPIB2")->text(), QStringLiteral("9"));
        QCOMPARE(settingsLines(fx), before);
    }

    void unwritableSettingsFileIsReportedAfterTheSettingsChanged() {
        WindowFixture fx(production());
        // A folder where the settings file should be: it can be neither read nor replaced.
        QVERIFY(QFile::remove(fx.settingsPath()));
        QVERIFY(QDir().mkdir(fx.settingsPath()));
        fx.prompts().modalScript = [&](QDialog &dialog) {
            edit(dialog, "EGPIB1")->setText(QStringLiteral("3"));
            dialog.findChild<QPushButton *>("ButtonSave")->click();
            return int(QDialog::Rejected);
        };
        fx.window().ButtonOptions->trigger();
        QCOMPARE(
            fx.prompts().errors,
            QStringList{
                QStringLiteral("nach %1 kann nicht geschrieben werden").arg(fx.settingsPath())});
        QCOMPARE(fx.window().state.gpib.GPIB1, QStringLiteral("3"));
    }
};

ZEL_TEST_MAIN(TestTeachValuesOptions)
#include "test_teachvalues_options.moc"
