// Every caption and list item fits the control that shows it, on every page and dialog, in
// German, English and French. CTest runs this at 96 dpi and again at QT_SCALE_FACTOR=2.
#include "calib/TFormKalibrieren.h"
#include "calib/TFormKalibrierungLoeschen.h"
#include "link/TComSetupFrm.h"
#include "params/TformBerFaktor.h"
#include "teach/TformOptions.h"
#include "tests/support/TestMain.h"
#include "tests/support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTabWidget>

namespace {

// What does not fit in `root`: "name: text (needs N, has M)".
QStringList cutTexts(QWidget *root) {
    QStringList cut;
    const auto report = [&cut](const QWidget *w, const QString &text, int need, int has) {
        if (need > has)
            cut << QStringLiteral("%1: %2 (needs %3, has %4)")
                       .arg(w->objectName(), text)
                       .arg(need)
                       .arg(has);
    };
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(root))
            continue;
        const QFontMetrics fm = w->fontMetrics();
        if (auto *label = qobject_cast<QLabel *>(w)) {
            if (label->text().isEmpty() || !label->pixmap().isNull())
                continue;
            if (label->wordWrap())
                report(w, label->text(), label->heightForWidth(label->width()), label->height());
            else
                report(w, label->text(), fm.boundingRect(label->text()).width(),
                       label->contentsRect().width());
        } else if (auto *button = qobject_cast<QPushButton *>(w)) {
            report(w, button->text(), fm.horizontalAdvance(button->text()) + 8, button->width());
        } else if (auto *box = qobject_cast<QCheckBox *>(w)) {
            report(w, box->text(), box->sizeHint().width(), box->width());
        } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
            report(w, group->title(), fm.horizontalAdvance(group->title()) + 12, group->width());
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            if (combo->isEditable())
                continue;
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const int room = combo->style()
                                 ->subControlRect(QStyle::CC_ComboBox, &option,
                                                  QStyle::SC_ComboBoxEditField, combo)
                                 .width();
            for (int i = 0; i < combo->count(); ++i)
                report(w, combo->itemText(i), fm.horizontalAdvance(combo->itemText(i)), room);
        }
    }
    return cut;
}

// Lays a dialog out as it is shown and checks it.
QStringList cutTextsOf(QDialog &dialog) {
    dialog.show();
    QApplication::processEvents();
    const QStringList cut = cutTexts(&dialog);
    dialog.hide();
    return cut;
}

} // namespace

class TestTextsFit : public QObject {
    Q_OBJECT

private slots:
    void everyTextFitsInEveryLanguage() {
        WindowFixture::Config config;
        config.production = true;
        WindowFixture fx(config);
        TformMain &w = fx.window();
        for (void (TformMain::*language)() :
             {&TformMain::SpracheDClick, &TformMain::SpracheEngClick, &TformMain::SpracheFClick}) {
            (w.*language)();
            // Both unit-list variants of the inputs.
            for (int mode : {0, 3}) {
                fx.ctl<QComboBox>("ExtPress")->setCurrentIndex(mode);
                w.ExtPressChanged();
                QStringList cut;
                for (int page = 0; page < w.PageControl->count(); ++page) {
                    w.PageControl->setCurrentIndex(page);
                    QApplication::processEvents();
                    cut << cutTexts(w.PageControl->currentWidget());
                }
                cut << cutTexts(w.centralWidget()) << cutTextsOf(*w.formOptions())
                    << cutTextsOf(*w.formBerFaktor());
                QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
            }
            // The re-calibration dialogs with their longest texts.
            for (bool negative : {false, true}) {
                w.state.calibNegative = negative;
                QVERIFY2(cutTextsOf(*w.formKalibrieren()).isEmpty(),
                         qPrintable(cutTextsOf(*w.formKalibrieren()).join('\n')));
            }
            QVERIFY(cutTextsOf(*w.formKalibrierungLoeschen()).isEmpty());
        }
        TComSetupFrm setup(w.ComPort(), &w);
        QVERIFY2(cutTextsOf(setup).isEmpty(), qPrintable(cutTextsOf(setup).join('\n')));
    }
};

ZEL_TEST_MAIN(TestTextsFit)
#include "test_textsfit.moc"
