#include "tests/reliability/FaultMatrixReport.h"

#include <QFile>
#include <QSaveFile>

namespace {

const QString kExchangeFailed =
    QStringLiteral("Fehler beim Datenaustausch mit dem ZEL 40 / ZEL 80 (COM1)");
const QString kAbort = QStringLiteral("Abbruch durch Benutzer");
const QString kNotAllSent = QStringLiteral("Nicht alle Daten wurden erfolgreich gesendet");

// A message as the report prints it: control characters (the garbage reply) escaped.
QString printable(const QString &text) {
    QString out;
    for (QChar c : text) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() < 0xa0))
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else if (c == QLatin1Char('|'))
            out += QStringLiteral("\\|");
        else
            out += c;
    }
    return out;
}

} // namespace

std::vector<FaultMatrixReport::Action> FaultMatrixReport::actions() {
    return {Action::Load,
            Action::Send,
            Action::Factory,
            Action::StartMeasurement,
            Action::RunningMeasurement,
            Action::Zeroing,
            Action::ZeroingWhileMeasuring,
            Action::Reset,
            Action::Recalibration,
            Action::DeleteRecalibration,
            Action::LoadTeach,
            Action::SendTeach,
            Action::TeachRun};
}

std::vector<FaultMatrixReport::Fault> FaultMatrixReport::faults() {
    return {Fault::Silent, Fault::ErrForever, Fault::Empty,     Fault::Garbage,
            Fault::NoCr,   Fault::Flood,      Fault::SlowUnder, Fault::SlowOver,
            Fault::HangUp, Fault::Vanish,     Fault::PortBusy,  Fault::PermissionDenied};
}

QByteArray FaultMatrixReport::key(Action action) {
    switch (action) {
    case Action::Load:
        return "load";
    case Action::Send:
        return "send";
    case Action::Factory:
        return "factory";
    case Action::StartMeasurement:
        return "start-measure";
    case Action::RunningMeasurement:
        return "measuring";
    case Action::Zeroing:
        return "zeroing";
    case Action::ZeroingWhileMeasuring:
        return "zeroing-measuring";
    case Action::Reset:
        return "reset";
    case Action::Recalibration:
        return "recalibrate";
    case Action::DeleteRecalibration:
        return "delete-recalibration";
    case Action::LoadTeach:
        return "load-teach";
    case Action::SendTeach:
        return "send-teach";
    case Action::TeachRun:
        return "teach-run";
    }
    return {};
}

QByteArray FaultMatrixReport::key(Fault fault) {
    switch (fault) {
    case Fault::Silent:
        return "silent";
    case Fault::ErrForever:
        return "err-forever";
    case Fault::Empty:
        return "empty";
    case Fault::Garbage:
        return "garbage";
    case Fault::NoCr:
        return "no-cr";
    case Fault::Flood:
        return "flood";
    case Fault::SlowUnder:
        return "slow-under";
    case Fault::SlowOver:
        return "slow-over";
    case Fault::HangUp:
        return "hang-up";
    case Fault::Vanish:
        return "vanish";
    case Fault::PortBusy:
        return "port-busy";
    case Fault::PermissionDenied:
        return "denied";
    }
    return {};
}

QString FaultMatrixReport::title(Action action) {
    switch (action) {
    case Action::Load:
        return QStringLiteral("load settings (`ButtonLaden`)");
    case Action::Send:
        return QStringLiteral("send settings (`ButtonSenden`)");
    case Action::Factory:
        return QStringLiteral("factory settings (`ButtonWE100Pa`)");
    case Action::StartMeasurement:
        return QStringLiteral("start measurement (`ButtonConnection`)");
    case Action::RunningMeasurement:
        return QStringLiteral("running measurement (tick)");
    case Action::Zeroing:
        return QStringLiteral("zeroing (`ButtonNullieren`)");
    case Action::ZeroingWhileMeasuring:
        return QStringLiteral("zeroing during a measurement");
    case Action::Reset:
        return QStringLiteral("reset (`ButtonReset`)");
    case Action::Recalibration:
        return QStringLiteral("re-calibration (`ButtonCalibPlus`)");
    case Action::DeleteRecalibration:
        return QStringLiteral("delete re-calibration (`ButtonCalibCancel`)");
    case Action::LoadTeach:
        return QStringLiteral("load teach values (`ButtonLoadTeach`)");
    case Action::SendTeach:
        return QStringLiteral("send teach values (`ButtonSendTeach`)");
    case Action::TeachRun:
        return QStringLiteral("teach run (`ButtonTeach`)");
    }
    return {};
}

QString FaultMatrixReport::title(Fault fault) {
    switch (fault) {
    case Fault::Silent:
        return QStringLiteral("silent");
    case Fault::ErrForever:
        return QStringLiteral("\"Err\" forever");
    case Fault::Empty:
        return QStringLiteral("empty reply");
    case Fault::Garbage:
        return QStringLiteral("garbage");
    case Fault::NoCr:
        return QStringLiteral("no CR");
    case Fault::Flood:
        return QStringLiteral("flood");
    case Fault::SlowUnder:
        return QStringLiteral("slow, under");
    case Fault::SlowOver:
        return QStringLiteral("slow, over");
    case Fault::HangUp:
        return QStringLiteral("hang-up");
    case Fault::Vanish:
        return QStringLiteral("unplugged");
    case Fault::PortBusy:
        return QStringLiteral("port busy");
    case Fault::PermissionDenied:
        return QStringLiteral("denied");
    }
    return {};
}

