// The live charts and their captions through the window: the empty chart at start, one chart
// update with grid labels and curve, unused charts, and DiagrammKonfiguration.
#include "MeasureTestSupport.h"
#include "app/LanguageApplier.h"
#include "measure/ChartPainter.h"
#include "params/SettingsModel.h"
#include "tests/support/TestMain.h"

#include <QComboBox>
#include <QLabel>
#include <QPixmap>

using namespace measuretest;

namespace {

QImage shownImage(WindowFixture &fx, const char *name) {
    return fx.ctl<QLabel>(QString::fromLatin1(name))
        ->pixmap()
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QLabel *gridLabel(WindowFixture &fx, char chart, int j) {
    return fx.ctl<QLabel>(QStringLiteral("Hilfsgitterlinie_%1_%2").arg(QLatin1Char(chart)).arg(j));
}

bool columnHasColour(const QImage &image, int x, QRgb colour) {
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixel(x, y) == colour)
            return true;
    }
    return false;
}

} // namespace

class TestMeasurementCharts : public QObject {
    Q_OBJECT

private slots:
    void startShowsTheEmptyCharts() {
        WindowFixture fx;
        const char *names[3] = {"Schaubild_P", "Schaubild_T", "Schaubild_F"};
        for (int c = 0; c < 3; ++c) {
            const QImage &image = measurement(fx).chartImage(c);
            QCOMPARE(image.size(), QSize(130, 200));
            QCOMPARE(shownImage(fx, names[c]), image);
            QCOMPARE(image.pixel(0, 0), ChartPainter::kFrameColour);
            QCOMPARE(image.pixel(129, 199), ChartPainter::kFrameColour);
            QCOMPARE(image.pixel(10, 100), ChartPainter::kFrameColour);  // y axis
            QCOMPARE(image.pixel(60, 190), ChartPainter::kFrameColour);  // x axis
            QCOMPARE(image.pixel(12, 30), ChartPainter::kFrameColour);   // top mark
            QCOMPARE(image.pixel(100, 188), ChartPainter::kFrameColour); // 30th interval
            QCOMPARE(image.pixel(60, 100), ChartPainter::kBackgroundColour);
            QVERIFY(!columnHasColour(image, 50, ChartPainter::kCurveColour));
            QVERIFY(gridLabel(fx, "PTF"[c], 0)->isHidden());
        }
        QCOMPARE(fx.ctl<QLabel>("Schaubild_P")->geometry(), QRect(70, 164, 130, 200));
    }

    void chartUpdateDrawsGridAndCurve() {
        WindowFixture fx;
        fx.window().state.decimalSeparator = QLatin1Char(',');
        fx.click("ButtonConnection");
        for (const char *value : {"12.3", "14.1", "13.0"}) {
            replyOnce(fx, "?IP", QByteArray("IP ") + value);
            tick(fx);
        }
        QVERIFY(fx.prompts().errors.isEmpty());
        const QImage &image = measurement(fx).chartImage(0);
        QCOMPARE(shownImage(fx, "Schaubild_P"), image);
        // 12 ... 14.5 in steps of 0.5: six labels, the value v at y = 30 + 160 (14.5 - v) / 2.5.
        const QStringList texts = {"12,0", "12,5", "13,0", "13,5", "14,0", "14,5"};
        const int left = gridLabel(fx, 'P', 0)->x();
        for (int j = 0; j < 6; ++j) {
            QLabel *label = gridLabel(fx, 'P', j);
            QCOMPARE(label->text(), texts[j]);
            QVERIFY(!label->isHidden());
            QCOMPARE(label->y(), 190 - 32 * j + 157);
            QCOMPARE(label->x(), left);
            QVERIFY(label->alignment() & Qt::AlignRight);
        }
        QVERIFY(gridLabel(fx, 'P', 6)->isHidden());
        QVERIFY(gridLabel(fx, 'P', 7)->isHidden());
        QCOMPARE(measurement(fx).currentRange(kChannelPressure).lower, 12.3);
        QCOMPARE(measurement(fx).currentRange(kChannelPressure).upper, 14.1);
        QVERIFY(fx.ctl<QLabel>("max_P")->text().isEmpty());
        QVERIFY(fx.ctl<QLabel>("min_P")->text().isEmpty());

        // Grid line of 12.5 dotted grey; the curve from (10, 171) over (13, 56) towards (16, 126).
        QCOMPARE(image.pixel(28, 158), ChartPainter::kGridColour);
        QCOMPARE(image.pixel(20, 158), ChartPainter::kBackgroundColour);
        QCOMPARE(image.pixel(10, 171), ChartPainter::kCurveColour);
        QCOMPARE(image.pixel(13, 56), ChartPainter::kCurveColour);
        QVERIFY(columnHasColour(image, 15, ChartPainter::kCurveColour));
        for (int x = 17; x < 130; ++x)
            QVERIFY(!columnHasColour(image, x, ChartPainter::kCurveColour));

        // English labels show the point.
        fx.window().SpracheEngClick();
        replyOnce(fx, "?IP", "IP 12");
        tick(fx);
        QCOMPARE(gridLabel(fx, 'P', 1)->text(), QStringLiteral("12.5"));
    }

