// The unit-conversion dialog behind the double-click on a pressure field.
#include "params/ui/TformBerFaktor.h"
#include "tests/support/TestMain.h"
#include "tests/support/WindowFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace {

QLineEdit *valueField(QDialog &dialog) {
    return dialog.findChild<QLineEdit *>("EDruck");
}
QComboBox *unitList(QDialog &dialog) {
    return dialog.findChild<QComboBox *>("UnitD");
}
void paste(QDialog &dialog) {
    dialog.findChild<QPushButton *>("ButtonBerechn")->click();
}

// Enters a value and a unit (picked from the list when it is there, else typed), presses
// "Paste" and ends the modal run with the dialog's result.
std::function<int(QDialog &)> convert(const QString &value, const QString &unit) {
    return [value, unit](QDialog &dialog) {
        valueField(dialog)->setText(value);
        QComboBox *units = unitList(dialog);
        const int item = units->findText(unit);
        if (item >= 0)
            units->setCurrentIndex(item);
        else
            units->setEditText(unit);
        paste(dialog);
        return dialog.result();
    };
}

const QStringList kPressureFields = {"ScalPdown",    "ScalPup",      "ScalIN1Pdown", "ScalIN1Pup",
                                     "ScalIN2Pdown", "ScalIN2Pup",   "WarnPdown",    "WarnPup",
                                     "WarnPHyst",    "WarnIN1Pdown", "WarnIN1Pup",   "WarnIN1PHyst",
                                     "WarnIN2Pdown", "WarnIN2Pup",   "WarnIN2PHyst"};

} // namespace

class TestUnitConversionDialog : public QObject {
    Q_OBJECT

private:
    static WindowFixture::Config noDevice() {
        WindowFixture::Config config;
        config.startDevice = false;
        return config;
    }

    static void doubleClick(WindowFixture &fx, const QString &field) {
        fx.window().PressureFieldDblClick(fx.ctl<QLineEdit>(field));
    }

private slots:
    void dialogAsDesigned() {
        WindowFixture fx(noDevice());
        QDialog &dialog = *fx.window().formBerFaktor();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Unit -> Pa"));
        QCOMPARE(dialog.findChild<QLabel *>("Label2")->text(), QStringLiteral("Unit ->Pa"));
        QCOMPARE(valueField(dialog)->text(), QString());
        QCOMPARE(unitList(dialog)->currentText(), QStringLiteral("Unit"));
        QStringList items;
        for (int i = 0; i < unitList(dialog)->count(); ++i)
            items << unitList(dialog)->itemText(i);
        QCOMPARE(items,
                 QStringList({"hPa", "kPa", "mbar", "mmH2O", "mmHg", "Psi", "inH2O", "inHg"}));
        QCOMPARE(dialog.findChild<QPushButton *>("ButtonBerechn")->text(), QStringLiteral("Paste"));
    }

    void convertsIntoTheDoubleClickedField() {
        WindowFixture fx(noDevice());
        TformMain &w = fx.window();
        w.state.decimalSeparator = QLatin1Char(',');
        fx.ctl<QLineEdit>("WarnPup")->setText("7");

        fx.prompts().modalScript = convert("0,5", "mbar");
        doubleClick(fx, "WarnPHyst");
        QCOMPARE(fx.ctl<QLineEdit>("WarnPHyst")->text(), QStringLiteral("50"));
        QCOMPARE(w.state.unitConversionResult, QStringLiteral("50"));
        QCOMPARE(fx.ctl<QLineEdit>("WarnPup")->text(), QStringLiteral("7"));

        fx.prompts().modalScript = convert("1", "psi");
        doubleClick(fx, "ScalPup");
        QCOMPARE(fx.ctl<QLineEdit>("ScalPup")->text(), QStringLiteral("6894,757"));

        fx.prompts().modalScript = convert("2", "Psi");
        doubleClick(fx, "ScalPdown");
        QCOMPARE(fx.ctl<QLineEdit>("ScalPdown")->text(), QStringLiteral("13789,514"));

        fx.prompts().modalScript = convert("1", "bar");
        doubleClick(fx, "WarnIN2Pup");
        QCOMPARE(fx.ctl<QLineEdit>("WarnIN2Pup")->text(), QStringLiteral("100000"));
        // A typed unit is taken as it stands and never joins the list.
        QCOMPARE(unitList(*w.formBerFaktor())->count(), 8);

        fx.prompts().modalScript = convert("-2,5", "hPa");
        doubleClick(fx, "WarnIN1Pdown");
        QCOMPARE(fx.ctl<QLineEdit>("WarnIN1Pdown")->text(), QStringLiteral("-250"));

        w.state.decimalSeparator = QLatin1Char('.');
        fx.prompts().modalScript = convert("0.5", "inH2O");
        doubleClick(fx, "WarnIN2PHyst");
        QCOMPARE(fx.ctl<QLineEdit>("WarnIN2PHyst")->text(), QStringLiteral("124.54445"));
        QVERIFY(fx.prompts().errors.isEmpty());
        QVERIFY(!w.formBerFaktor()->isVisible());
    }

