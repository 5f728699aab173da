#include "params/ParamTransfer.h"

#include "app/Errors.h"
#include "app/TformMain.h"
#include "i18n/LanguageApplier.h"
#include "link/WireText.h"
#include "params/ParamCodec.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabWidget>

namespace {

enum : int {
    kMsgLoading = 35,
    kMsgAbortByUser = 36,
    kMsgLoaded = 38,
    kMsgSending = 40,
    kMsgSent = 48,
    kMsgResetting = 57,
    kMsgNotAllSent = 58,
};

constexpr int kLoadProgress = 49;    // 50 exchanges: full from the 49th on
constexpr int kFactoryProgress = 51; // range command, "RecallWE" and the load

bool isNamed(const ParamDef &row, const char *name) {
    return qstrcmp(row.name, name) == 0;
}

QString nameOf(const ParamDef &row) {
    return QString::fromLatin1(row.name);
}
QString controlOf(const ParamDef &row) {
    return QString::fromLatin1(row.control);
}

int unitInput(const ParamDef &row) {
    if (isNamed(row, "UnitIN1"))
        return 1;
    if (isNamed(row, "UnitIN2"))
        return 2;
    return 0;
}

} // namespace

bool ParamTransfer::begin(int progressMaximum) {
    if (w_.refuseWhileMeasuring())
        return false;
    w_.state.abortFlag = false;
    w_.beginAction(DeviceAction::Transfer);
    w_.Progress->setMaximum(progressMaximum);
    w_.Progress->setValue(0);
    w_.state.transferFailureMarker = 0;
    w_.openPort();
    return true;
}

void ParamTransfer::end(int statusEntry) {
    w_.closePort();
    w_.setStatus(w_.msg(w_.state.abortFlag ? int(kMsgAbortByUser) : statusEntry));
    w_.state.abortFlag = false;
    w_.endAction();
    w_.Progress->setValue(0);
}

void ParamTransfer::loadClick() {
    if (begin(kLoadProgress))
        loadAll();
}

void ParamTransfer::loadAll() {
    w_.setStatus(w_.msg(kMsgLoading) + w_.portSuffix());
    for (const ParamDef &row : ParamTable::rows()) {
        applyReply(row, w_.SendSpToCom(ParamCodec::queryCommand(nameOf(row))));
        // The charts follow the units and the mode just loaded.
        if (isNamed(row, "UnitIN2"))
            w_.DiagrammKonfiguration();
    }
    end(kMsgLoaded);
    w_.state.transferFailureMarker = 0;
}

void ParamTransfer::applyReply(const ParamDef &row, const QString &reply) {
    const QChar separator = w_.state.decimalSeparator;
    const QString value = ParamCodec::replyValue(reply, nameOf(row), separator);
    switch (row.kind) {
    case ParamKind::Decimal:
        w_.ctl<QLineEdit>(controlOf(row))->setText(ParamCodec::decimalText(value, separator));
        break;
    case ParamKind::Password:
        w_.ctl<QLineEdit>(controlOf(row))->setText(ParamCodec::passwordText(value, separator));
        break;
    case ParamKind::Choice:
        applyChoice(row, ParamCodec::choiceValue(value));
        break;
    case ParamKind::Address:
        w_.ctl<QLabel>(controlOf(row))->setText(value);
        break;
    }
}

void ParamTransfer::applyChoice(const ParamDef &row, int value) {
    if (isNamed(row, "ExtPress")) {
        select(w_.ctl<QComboBox>(controlOf(row)), value);
        w_.state.previousExtPressMode = value;
        rebuildUnitList(1, value, false);
        rebuildUnitList(2, value, false);
    } else if (const int input = unitInput(row)) {
        const int index = ParamCodec::unitIndex(input, w_.state.previousExtPressMode, value);
        select(w_.ctl<QComboBox>(controlOf(row)), index);
    } else if (isNamed(row, "MeasRange")) {
        select(w_.ctl<QComboBox>(QStringLiteral("MeasRange1")), value);
        select(w_.ctl<QComboBox>(controlOf(row)), value);
    } else {
        select(w_.ctl<QComboBox>(controlOf(row)), value);
    }
}