    void unusedChartStaysEmpty() {
        WindowFixture fx;
        setDevice(fx, "UnitIN1", 3); // IN-1 display off
        fx.click("ButtonConnection");
        ticks(fx, 2);
        QVERIFY(fx.prompts().errors.isEmpty());
        QCOMPARE(measurement(fx).chartImage(kChannelIN1), ChartPainter::createImage());
        QCOMPARE(shownImage(fx, "Schaubild_T"), ChartPainter::createImage());
        for (int j = 0; j < 8; ++j)
            QVERIFY(gridLabel(fx, 'T', j)->isHidden());
        QVERIFY(measurement(fx).chartImage(kChannelIN2) != ChartPainter::createImage());
        QVERIFY(!gridLabel(fx, 'F', 0)->isHidden());
    }

    void onlyUnderflowsUseTheConfiguredRange() {
        WindowFixture::Config variant100;
        variant100.measRange = 1;
        WindowFixture fx(variant100);
        fx.click("ButtonConnection");
        fx.device().withModel([](sim::DeviceModel &m) { m.setAppliedPressure(-1000); });
        ticks(fx, 3);
        QCOMPARE(fx.ctl<QLabel>("IntDruck")->text(), QStringLiteral("UNDERFLOW"));
        // -120 ... 120 in steps of 50: -150 ... 150, the points on the bottom line.
        QCOMPARE(gridLabel(fx, 'P', 0)->text(), QStringLiteral("-150"));
        QCOMPARE(gridLabel(fx, 'P', 6)->text(), QStringLiteral("150"));
        QVERIFY(gridLabel(fx, 'P', 7)->isHidden());
        const QImage &image = measurement(fx).chartImage(0);
        QCOMPARE(image.pixel(10, 190), ChartPainter::kCurveColour);
        QCOMPARE(image.pixel(14, 190), ChartPainter::kCurveColour);
    }

    void configurationFollowsExtPress() {
        struct Case {
            int extPress;
            const char *yT, *maxT, *captionT, *yF, *maxF, *captionF;
        };
        const Case cases[] = {
            {0, "°C", "max_T", "Temperatur:", "%rF", "max_F", "Feuchte:"},
            {1, "°C", "max_T", "Temperatur:", "Pa", "max_D", "Druck an IN-2:"},
            {2, "Pa", "max_D", "Druck an IN-1:", "%rF", "max_F", "Feuchte:"},
            {3, "Pa", "max_D", "Druck an IN-1:", "Pa", "max_D", "Druck an IN-2:"},
        };
        for (const Case &c : cases) {
            WindowFixture fx;
            setDevice(fx, "ExtPress", c.extPress);
            fx.click("ButtonConnection");
            QVERIFY(fx.prompts().errors.isEmpty());
            QCOMPARE(fx.ctl<QLabel>("LabelyAchse_T")->text(), QString::fromUtf8(c.yT));
            QCOMPARE(fx.ctl<QLabel>("max_T")->text(), QString::fromLatin1(c.maxT));
            QCOMPARE(fx.ctl<QLabel>("min_T")->text(),
                     QString::fromLatin1(c.maxT).replace("max", "min"));
            QCOMPARE(fx.ctl<QLabel>("LabelTemperatur")->text(), QString::fromUtf8(c.captionT));
            QCOMPARE(fx.ctl<QLabel>("LabelyAchse_F")->text(), QString::fromUtf8(c.yF));
            QCOMPARE(fx.ctl<QLabel>("max_F")->text(), QString::fromLatin1(c.maxF));
            QCOMPARE(fx.ctl<QLabel>("LabelFeuchte")->text(), QString::fromUtf8(c.captionF));
            // While measuring the max and min labels are hidden, the rest shown.
            for (const char *name : {"max_P", "min_P", "max_T", "min_T", "max_F", "min_F"})
                QVERIFY(fx.ctl<QLabel>(QString::fromLatin1(name))->isHidden());
            for (const char *name : {"LabelyAchse_T", "LabelTemperatur", "Temperatur",
                                     "LabelyAchse_F", "LabelFeuchte", "Feuchte", "IntDruck"})
                QVERIFY(!fx.ctl<QLabel>(QString::fromLatin1(name))->isHidden());
        }
    }