    void valueThatIsNoNumberKeepsTheDialogOpen() {
        WindowFixture fx(noDevice());
        TformMain &w = fx.window();
        w.state.decimalSeparator = QLatin1Char(',');
        fx.ctl<QLineEdit>("ScalIN1Pup")->setText("12");
        bool openAfterError = false;
        QString resultAfterError = "unset";
        fx.prompts().modalScript = [&](QDialog &dialog) {
            valueField(dialog)->setText("zwölf");
            unitList(dialog)->setEditText("kPa");
            paste(dialog);
            openAfterError = dialog.isVisible();
            resultAfterError = w.state.unitConversionResult;
            return int(QDialog::Rejected); // then the user gives up: the close box
        };
        doubleClick(fx, "ScalIN1Pup");
        QCOMPARE(fx.prompts().errors,
                 QStringList({QStringLiteral("'zwölf' ist kein gültiger Gleitkommawert")}));
        QVERIFY(openAfterError);
        QCOMPARE(resultAfterError, QString());
        QCOMPARE(w.state.unitConversionResult, QStringLiteral("Err"));
        QCOMPARE(fx.ctl<QLineEdit>("ScalIN1Pup")->text(), QStringLiteral("12"));

        // An empty value fails the same way; an unknown unit does nothing at all.
        fx.prompts().errors.clear();
        QStringList unknownUnitSeen;
        fx.prompts().modalScript = [&](QDialog &dialog) {
            valueField(dialog)->clear();
            unitList(dialog)->setEditText("mbar");
            paste(dialog);
            valueField(dialog)->setText("abc");
            unitList(dialog)->setEditText("Pa");
            paste(dialog);
            unknownUnitSeen << QString::number(dialog.isVisible()) << w.state.unitConversionResult;
            dialog.close();
            return dialog.result();
        };
        doubleClick(fx, "ScalIN1Pup");
        QCOMPARE(fx.prompts().errors,
                 QStringList({QStringLiteral("'' ist kein gültiger Gleitkommawert")}));
        QCOMPARE(unknownUnitSeen, QStringList({"1", ""}));
        QCOMPARE(w.state.unitConversionResult, QStringLiteral("Err"));
        QCOMPARE(fx.ctl<QLineEdit>("ScalIN1Pup")->text(), QStringLiteral("12"));
    }

    void closeWithoutResultGivesErr() {
        WindowFixture fx(noDevice());
        TformMain &w = fx.window();
        fx.ctl<QLineEdit>("WarnPdown")->setText("-30");
        QString resultWhenClosed;
        fx.prompts().modalScript = [&](QDialog &dialog) {
            valueField(dialog)->setText("3");
            unitList(dialog)->setEditText("hPa");
            dialog.close(); // the close box, before "Paste"
            resultWhenClosed = w.state.unitConversionResult;
            return dialog.result();
        };
        doubleClick(fx, "WarnPdown");
        QCOMPARE(resultWhenClosed, QStringLiteral("Err"));
        QCOMPARE(fx.ctl<QLineEdit>("WarnPdown")->text(), QStringLiteral("-30"));

        // A modal run that ends without any close of the dialog counts the same.
        fx.prompts().modalScript = nullptr;
        doubleClick(fx, "WarnPdown");
        QCOMPARE(w.state.unitConversionResult, QStringLiteral("Err"));
        QCOMPARE(fx.ctl<QLineEdit>("WarnPdown")->text(), QStringLiteral("-30"));
    }

    void reopenedDialogShowsTheLastValueAndUnit() {
        WindowFixture fx(noDevice());
        fx.window().state.decimalSeparator = QLatin1Char(',');
        fx.prompts().modalScript = convert("4,25", "mmHg");
        doubleClick(fx, "ScalIN2Pdown");
        QCOMPARE(fx.ctl<QLineEdit>("ScalIN2Pdown")->text(), QStringLiteral("566,6202"));

        QStringList shown;
        bool clearedWhileOpen = false;
        fx.prompts().modalScript = [&](QDialog &dialog) {
            shown << valueField(dialog)->text() << unitList(dialog)->currentText();
            clearedWhileOpen = fx.window().state.unitConversionResult.isEmpty();
            paste(dialog);
            return dialog.result();
        };
        doubleClick(fx, "ScalIN2Pup");
        QCOMPARE(shown, QStringList({"4,25", "mmHg"}));
        QVERIFY(clearedWhileOpen);
        QCOMPARE(fx.ctl<QLineEdit>("ScalIN2Pup")->text(), QStringLiteral("566,6202"));
    }

    void everyPressureFieldOpensTheDialogOnADoubleClick() {
        WindowFixture fx(noDevice());
        TformMain &w = fx.window();
        w.state.decimalSeparator = QLatin1Char(',');
        int n = 0;
        for (const QString &name : kPressureFields) {
            ++n;
            fx.prompts().modalScript = convert(QString::number(n), "hPa");
            QLineEdit *field = fx.ctl<QLineEdit>(name);
            QMouseEvent press(QEvent::MouseButtonDblClick, QPointF(2, 2),
                              field->mapToGlobal(QPointF(2, 2)), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(field, &press);
            QCOMPARE(fx.prompts().modalCount, n);
            QCOMPARE(field->text(), QString::number(n * 100));
        }
        // Temperature and humidity fields have no such dialog.
        for (const char *name : {"ScalIN1Tdown", "WarnIN2HHyst", "FilterP"}) {
            QLineEdit *field = fx.ctl<QLineEdit>(name);
            QMouseEvent press(QEvent::MouseButtonDblClick, QPointF(2, 2),
                              field->mapToGlobal(QPointF(2, 2)), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(field, &press);
        }
        QCOMPARE(fx.prompts().modalCount, kPressureFields.size());
    }
};

ZEL_TEST_MAIN(TestUnitConversionDialog)
#include "test_unitconversion_dialog.moc"
