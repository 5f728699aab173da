#include "cli/CtlTeach.h"

#include "base/SavedFile.h"
#include "base/SharedState.h"
#include "cli/ConsoleSession.h"
#include "teach/AnalogPoints.h"
#include "teach/BenchCheck.h"
#include "teach/InstrumentAddresses.h"
#include "teach/PressurePoints.h"
#include "teach/TeachRun.h"
#include "teach/TeachRunView.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace {

const char *const kCheckBoxes[] = {
    "CheckBox_intDruck",     "CheckBox_OUT_Strom", "CheckBox_OUT_Spannung", "CheckBox_IN1_Strom",
    "CheckBox_IN1_Spannung", "CheckBox_IN2_Strom", "CheckBox_IN2_Spannung"};
const QString kConnectPrompt = QStringLiteral("Anschluß B des KMV700");
const QString kFailed = QStringLiteral("9999");

void printErr(const QString &text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

// The teach page as the command line gives it: the chosen groups and range, the value labels
// kept here, the operator's prompts asked on the terminal (or answered by --yes).
class ConsoleTeachView : public TeachRunView {
public:
    ConsoleTeachView(ConsoleSession &session, QSet<QString> checked, int range, bool yes)
        : session_(session), checked_(std::move(checked)), range_(range), yes_(yes) {}

    void clearLog() override {}
    void setLabel(const QString &name, const QString &text) override { labels_[name] = text; }
    void disableLabel(const QString &) override {}
    bool checked(const char *checkBox) const override {
        return checked_.contains(QString::fromLatin1(checkBox));
    }
    int rangeIndex() const override { return range_; }
    void setProgress(int maximum, int position) override {
        maximum_ = maximum;
        (void)position;
    }
    void setProgressPosition(int) override {}
    int progressMaximum() const override { return maximum_; }
    void showMessage(const QString &text) override {
        session_.finishStatusLine();
        if (!text.startsWith(kConnectPrompt)) {
            printErr(QStringLiteral("zelctl: ") + text);
            return;
        }
        if (yes_) {
            printErr(QStringLiteral("zelctl: ") + text + QStringLiteral(" (--yes)"));
            return;
        }
        printErr(QStringLiteral("zelctl: ") + text +
                 QStringLiteral(" Enter: weiter, Ctrl-C: Abbruch"));
        if (!waitForEnter()) {
            printErr(QStringLiteral("zelctl: no operator on standard input (a bench wired for "
                                    "the whole run takes --yes)"));
            requestStop();
        }
    }
    bool zelSimulation() const override { return false; }
    bool daValuesShown() const override { return false; }
    void requestStop() override {
        session_.requestAbort();
        session_.requestStop();
    }
    void noteMeasured(const QString &label, double value) override { measured_[label] = value; }

    QString label(const QString &name) const { return labels_.value(name); }
    bool measured(const QString &label, double *value) const {
        const auto it = measured_.find(label);
        if (it == measured_.end())
            return false;
        *value = it.value();
        return true;
    }

private:
    // An Enter on standard input; the window's events go on meanwhile, so Ctrl-C ends it.
    bool waitForEnter() {
        for (;;) {
            pollfd in{STDIN_FILENO, POLLIN, 0};
            if (::poll(&in, 1, 15) > 0) {
                char buffer[256];
                const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
                if (n <= 0)
                    return false;
                if (memchr(buffer, '\n', size_t(n)))
                    return true;
            }
            session_.pumpMessages();
            if (session_.abortRequested())
                return true;
        }
    }

    ConsoleSession &session_;
    QSet<QString> checked_;
    int range_;
    bool yes_;
    int maximum_ = 0;
    QHash<QString, QString> labels_;
    QHash<QString, double> measured_;
};

QString numberText(double value) {
    return QString::number(value, 'g', 10);
}

} // namespace

const QStringList &CtlTeach::groupNames() {
    static const QStringList names = {"pressure",    "out-current", "out-voltage", "in1-current",
                                      "in1-voltage", "in2-current", "in2-voltage"};
    return names;
}

CtlTeach::CtlTeach(ConsoleSession &session, CtlOutput &out, QString toolSettingsDir)
    : session_(session), out_(out), dir_(std::move(toolSettingsDir)) {}

InstrumentBackend::Selection CtlTeach::selection(const CtlRequest &request) const {
    InstrumentBackend::Selection selection = InstrumentBackend::Selection::read(dir_);
    QString error;
    if (!request.bus.isEmpty() && !selection.applyBus(request.bus, &error))
        throw ECtlUsage(error);
    selection.prologix = InstrumentBackend::Selection::adapterDevice(selection.prologix, dir_);
    return selection;
}