    void configurationHidesChannelsSwitchedOff() {
        WindowFixture fx;
        TformMain &w = fx.window();
        auto select = [&](int extPress, int unitP, int unitIN1, int unitIN2) {
            fx.ctl<QComboBox>("ExtPress")->setCurrentIndex(extPress);
            w.settings().rebuildUnitLists(extPress);
            fx.ctl<QComboBox>("UnitP")->setCurrentIndex(unitP);
            fx.ctl<QComboBox>("UnitIN1")->setCurrentIndex(unitIN1);
            fx.ctl<QComboBox>("UnitIN2")->setCurrentIndex(unitIN2);
            w.DiagrammKonfiguration();
        };
        auto hidden = [&](const char *name) {
            return fx.ctl<QLabel>(QString::fromLatin1(name))->isHidden();
        };
        // Without a measurement the max and min labels of shown channels stay.
        select(0, 1, 0, 0);
        QCOMPARE(fx.ctl<QLabel>("LabelyAchse_P")->text(), QStringLiteral("hPa"));
        for (const char *name : {"max_P", "min_P", "max_T", "LabelyAchse_P", "IntDruck"})
            QVERIFY(!hidden(name));

        select(0, 3, 1, 1); // everything off
        for (const char *name : {"max_P", "min_P", "LabelyAchse_P", "LabelIntDruck", "IntDruck",
                                 "max_T", "min_T", "LabelyAchse_T", "LabelTemperatur", "Temperatur",
                                 "max_F", "min_F", "LabelyAchse_F", "LabelFeuchte", "Feuchte"})
            QVERIFY2(hidden(name), name);

        // Back on: the captions return, the max and min labels never do.
        select(3, 2, 1, 0);
        QCOMPARE(fx.ctl<QLabel>("LabelyAchse_P")->text(), QStringLiteral("mbar"));
        QCOMPARE(fx.ctl<QLabel>("LabelyAchse_T")->text(), QStringLiteral("hPa"));
        QCOMPARE(fx.ctl<QLabel>("LabelyAchse_F")->text(), QStringLiteral("Pa"));
        for (const char *name : {"LabelyAchse_P", "LabelIntDruck", "IntDruck", "LabelyAchse_T",
                                 "LabelTemperatur", "Temperatur", "LabelFeuchte", "Feuchte"})
            QVERIFY2(!hidden(name), name);
        for (const char *name : {"max_P", "min_P", "max_T", "min_T", "max_F", "min_F"})
            QVERIFY2(hidden(name), name);
        QCOMPARE(fx.ctl<QLabel>("min_F")->text(), QStringLiteral("min_D"));

        // A pressure input is off at its fourth item, a temperature input at its second.
        select(2, 0, 3, 1);
        QVERIFY(hidden("Temperatur"));
        QVERIFY(hidden("Feuchte"));
        select(2, 0, 1, 0);
        QVERIFY(!hidden("Temperatur"));

        w.SpracheEngClick();
        select(3, 0, 0, 0);
        QCOMPARE(fx.ctl<QLabel>("LabelTemperatur")->text(), QStringLiteral("pressure at IN-1:"));
        QCOMPARE(fx.ctl<QLabel>("max_T")->text(), QStringLiteral("max_P"));
        select(0, 0, 0, 0);
        QCOMPARE(fx.ctl<QLabel>("LabelFeuchte")->text(), QStringLiteral("humidity:"));
        QCOMPARE(fx.ctl<QLabel>("max_F")->text(), QStringLiteral("max_H"));
        QCOMPARE(fx.ctl<QLabel>("LabelyAchse_F")->text(), QStringLiteral("%rH"));
        QCOMPARE(fx.ctl<QLabel>("LabelTemperatur")->text(), QStringLiteral("temperature:"));
    }
};

ZEL_TEST_MAIN(TestMeasurementCharts)
#include "test_measurement_charts.moc"
