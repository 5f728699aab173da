// Saving the settings pages to a configuration file and loading them again, through the menu
// items of the window.
#include "app/LanguageApplier.h"
#include "base/IniFile.h"
#include "params/ConfigFile.h"
#include "params/SettingsModel.h"
#include "tests/params/test_configfile_sizelimit.h"
#include "tests/support/TestMain.h"
#include "tests/support/WindowFixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString kFilter = QStringLiteral("ZEL Data Files (*.zel)|*.ZEL;*.zel");

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QComboBox *combo(TformMain &w, const char *name) {
    return w.ctl<QComboBox>(name);
}

void setMode(TformMain &w, int mode) {
    combo(w, "ExtPress")->setCurrentIndex(mode);
    w.settings().rebuildUnitLists(mode);
}

// Every setting with a value of its own; the unit lists as given.
void fillPages(TformMain &w, int mode, int unitIn1, int unitIn2) {
    setMode(w, mode);
    int n = 0;
    for (const ParamDef *row : ConfigFile::rows()) {
        ++n;
        const QString control = QString::fromLatin1(row->control);
        if (ConfigFile::isText(*row)) {
            w.ctl<QLineEdit>(control)->setText(QStringLiteral("%1,5").arg(-n));
        } else if (control != QLatin1String("ExtPress")) {
            QComboBox *list = w.ctl<QComboBox>(control);
            list->setCurrentIndex((n + 1) % list->count());
        }
    }
    w.ctl<QLineEdit>("Password")->setText("0042");
    combo(w, "UnitIN1")->setCurrentIndex(unitIn1);
    combo(w, "UnitIN2")->setCurrentIndex(unitIn2);
    combo(w, "MeasRange1")->setCurrentIndex(combo(w, "MeasRange2")->currentIndex());
}

// Different from whatever fillPages left: another mode, empty fields, no selections.
void scramblePages(TformMain &w, int mode) {
    setMode(w, (mode + 1) % 4);
    for (const ParamDef *row : ConfigFile::rows()) {
        const QString control = QString::fromLatin1(row->control);
        if (ConfigFile::isText(*row))
            w.ctl<QLineEdit>(control)->setText("x");
        else
            w.ctl<QComboBox>(control)->setCurrentIndex(-1);
    }
    combo(w, "MeasRange1")->setCurrentIndex(-1);
}

// What the settings controls show: texts, selections and the items of every list.
QStringList pages(TformMain &w) {
    QStringList shown;
    for (const ParamDef *row : ConfigFile::rows()) {
        const QString control = QString::fromLatin1(row->control);
        if (ConfigFile::isText(*row)) {
            shown << control + "=" + w.ctl<QLineEdit>(control)->text();
            continue;
        }
        QComboBox *list = w.ctl<QComboBox>(control);
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        shown << QStringLiteral("%1#%2#%3")
                     .arg(control)
                     .arg(list->currentIndex())
                     .arg(items.join('|'));
    }
    shown << QStringLiteral("MeasRange1#%1").arg(combo(w, "MeasRange1")->currentIndex());
    shown << QStringLiteral("DeviceAdr=") + w.ctl<QLabel>("DeviceAdr")->text();
    return shown;
}

QStringList teachCaptions(TformMain &w) {
    QStringList captions;
    for (QLabel *label : w.TeachZELSheet->findChildren<QLabel *>())
        captions << label->text();
    return captions;
}

} // namespace

class TestConfigFileWindow : public QObject {
    Q_OBJECT

private:
    static WindowFixture::Config noDevice() {
        WindowFixture::Config config;
        config.startDevice = false; // configuration files never talk to the device
        return config;
    }

    static void save(WindowFixture &fx, const QString &path) {
        fx.prompts().saveAnswers << path;
        fx.window().SaveConf->trigger();
    }