int CtlTeach::teach(const CtlRequest &request) {
    if (!request.arguments.isEmpty())
        throw ECtlUsage(
            QStringLiteral("teach: unexpected argument \"%1\"").arg(request.arguments.first()));
    QSet<QString> checked;
    QStringList groups = request.groups.isEmpty()
                             ? groupNames()
                             : request.groups.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &group : groups) {
        const int index = groupNames().indexOf(group.trimmed().toLower());
        if (index < 0)
            throw ECtlUsage(QStringLiteral("--groups: unknown group \"%1\" (%2)")
                                .arg(group, groupNames().join(QLatin1Char(','))));
        checked << QString::fromLatin1(kCheckBoxes[index]);
    }
    if (request.factory)
        checked << QStringLiteral("CheckBox_ALZ_vor_Teachen");
    int range = -1;
    if (request.range == QLatin1String("250"))
        range = 0;
    else if (request.range == QLatin1String("100"))
        range = 1;
    else if (!request.range.isEmpty())
        throw ECtlUsage(QStringLiteral("--range takes 100 or 250"));
    if (range < 0 && (request.factory || checked.contains(QLatin1String(kCheckBoxes[0]))))
        throw ECtlUsage(QStringLiteral("teach: the pressure points and --factory need --range "
                                       "100 or 250"));

    GpibSettings gpib;
    InstrumentAddresses::read(dir_, gpib);
    const std::unique_ptr<InstrumentBackend> backend = InstrumentBackend::create(
        selection(request), nullptr, gpib, session_.waitScale(), BusWait::on(session_));
    ConsoleTeachView view(session_, checked, range, request.yes);
    TeachRun(session_, view, *backend, gpib).run();
    session_.finishStatusLine();

    QList<Point> points;
    const std::vector<TeachRun::Group> runGroups = TeachRun::groups();
    for (int g = 0; g < int(runGroups.size()); ++g) {
        if (!checked.contains(QString::fromLatin1(runGroups[g].checkBox)))
            continue;
        for (const QString &label : runGroups[g].labels) {
            Point point;
            point.group = groupNames().at(g);
            point.label = label;
            point.taught = view.label(label);
            point.measuredKnown = view.measured(label, &point.measured);
            points << point;
        }
    }
    // The set-points, from the tables the run walks.
    for (Point &point : points) {
        if (point.group == groupNames().at(0)) {
            for (int index : PressurePoints::taughtIndices()) {
                if (PressurePoints::labelName(index) == point.label)
                    point.setpoint = PressurePoints::generated(index, range);
            }
            point.unit = QStringLiteral("Pa");
            continue;
        }
        const bool current = point.group.endsWith(QLatin1String("current"));
        point.unit = current ? QStringLiteral("mA") : QStringLiteral("V");
        QString digits = point.label;
        digits.remove(QRegularExpression(QStringLiteral("^(IN[12][IU]|[IU])")));
        digits.chop(point.unit.size());
        point.setpoint = digits.toDouble();
    }
    if (!request.output.isEmpty())
        saveFileAtomically(request.output, record(points));
    printPoints(points, request);
    for (const Point &point : points) {
        if (point.taught == kFailed)
            return CtlCommands::kRefused;
    }
    return CtlCommands::kDone;
}

QByteArray CtlTeach::record(const QList<Point> &points) {
    QByteArray csv = "group,point,setpoint,unit,measured,taught\r\n";
    for (const Point &p : points) {
        csv +=
            (p.group + QLatin1Char(',') + p.label + QLatin1Char(',') + numberText(p.setpoint) +
             QLatin1Char(',') + p.unit + QLatin1Char(',') +
             (p.measuredKnown ? numberText(p.measured) : QString()) + QLatin1Char(',') + p.taught)
                .toUtf8() +
            "\r\n";
    }
    return csv;
}

void CtlTeach::printPoints(const QList<Point> &points, const CtlRequest &request) {
    if (request.json) {
        QJsonArray array;
        int failed = 0;
        for (const Point &p : points) {
            QJsonObject object{{"group", p.group},       {"point", p.label},
                               {"setpoint", p.setpoint}, {"unit", p.unit},
                               {"taught", p.taught},     {"failed", p.taught == kFailed}};
            object.insert("measured", p.measuredKnown ? QJsonValue(p.measured) : QJsonValue());
            failed += p.taught == kFailed ? 1 : 0;
            array.append(object);
        }
        out_.writeBytes(QJsonDocument(QJsonObject{{"points", array}, {"failed", failed}})
                            .toJson(QJsonDocument::Compact) +
                        '\n');
        return;
    }
    for (const Point &p : points) {
        out_ << QStringLiteral("%1 %2 %3 %4  %5%6\n")
                    .arg(p.label, -10)
                    .arg(numberText(p.setpoint), 6)
                    .arg(p.unit, -2)
                    .arg(p.measuredKnown
                             ? QStringLiteral("measured %1").arg(numberText(p.measured), -12)
                             : QString(21, QLatin1Char(' ')))
                    .arg(QStringLiteral("taught "), p.taught);
    }
}

int CtlTeach::benchCheck(const CtlRequest &request) {
    if (!request.arguments.isEmpty())
        throw ECtlUsage(QStringLiteral("bench-check: unexpected argument \"%1\"")
                            .arg(request.arguments.first()));
    GpibSettings gpib;
    InstrumentAddresses::read(dir_, gpib);
    const std::unique_ptr<InstrumentBackend> backend = InstrumentBackend::create(
        selection(request), nullptr, gpib, session_.waitScale(), BusWait::on(session_));
    const QList<BenchCheck::Result> results = BenchCheck::run(*backend, gpib);
    if (request.json) {
        QJsonArray array;
        for (const BenchCheck::Result &r : results) {
            array.append(QJsonObject{{"instrument", r.instrument},
                                     {"backend", r.backend},
                                     {"address", r.address},
                                     {"query", r.query},
                                     {"answered", r.answered},
                                     {"reply", r.reply},
                                     {"ms", double(r.ms)}});
        }
        out_.writeBytes(
            QJsonDocument(QJsonObject{{"instruments", array}}).toJson(QJsonDocument::Compact) +
            '\n');
    } else {
        out_ << BenchCheck::text(results) << '\n';
    }
    return BenchCheck::allAnswered(results) ? CtlCommands::kDone : CtlCommands::kRefused;
}
