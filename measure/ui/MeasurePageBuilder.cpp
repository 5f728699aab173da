#include "measure/ui/MeasurePageBuilder.h"

#include "base/ui/ScrolledPage.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

namespace {

template <class W> W *place(W *widget, const char *name, int x, int y, int w, int h) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, int x, int y, int w, int h) {
    return place(new QLabel(text, parent), name, x, y, w, h);
}

QPushButton *button(QWidget *parent, const char *name, const char *text, int x, int y, int w,
                    int h) {
    return place(new QPushButton(QString::fromUtf8(text), parent), name, x, y, w, h);
}

void buildChart(QWidget *page, int chart) {
    const QString s = QString::fromLatin1(MeasurePageBuilder::suffix(chart));
    const int left = MeasurePageBuilder::kChartLeft[chart];
    const int top = MeasurePageBuilder::kChartTop;
    auto *image = new QLabel(page);
    image->setObjectName(QStringLiteral("Schaubild") + s);
    image->setGeometry(left, top, MeasurePageBuilder::kChartWidth,
                       MeasurePageBuilder::kChartHeight);
    for (int j = 0; j < 8; ++j) {
        auto *grid = new QLabel(page);
        grid->setObjectName(QStringLiteral("Hilfsgitterlinie%1_%2").arg(s).arg(j));
        grid->setAlignment(Qt::AlignRight | Qt::AlignTop);
        grid->setGeometry(left - 66, top + 23 + 20 * j, 64, 14);
        grid->hide();
    }
    static const char *const units[3] = {"Pa", "°C", "%rF"};
    static const char *const maxTexts[3] = {"max_D", "max_T", "max_F"};
    static const char *const minTexts[3] = {"min_D", "min_T", "min_F"};
    auto *yAxis = new QLabel(QString::fromUtf8(units[chart]), page);
    yAxis->setObjectName(QStringLiteral("LabelyAchse") + s);
    yAxis->setGeometry(left - 60, top, 58, 16);
    yAxis->setAlignment(Qt::AlignRight);
    auto *xAxis = new QLabel(QStringLiteral("30 Sek"), page);
    xAxis->setObjectName(QStringLiteral("LabelxAchse") + s);
    xAxis->setGeometry(left + 60, top + MeasurePageBuilder::kChartHeight + 2, 70, 16);
    auto *maxLabel = new QLabel(QString::fromLatin1(maxTexts[chart]), page);
    maxLabel->setObjectName(QStringLiteral("max") + s);
    maxLabel->setGeometry(left, top + MeasurePageBuilder::kChartHeight + 18, 60, 16);
    auto *minLabel = new QLabel(QString::fromLatin1(minTexts[chart]), page);
    minLabel->setObjectName(QStringLiteral("min") + s);
    minLabel->setGeometry(left + 64, top + MeasurePageBuilder::kChartHeight + 18, 60, 16);
}

} // namespace

constexpr int MeasurePageBuilder::kChartLeft[3];

const char *MeasurePageBuilder::suffix(int chart) {
    static const char *const suffixes[3] = {"_P", "_T", "_F"};
    return suffixes[chart];
}

void MeasurePageBuilder::build(QWidget *sheet) {
    QWidget *page = ScrolledPage::content(sheet);
    // Wide enough for "Démarrer mesurage".
    button(page, "ButtonConnection", "Messung starten", 8, 10, 132, 44);
    auto *intervalLabel =
        label(page, "LabelMessintervall", QStringLiteral("Messintervall [Sek.]:"), 8, 60, 132, 30);
    intervalLabel->setWordWrap(true);
    auto *interval = place(new QSpinBox(page), "Messintervall", 8, 94, 70, 24);
    interval->setRange(1, 1000);
    interval->setValue(1);
    interval->findChild<QLineEdit *>()->setReadOnly(true); // changed only by its arrows

    auto *log = place(new QGroupBox(QStringLiteral("Log"), page), "GroupBox7", 144, 0, 329, 158);
    place(new QListWidget(log), "LLog", 6, 18, 317, 109);
    button(log, "ButtonClearLog", "Liste leeren", 6, 130, 156, 24);
    button(log, "ButtonSaveLog", "Speichern unter ...", 167, 130, 156, 24);

    button(page, "ButtonNullieren", "Nullieren", 480, 10, 118, 30);
    button(page, "ButtonReset", "ZEL zurücksetzen", 480, 46, 118, 30);

    for (int chart = 0; chart < 3; ++chart)
        buildChart(page, chart);

    label(page, "LabelIstwerte", QStringLiteral("Istwerte:"), 8, 410, 200, 16);
    QFont big = page->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    const char *const captions[3] = {"LabelIntDruck", "LabelTemperatur", "LabelFeuchte"};
    const char *const texts[3] = {"int. Druck:", "Temperatur:", "Feuchte:"};
    const char *const values[3] = {"IntDruck", "Temperatur", "Feuchte"};
    for (int i = 0; i < 3; ++i) {
        label(page, captions[i], QString::fromUtf8(texts[i]), 8 + 200 * i, 430, 190, 16);
        auto *value = label(page, values[i], QStringLiteral("-----"), 8 + 200 * i, 448, 190, 30);
        value->setFont(big);
    }

    auto *calib = place(new QGroupBox(QStringLiteral("ZEL kalibrieren"), page),
                        "GroupBox_ZEL_kalibrieren", 8, 490, 590, 60);
    button(calib, "ButtonCalibPlus", "pos. Bereich", 8, 22, 185, 28);
    button(calib, "ButtonCalibMinus", "neg. Bereich", 202, 22, 185, 28);
    button(calib, "ButtonCalibCancel", "Kalibr. löschen", 396, 22, 185, 28);
    // The content is placed by hand: the scroll area needs to know how much there is.
    page->setMinimumSize(page->childrenRect().bottomRight().x() + 8,
                         page->childrenRect().bottomRight().y() + 4);
}