    static void load(WindowFixture &fx, const QString &path) {
        fx.prompts().openAnswers << path;
        fx.window().LoadConf->trigger();
    }

private slots:
    void saveThenLoadRestoresEveryControlInEveryMode() {
        WindowFixture fx(noDevice());
        TformMain &w = fx.window();
        const QString path = fx.dir() + "/Config1.zel";
        for (int mode = 0; mode < 4; ++mode) {
            const int longIn1 = mode >= 2 ? 4 : 2;
            const int longIn2 = mode % 2 ? 4 : 2;
            for (const auto &[in1, in2] : {std::pair{longIn1 - 1, 0}, std::pair{0, longIn2 - 1}}) {
                fillPages(w, mode, in1, in2);
                const QStringList before = pages(w);
                w.setStatus("vorher");
                save(fx, path);
                QVERIFY2(fx.prompts().errors.isEmpty(), qPrintable(fx.prompts().errors.join('\n')));
                QCOMPARE(fx.status(), QStringLiteral("Daten erfolgreich gespeichert"));

                scramblePages(w, mode);
                w.setStatus("vorher");
                load(fx, path);
                QVERIFY2(fx.prompts().errors.isEmpty(), qPrintable(fx.prompts().errors.join('\n')));
                QCOMPARE(fx.status(), QStringLiteral("Daten erfolgreich geladen"));
                QCOMPARE(pages(w), before);
                QCOMPARE(w.settings().unitListMode(), mode);
            }
        }
        const TestPrompts::FileDialogCall &saveCall = fx.prompts().fileDialogs.first();
        QCOMPARE(saveCall.dir, fx.dir());
        QCOMPARE(saveCall.fileName, QStringLiteral("Config1.zel"));
        QCOMPARE(saveCall.filter, kFilter);
        const TestPrompts::FileDialogCall &openCall = fx.prompts().fileDialogs.at(1);
        QCOMPARE(openCall.dir, fx.dir());
        QCOMPARE(openCall.fileName, QString());
        QCOMPARE(openCall.filter, kFilter);
    }

    void offTextOfTheInputUnitsIsStoredAsThree() {
        WindowFixture fx(noDevice());
        TformMain &w = fx.window();
        const QString path = fx.dir() + "/units.zel";
        fillPages(w, 0, 1, 0);
        w.ctl<QLabel>("DeviceAdr")->setText(" 5");
        save(fx, path);
        IniFile ini(path);
        ini.load();
        QCOMPARE(ini.readString("Display", "UnitIN1"), QStringLiteral("3"));
        QCOMPARE(ini.readString("Display", "UnitIN2"), QStringLiteral("0"));
        QCOMPARE(ini.readString("Miscellaneous", "Password"), QStringLiteral("0042"));
        QVERIFY(!readAll(path).contains("DeviceAdr"));

        scramblePages(w, 0);
        load(fx, path);
        QCOMPARE(combo(w, "UnitIN1")->currentIndex(), 1);
        QCOMPARE(combo(w, "UnitIN1")->currentText(), QStringLiteral("aus"));

        // The same value in a mode where IN-1 measures pressure: the off-text of that list.
        ini.writeString("Configuration extern", "ExtPress", "2");
        ini.save();
        load(fx, path);
        QComboBox *in1 = combo(w, "UnitIN1");
        QCOMPARE(in1->count(), 4);
        QCOMPARE(in1->itemText(0), QStringLiteral("Pa"));
        QCOMPARE(in1->currentIndex(), 3);
        QCOMPARE(in1->currentText(), QStringLiteral("aus"));
        QCOMPARE(combo(w, "UnitIN2")->count(), 2); // IN-2 still measures humidity
        QCOMPARE(combo(w, "UnitIN2")->currentIndex(), 0);
        QCOMPARE(w.settings().unitListMode(), 2);
    }

    void fileWithOnlyTheRangeEmptiesTheRest() {
        WindowFixture fx(noDevice());
        TformMain &w = fx.window();
        fillPages(w, 3, 2, 2);
        w.ctl<QLabel>("DeviceAdr")->setText(" 7");
        const QStringList captions = teachCaptions(w);
        const QString path = fx.dir() + "/range.zel";
        writeAll(path, "[Miscellaneous]\r\nMeasRange=1\r\n");
        load(fx, path);
        QVERIFY(fx.prompts().errors.isEmpty());
        QCOMPARE(fx.status(), QStringLiteral("Daten erfolgreich geladen"));
        for (const ParamDef *row : ConfigFile::rows()) {
            const QString control = QString::fromLatin1(row->control);
            if (ConfigFile::isText(*row))
                QCOMPARE(w.ctl<QLineEdit>(control)->text(), QString());
            else if (control != QLatin1String("MeasRange2"))
                QCOMPARE(w.ctl<QComboBox>(control)->currentIndex(), 0);
        }
        QCOMPARE(combo(w, "MeasRange1")->currentIndex(), 1);
        QCOMPARE(combo(w, "MeasRange2")->currentIndex(), 1);
        QCOMPARE(combo(w, "MeasRange2")->currentText(), QStringLiteral("+/- 100 Pa"));
        QCOMPARE(combo(w, "UnitIN1")->itemText(0), QStringLiteral("°C"));
        QCOMPARE(combo(w, "UnitIN2")->count(), 2);
        QCOMPARE(w.settings().unitListMode(), 0);
        QCOMPARE(w.ctl<QLabel>("DeviceAdr")->text(), QStringLiteral(" 7"));
        // Selections made by the load run no change handler of the range list.
        QCOMPARE(teachCaptions(w), captions);
    }

