// The teach features are shown for production staff only, and nothing else shows them.
#include "base/Errors.h"
#include "tests/support/TestMain.h"
#include "tests/support/WindowFixture.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QWheelEvent>

namespace {

// Visibility of every menu entry and every tab, by name.
QMap<QString, bool> visibility(TformMain &w) {
    QMap<QString, bool> shown;
    for (QAction *top : w.menuBar()->actions()) {
        shown.insert(top->menu()->objectName(), top->isVisible());
        for (QAction *action : top->menu()->actions())
            shown.insert(action->objectName(), action->isVisible());
    }
    for (int i = 0; i < w.PageControl->count(); ++i)
        shown.insert(w.PageControl->widget(i)->objectName(), w.PageControl->isTabVisible(i));
    return shown;
}

WindowFixture::Config config(bool production) {
    WindowFixture::Config c;
    c.production = production;
    return c;
}

void verifyHidden(WindowFixture &fx, const char *when) {
    TformMain &w = fx.window();
    QVERIFY2(!w.PageControl->isTabVisible(0), when);
    QVERIFY2(w.PageControl->currentIndex() != 0, when);
    QVERIFY2(!w.TeachZELSheet->isVisible(), when);
    QVERIFY2(!w.LoadTeachwerte->isVisible(), when);
    QVERIFY2(!w.SaveTeachwerte->isVisible(), when);
    QVERIFY2(!w.ButtonOptions->isVisible(), when);
}

} // namespace

class TestTeachProduction : public QObject {
    Q_OBJECT

private slots:
    void productionShowsExactlyTheHiddenFeatures() {
        WindowFixture normal(config(false));
        WindowFixture staff(config(true));
        const QMap<QString, bool> plain = visibility(normal.window());
        QMap<QString, bool> shown = visibility(staff.window());
        QCOMPARE(shown.keys(), plain.keys());
        QStringList differences;
        for (auto it = plain.cbegin(); it != plain.cend(); ++it) {
            if (shown.value(it.key()) != it.value())
                differences << it.key();
            if (it.key() == QLatin1String("TeachZELSheet") || it.key() == "LoadTeachwerte" ||
                it.key() == "SaveTeachwerte" || it.key() == "ButtonOptions")
                QVERIFY2(!it.value(), qPrintable(it.key()));
            else
                QVERIFY2(it.value(), qPrintable(it.key()));
        }
        differences.sort();
        QCOMPARE(differences, (QStringList{"ButtonOptions", "LoadTeachwerte", "SaveTeachwerte",
                                           "TeachZELSheet"}));
        // The teach tab is the first tab; the tool still starts on "Messwerte".
        TformMain &w = staff.window();
        QCOMPARE(w.PageControl->currentIndex(), 4);
        w.PageControl->setCurrentIndex(0);
        QVERIFY(w.TeachZELSheet->isVisible());
        QCOMPARE(w.PageControl->tabText(0), QStringLiteral("Teach ZEL 40"));
        // Reachable from the keyboard as any other tab.
        w.PageControl->setCurrentIndex(4);
        QTest::keyClick(w.PageControl, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(w.PageControl->currentIndex(), 0);
    }

    void nothingShowsThemWithoutProduction() {
        WindowFixture fx(config(false));
        TformMain &w = fx.window();
        verifyHidden(fx, "start");

        for (void (TformMain::*language)() :
             {&TformMain::SpracheEngClick, &TformMain::SpracheFClick, &TformMain::SpracheDClick})
            (w.*language)();
        verifyHidden(fx, "language switch");

        w.GlobalExceptionHandler(&w, EGlobalError(QStringLiteral("failure")));
        verifyHidden(fx, "global exception handler");

        // Keyboard and wheel walk over every tab in both directions.
        w.activateWindow();
        for (int i = 0; i < 12; ++i) {
            QTest::keyClick(w.PageControl, Qt::Key_Tab, Qt::ControlModifier);
            verifyHidden(fx, "Ctrl+Tab");
        }
        for (int i = 0; i < 12; ++i) {
            QTest::keyClick(w.PageControl, Qt::Key_Backtab,
                            Qt::ControlModifier | Qt::ShiftModifier);
            verifyHidden(fx, "Ctrl+Shift+Tab");
        }
        QTabBar *bar = w.PageControl->tabBar();
        for (int delta : {120, 120, 120, 120, 120, -120, -120, -120, -120, -120, -120}) {
            const QPointF at(bar->rect().center());
            QWheelEvent wheel(at, bar->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(bar, &wheel);
            verifyHidden(fx, "wheel");
        }

        bar->setFocus();
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right,
                            Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left,
                            Qt::Key_Home, Qt::Key_End, Qt::Key_Home}) {
            QTest::keyClick(bar, key);
            verifyHidden(fx, "tab bar keys");
        }

        // A device action with its locks and releases.
        fx.click("ButtonLaden");
        verifyHidden(fx, "transfer");
    }
};

ZEL_TEST_MAIN(TestTeachProduction)
#include "test_teachvalues_production.moc"
