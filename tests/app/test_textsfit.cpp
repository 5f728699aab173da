// Every caption and list item fits the control that shows it, on every page and dialog, in
// German, English and French. CTest runs this at 96 dpi and again at QT_SCALE_FACTOR=2.
#include "app/WindowPlacement.h"
#include "calib/ui/TFormKalibrieren.h"
#include "calib/ui/TFormKalibrierungLoeschen.h"
#include "link/ui/TComSetupFrm.h"
#include "params/ui/TformBerFaktor.h"
#include "teach/ui/TformOptions.h"
#include "tests/support/TestMain.h"
#include "tests/support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyleFactory>
#include <QTabWidget>

namespace {

// Records every text a style draws and the rectangle it is drawn in: the room a list field
// really gives its text, frame, arrow and the style's own margins taken off.
class DrawnTexts : public QProxyStyle {
public:
    DrawnTexts() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}
    void drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &palette,
                      bool enabled, const QString &text, QPalette::ColorRole role) const override {
        drawn.append({text, rect});
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, role);
    }
    mutable QList<QPair<QString, QRect>> drawn;
};

// The width the list field has for the text of each of its items, as it draws them.
QList<QPair<QString, int>> itemTextRooms(QComboBox *combo) {
    DrawnTexts style;
    const int selected = combo->currentIndex();
    const QSignalBlocker quiet(combo);
    combo->setStyle(&style);
    QList<QPair<QString, int>> rooms;
    for (int i = 0; i < combo->count(); ++i) {
        combo->setCurrentIndex(i);
        style.drawn.clear();
        QImage image(combo->size(), QImage::Format_ARGB32);
        combo->render(&image);
        int room = 0;
        for (const auto &[text, rect] : std::as_const(style.drawn)) {
            if (text == combo->itemText(i))
                room = rect.width();
        }
        rooms.append({combo->itemText(i), room});
    }
    combo->setCurrentIndex(selected);
    combo->setStyle(nullptr);
    return rooms;
}

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
            // A list field squeezed in height cuts its text as well.
            report(w, QStringLiteral("(height)"), combo->minimumSizeHint().height(), w->height());
            if (combo->isEditable())
                continue;
            for (const auto &[text, room] : itemTextRooms(combo))
                report(w, text, fm.horizontalAdvance(text), room);
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

    // On a small screen the window with the frame the window manager adds stays inside the
    // screen's available area: title bar and status bar in view.
    void theFramedWindowStaysOnASmallScreen() {
        const QMargins frame(1, 20, 1, 5); // openbox: title bar above, a border below
        const QRect screen(0, 0, 1366, 768);
        const auto inside = [](const QRect &client, const QMargins &frame, const QRect &area) {
            return area.contains(client.marginsAdded(frame));
        };
        QCOMPARE(WindowPlacement::maxClientHeight(frame, screen), 743);
        // Placed by the window manager below the top of the screen: moved up, size kept.
        QRect fitted = WindowPlacement::fit(QRect(300, 47, 630, 728), frame, screen, 500);
        QVERIFY(inside(fitted, frame, screen));
        QCOMPARE(fitted.size(), QSize(630, 728));
        // Too tall for the screen: as tall as fits, title bar at the top.
        fitted = WindowPlacement::fit(QRect(0, 0, 630, 900), frame, screen, 500);
        QVERIFY(inside(fitted, frame, screen));
        QCOMPARE(fitted.height(), 743);
        QCOMPARE(fitted.top(), 20);
        // A panel takes the top of the screen.
        const QRect belowPanel(0, 27, 1366, 741);
        fitted = WindowPlacement::fit(QRect(10, 10, 630, 728), frame, belowPanel, 500);
        QVERIFY(inside(fitted, frame, belowPanel));
        QCOMPARE(fitted.height(), 741 - 25);
        // Off the right edge: moved left; already inside: left as it is.
        fitted = WindowPlacement::fit(QRect(1000, 100, 630, 600), frame, screen, 500);
        QVERIFY(inside(fitted, frame, screen));
        QCOMPARE(WindowPlacement::fit(QRect(100, 100, 630, 600), frame, screen, 500),
                 QRect(100, 100, 630, 600));
        // Never below the smallest usable height, even where it cannot fit.
        QCOMPARE(
            WindowPlacement::fit(QRect(0, 0, 630, 700), frame, QRect(0, 0, 800, 400), 500).height(),
            500);
    }
};

ZEL_TEST_MAIN(TestTextsFit)
#include "test_textsfit.moc"