    void readingRulesForBadIntegersAndIndexes() {
        WindowFixture fx(noDevice());
        TformMain &w = fx.window();
        const QString path = fx.dir() + "/bad.zel";
        writeAll(path, "[Signals]\nSignalP=7\nSignalIN1=-1\nSignalIN2=1e999\n[Relais]\n"
                       "RelAssign=x\nRelAck=1\nRelAck=0\n[Miscellaneous]\nMeasRange=5\n"
                       "[Scalings]\nScalPup=1e999\n[Display]\nUnitIN1=2\n");
        load(fx, path);
        QVERIFY(fx.prompts().errors.isEmpty());
        QCOMPARE(combo(w, "SignalP")->currentIndex(), -1);
        QCOMPARE(combo(w, "SignalIN1")->currentIndex(), -1);
        QCOMPARE(combo(w, "SignalIN2")->currentIndex(), 0);
        QCOMPARE(combo(w, "RelAssign")->currentIndex(), 0);
        QCOMPARE(combo(w, "RelAck")->currentIndex(), 1); // the first of two keys counts
        QCOMPARE(combo(w, "MeasRange1")->currentIndex(), -1);
        QCOMPARE(combo(w, "MeasRange2")->currentIndex(), -1);
        QCOMPARE(combo(w, "UnitIN1")->currentIndex(), -1); // mode 0 has two temperature items
        QCOMPARE(w.ctl<QLineEdit>("ScalPup")->text(), QStringLiteral("1e999"));

        // A list without selection goes back into the file as -1.
        save(fx, path);
        IniFile ini(path);
        ini.load();
        QCOMPARE(ini.readString("Signals", "SignalP"), QStringLiteral("-1"));
        QCOMPARE(ini.readString("Miscellaneous", "MeasRange"), QStringLiteral("-1"));
    }

    void loadsAWindowsFile() {
        WindowFixture fx(noDevice());
        TformMain &w = fx.window();
        const QString path = fx.dir() + "/WINDOWS.ZEL";
        writeAll(path, "[scalings]\r\nSCALPDOWN=12,5\r\nscalpup = 250 \r\n[WARNINGS]\r\n"
                       "warnphyst=3\r\n[configuration EXTERN]\r\nextpress=3\r\n[display]\r\n"
                       "unitin1=1\r\nUNITIN2=3\r\n[MISCELLANEOUS]\r\npassword=1234\r\n");
        load(fx, path);
        QVERIFY2(fx.prompts().errors.isEmpty(), qPrintable(fx.prompts().errors.join('\n')));
        QCOMPARE(w.ctl<QLineEdit>("ScalPdown")->text(), QStringLiteral("12,5"));
        QCOMPARE(w.ctl<QLineEdit>("ScalPup")->text(), QStringLiteral("250"));
        QCOMPARE(w.ctl<QLineEdit>("WarnPHyst")->text(), QStringLiteral("3"));
        QCOMPARE(w.ctl<QLineEdit>("Password")->text(), QStringLiteral("1234"));
        QCOMPARE(combo(w, "ExtPress")->currentIndex(), 3);
        QCOMPARE(combo(w, "UnitIN1")->currentText(), QStringLiteral("hPa"));
        QCOMPARE(combo(w, "UnitIN2")->currentIndex(), 3);
        QCOMPARE(combo(w, "UnitIN2")->currentText(), QStringLiteral("aus"));
    }

    void savingIntoATeachValueFileKeepsItsSections() {
        WindowFixture fx(noDevice());
        TformMain &w = fx.window();
        const QString path = fx.dir() + "/Teachwerte1.zel";
        const QByteArray teach = "[interner Druck]\r\nLabelTP1=12\r\nLabelTP2=-3\r\n\r\n"
                                 "[Input 1]\r\nLabelIN1=5\r\n\r\n[Input 2]\r\nLabelIN2=6\r\n";
        writeAll(path, teach);
        fillPages(w, 1, 0, 3);
        save(fx, path);
        const QByteArray saved = readAll(path);
        QVERIFY(saved.startsWith(teach));
        QVERIFY(saved.contains("\r\n[Scalings]\r\nScalPdown=-1,5\r\n"));
        QVERIFY(saved.contains("[Display]\r\nUnitP="));
        QVERIFY(saved.contains("\r\nUnitIN2=3\r\n"));

        scramblePages(w, 1);
        load(fx, path);
        QCOMPARE(w.ctl<QLineEdit>("ScalPdown")->text(), QStringLiteral("-1,5"));
        QCOMPARE(combo(w, "UnitIN2")->currentIndex(), 3);
    }