void ParamTransfer::select(QComboBox *combo, int index) {
    // An index outside the list leaves it without selection.
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

void ParamTransfer::rebuildUnitList(int input, int mode, bool selectFirst) {
    LanguageApplier::rebuildInputUnits(w_, input, mode);
    if (selectFirst)
        w_.ctl<QComboBox>(input == 1 ? QStringLiteral("UnitIN1") : QStringLiteral("UnitIN2"))
            ->setCurrentIndex(0);
}

void ParamTransfer::sendClick() {
    if (w_.refuseWhileMeasuring())
        return;
    refuseUnsafeValues();
    if (begin(kLoadProgress))
        sendAll();
}

void ParamTransfer::sendAll() {
    refuseUnsafeValues();
    w_.setStatus(w_.msg(kMsgSending) + w_.portSuffix());
    for (const ParamDef &row : ParamTable::rows()) {
        if (row.kind != ParamKind::Address)
            noteReply(row, w_.SendSpToCom(setCommandFor(row)));
    }
    w_.SendSpToCom(QStringLiteral("SaveSet"));
    const int marker = w_.state.transferFailureMarker;
    end(marker == 0 ? kMsgSent : kMsgNotAllSent);
    focusRefusedField(marker);
    if (marker > 0)
        throw EGlobalError(w_.msg(kMsgNotAllSent));
    w_.state.transferFailureMarker = 0;
}

QString ParamTransfer::setCommandFor(const ParamDef &row) const {
    if (row.kind != ParamKind::Choice) {
        const QString text = w_.ctl<QLineEdit>(controlOf(row))->text();
        return ParamCodec::setCommand(nameOf(row), ParamCodec::editTextOnWire(text));
    }
    int value = w_.ctl<QComboBox>(controlOf(row))->currentIndex();
    if (const int input = unitInput(row)) {
        const int mode = w_.ctl<QComboBox>(QStringLiteral("ExtPress"))->currentIndex();
        value = ParamCodec::unitValue(input, mode, value);
    }
    return ParamCodec::setCommand(nameOf(row), QString::number(value));
}

// Checked before the first command, so a value that could split a line stops the whole send
// with nothing of it on the wire; its field is shown like a refused one.
void ParamTransfer::refuseUnsafeValues() {
    for (const ParamDef &row : ParamTable::rows()) {
        if (row.kind != ParamKind::Decimal && row.kind != ParamKind::Password)
            continue;
        if (WireText::isSafe(w_.ctl<QLineEdit>(controlOf(row))->text()))
            continue;
        w_.PageControl->setCurrentIndex(ParamTable::pageIndex(QString::fromLatin1(row.sheet)));
        w_.ctl<QWidget>(controlOf(row))->setFocus();
        throw EUnsafeValue(nameOf(row));
    }
}

void ParamTransfer::noteReply(const ParamDef &row, const QString &reply) {
    if (w_.state.transferFailureMarker != 0 || !ParamCodec::isRefusal(reply))
        return;
    w_.state.transferFailureMarker = ParamCodec::refusalMarker(row);
    // The page of the first refused field shows while the transfer goes on.
    w_.PageControl->setCurrentIndex(ParamTable::pageIndex(QString::fromLatin1(row.sheet)));
}

void ParamTransfer::focusRefusedField(int marker) {
    if (const ParamDef *row = ParamCodec::rowForMarker(marker))
        w_.ctl<QWidget>(controlOf(*row))->setFocus();
}

void ParamTransfer::factorySettings(int range) {
    if (!begin(kFactoryProgress))
        return;
    const QString rangeReply =
        w_.SendSpToCom(ParamCodec::setCommand(QStringLiteral("MeasRange"), QString::number(range)));
    w_.setStatus(w_.msg(kMsgResetting));
    const QString recallReply = w_.SendSpToCom(QStringLiteral("RecallWE"));
    // The pages show what the device holds now, even when it refused the reset.
    loadAll();
    if (ParamCodec::isRefusal(rangeReply) || ParamCodec::isRefusal(recallReply)) {
        w_.setStatus(w_.msg(kMsgNotAllSent));
        throw EGlobalError(w_.msg(kMsgNotAllSent));
    }
}

void ParamTransfer::extPressChanged() {
    const int mode = w_.ctl<QComboBox>(QStringLiteral("ExtPress"))->currentIndex();
    const ParamCodec::UnitListRebuild rebuild =
        ParamCodec::extPressRebuild(w_.state.previousExtPressMode, mode);
    if (rebuild.in1)
        rebuildUnitList(1, mode, true);
    if (rebuild.in2)
        rebuildUnitList(2, mode, true);
    w_.state.previousExtPressMode = mode;
}