QString FaultMatrixReport::label(Outcome outcome) {
    switch (outcome) {
    case Outcome::Success:
        return QStringLiteral("OK");
    case Outcome::GoesOn:
        return QStringLiteral("RUN");
    case Outcome::ExchangeFailure:
        return QStringLiteral("XF");
    case Outcome::Bounded:
        return QStringLiteral("XF100");
    case Outcome::Abort:
        return QStringLiteral("AB");
    case Outcome::Conversion:
        return QStringLiteral("CV");
    case Outcome::NotAllSent:
        return QStringLiteral("NS");
    case Outcome::LinkLost:
        return QStringLiteral("PL");
    case Outcome::OpenFailed:
        return QStringLiteral("PO");
    }
    return {};
}

FaultMatrixReport::Outcome FaultMatrixReport::classify(Fault fault, const QStringList &errors,
                                                       bool measurementRunning) {
    if (errors.isEmpty())
        return measurementRunning ? Outcome::GoesOn : Outcome::Success;
    const QString &first = errors.first();
    if (first == kExchangeFailed)
        return fault == Fault::ErrForever ? Outcome::Bounded : Outcome::ExchangeFailure;
    if (first == kAbort)
        return Outcome::Abort;
    if (first == kNotAllSent)
        return Outcome::NotAllSent;
    if (first.contains(QStringLiteral("ist kein gültiger")))
        return Outcome::Conversion;
    if (first.startsWith(QLatin1String("Unable to open com port")))
        return Outcome::OpenFailed;
    return Outcome::LinkLost;
}

void FaultMatrixReport::begin(Action action, Fault fault) {
    cells_[{int(action), int(fault)}] = Cell();
}

void FaultMatrixReport::observe(Action action, Fault fault, Outcome outcome,
                                const QStringList &errors, const QString &finalStatus,
                                qint64 elapsedMs) {
    Cell &cell = cells_[{int(action), int(fault)}];
    cell.observed = true;
    cell.outcome = outcome;
    cell.firstError = errors.isEmpty() ? QString() : errors.first();
    cell.finalStatus = finalStatus;
    cell.elapsedMs = elapsedMs;
}

void FaultMatrixReport::pass(Action action, Fault fault) {
    cells_[{int(action), int(fault)}].passed = true;
}

QString FaultMatrixReport::grid() const {
    QString text = QStringLiteral("| action |");
    QString rule = QStringLiteral("|---|");
    for (Fault fault : faults()) {
        text += QLatin1Char(' ') + title(fault) + QStringLiteral(" |");
        rule += QStringLiteral("---|");
    }
    text += QLatin1Char('\n') + rule + QLatin1Char('\n');
    for (Action action : actions()) {
        text += QStringLiteral("| ") + title(action) + QStringLiteral(" |");
        for (Fault fault : faults()) {
            const auto it = cells_.constFind({int(action), int(fault)});
            QString entry = QStringLiteral("–");
            if (it != cells_.cend() && it->observed)
                entry =
                    label(it->outcome) + (it->passed ? QString() : QStringLiteral(" **FAILED**"));
            else if (it != cells_.cend())
                entry = QStringLiteral("**FAILED** (no outcome)");
            text += QLatin1Char(' ') + entry + QStringLiteral(" |");
        }
        text += QLatin1Char('\n');
    }
    return text;
}

// Each distinct message, with the cells that showed it first.
QString FaultMatrixReport::messages() const {
    QMap<QString, QStringList> byMessage;
    for (auto it = cells_.cbegin(); it != cells_.cend(); ++it) {
        if (!it->observed || it->firstError.isEmpty())
            continue;
        byMessage[it->firstError] << QString::fromLatin1(key(Action(it.key().first)) + '/' +
                                                         key(Fault(it.key().second)));
    }
    QString text;
    for (auto it = byMessage.cbegin(); it != byMessage.cend(); ++it) {
        text += QStringLiteral("- \"") + printable(it.key()) + QStringLiteral("\": ") +
                it.value().join(QStringLiteral(", ")) + QLatin1Char('\n');
    }
    return text;
}

bool FaultMatrixReport::write(const QString &path) const {
    qint64 totalMs = 0;
    int passed = 0;
    for (const Cell &cell : cells_) {
        totalMs += cell.elapsedMs;
        passed += cell.passed ? 1 : 0;
    }
    QString text = grid();
    text += QStringLiteral("\n%1 of %2 cells passed; the actions took %3 s in all.\n")
                .arg(passed)
                .arg(cells_.size())
                .arg(double(totalMs) / 1000.0, 0, 'f', 1);
    text += QStringLiteral("\nFirst message of each cell that showed one:\n\n") + messages();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}