    void failedSaveLeavesTheOldFileAndTheStatus() {
        WindowFixture fx(noDevice());
        TformMain &w = fx.window();
        const QString path = fx.dir() + "/old.zel";
        const QByteArray old = "[Scalings]\r\nScalPdown=1\r\n; keep\r\n";
        writeAll(path, old);
        fillPages(w, 0, 0, 0);
        w.setStatus("vorher");
        {
            const FileSizeLimit limit(64);
            save(fx, path);
        }
        QCOMPARE(fx.prompts().errors,
                 QStringList({QStringLiteral("nach %1 kann nicht geschrieben werden").arg(path)}));
        QCOMPARE(readAll(path), old);
        QCOMPARE(fx.status(), QStringLiteral("vorher"));
        QCOMPARE(QDir(fx.dir()).entryList({"*.zel"}, QDir::Files), QStringList({"old.zel"}));
    }

    void filesThatAreNoConfigurationChangeNothing() {
        WindowFixture fx(noDevice());
        TformMain &w = fx.window();
        fillPages(w, 2, 3, 1);
        w.setStatus("vorher");
        const QStringList before = pages(w);

        QByteArray binary;
        for (int i = 0; i < 3000; ++i)
            binary.append(char((i * 131 + 7) % 256));
        const QList<QPair<QString, QByteArray>> files = {
            {"empty.zel", QByteArray()},
            {"binary.zel", binary},
            {"nosections.zel", "ScalPdown=5\r\nExtPress=1\r\n"},
            {"teachonly.zel", "[interner Druck]\r\nLabelTP1=12\r\n"},
        };
        for (const auto &[name, bytes] : files)
            writeAll(fx.dir() + "/" + name, bytes);
        QStringList names;
        for (const auto &file : files)
            names << file.first;
        names << "missing.zel"
              << ".";

        for (const QString &name : names) {
            const QString path = QDir::cleanPath(fx.dir() + "/" + name);
            fx.prompts().errors.clear();
            load(fx, path);
            QCOMPARE(fx.prompts().errors.size(), 1);
            QVERIFY2(fx.prompts().errors.first().contains(path),
                     qPrintable(fx.prompts().errors.first()));
            QCOMPARE(pages(w), before);
            QCOMPARE(fx.status(), QStringLiteral("vorher"));
        }

        // Cancel in either dialog changes nothing and shows nothing.
        fx.prompts().errors.clear();
        w.LoadConf->trigger();
        w.SaveConf->trigger();
        QVERIFY(fx.prompts().errors.isEmpty());
        QCOMPARE(pages(w), before);
        QCOMPARE(fx.status(), QStringLiteral("vorher"));
    }

    void hugeLinesAndDuplicateKeysLoad() {
        WindowFixture fx(noDevice());
        TformMain &w = fx.window();
        const QString path = fx.dir() + "/long.zel";
        writeAll(path, "[Warnings]\nWarnPup=" + QByteArray(1000000, '9') +
                           "\nWarnPup=1\nWarnPdown=" + QByteArray(1000000, '=') +
                           "\n[Sound]\nSound=1\nSound=0\n");
        load(fx, path);
        QVERIFY(fx.prompts().errors.isEmpty());
        QCOMPARE(fx.status(), QStringLiteral("Daten erfolgreich geladen"));
        QVERIFY(w.ctl<QLineEdit>("WarnPup")->text().startsWith("9999"));
        QVERIFY(w.ctl<QLineEdit>("WarnPdown")->text().startsWith("===="));
        QCOMPARE(combo(w, "Sound")->currentIndex(), 1);
    }

    void dialogsStartInTheHomeFolderWhenTheToolFolderIsNotWritable() {
        auto prompts = std::make_shared<TestPrompts>();
        TformMain::Options options;
        options.executableDir = QDir::tempPath() + "/zeltool-no-such-folder/bin";
        options.prompts = prompts;
        TformMain w(std::move(options));
        w.SaveConf->trigger();
        w.LoadConf->trigger();
        QCOMPARE(prompts->fileDialogs.size(), 2);
        QCOMPARE(prompts->fileDialogs[0].dir, QDir::homePath());
        QCOMPARE(prompts->fileDialogs[1].dir, QDir::homePath());
    }
};

ZEL_TEST_MAIN(TestConfigFileWindow)
#include "test_configfile_window.moc"
