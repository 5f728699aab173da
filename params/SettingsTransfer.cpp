#include "params/SettingsTransfer.h"

#include "base/Errors.h"
#include "link/DeviceSession.h"
#include "link/WireText.h"
#include "params/ParamCodec.h"
#include "params/SettingsModel.h"

namespace {

QString nameOf(const ParamDef &row) {
    return QString::fromLatin1(row.name);
}

bool isNamed(const ParamDef &row, const char *name) {
    return qstrcmp(row.name, name) == 0;
}

} // namespace

SettingsTransfer::SettingsTransfer(DeviceSession &session, SettingsModel &model, Observer observer)
    : session_(session), model_(model), observer_(std::move(observer)) {}

void SettingsTransfer::begin(int progressMaximum) {
    session_.clearAbort();
    session_.startProgress(progressMaximum);
    session_.openPort();
}

void SettingsTransfer::end(CatalogueEntry statusEntry) {
    session_.closePort();
    session_.setStatus(
        session_.message(session_.abortRequested() ? CatalogueEntry::AbortByUser : statusEntry));
    session_.clearAbort();
    if (observer_.ended)
        observer_.ended();
    session_.resetProgress();
}

void SettingsTransfer::loadAll() {
    session_.setStatus(session_.message(CatalogueEntry::LoadingData) + session_.portSuffix());
    load(ParamTable::all());
    end(CatalogueEntry::DataLoaded);
}

void SettingsTransfer::load(const std::vector<const ParamDef *> &rows) {
    for (const ParamDef *row : rows) {
        applyReply(*row, session_.sendStep(ParamCodec::queryCommand(nameOf(*row))));
        if (observer_.rowLoaded)
            observer_.rowLoaded(*row);
    }
}

void SettingsTransfer::applyReply(const ParamDef &row, const QString &reply) {
    const QChar separator = session_.decimalSeparator();
    const QString value = ParamCodec::replyValue(reply, nameOf(row), separator);
    switch (row.kind) {
    case ParamKind::Decimal:
        model_.setText(row, ParamCodec::decimalText(value, separator));
        break;
    case ParamKind::Password:
        model_.setText(row, ParamCodec::passwordText(value, separator));
        break;
    case ParamKind::Address:
        model_.setText(row, value);
        break;
    case ParamKind::Choice: {
        const int choice = ParamCodec::choiceValue(value);
        model_.setDeviceChoice(row, choice);
        // The unit lists take the items of the mode just loaded, without selection.
        if (isNamed(row, "ExtPress"))
            model_.rebuildUnitLists(choice);
        break;
    }
    }
}

const ParamDef *SettingsTransfer::firstUnsafe(const SettingsModel &model) {
    for (const ParamDef &row : ParamTable::rows()) {
        if (row.kind != ParamKind::Decimal && row.kind != ParamKind::Password)
            continue;
        if (!WireText::isSafe(model.text(row)))
            return &row;
    }
    return nullptr;
}

// Checked before the first command, so a value that could split a line stops the whole send
// with nothing of it on the wire; its field is shown like a refused one.
void SettingsTransfer::refuseUnsafeValues() {
    const ParamDef *row = firstUnsafe(model_);
    if (!row)
        return;
    if (observer_.showField)
        observer_.showField(*row);
    if (observer_.focusField)
        observer_.focusField(*row);
    throw EUnsafeValue(nameOf(*row));
}

void SettingsTransfer::sendAll() {
    refuseUnsafeValues();
    session_.setStatus(session_.message(CatalogueEntry::SendingData) + session_.portSuffix());
    send(ParamTable::all());
    session_.sendStep(QStringLiteral("SaveSet"));
    end(refused_.empty() ? CatalogueEntry::DataSent : CatalogueEntry::NotAllSent);
    if (refused_.empty())
        return;
    // The field a refusal marker finds again takes the focus.
    const ParamDef *focus = ParamCodec::rowForMarker(ParamCodec::refusalMarker(*refused_.front()));
    if (focus && observer_.focusField)
        observer_.focusField(*focus);
    throw EDeviceRefused(session_.message(CatalogueEntry::NotAllSent));
}

void SettingsTransfer::send(const std::vector<const ParamDef *> &rows) {
    refused_.clear();
    for (const ParamDef *row : rows) {
        if (row->kind == ParamKind::Address)
            continue;
        if (!ParamCodec::isRefusal(session_.sendStep(setCommandFor(*row))))
            continue;
        refused_.push_back(row);
        // The page of the first refused field shows while the transfer goes on.
        if (observer_.refused)
            observer_.refused(*row, refused_.size() == 1);
        if (refused_.size() == 1 && observer_.showField)
            observer_.showField(*row);
    }
}

QString SettingsTransfer::setCommandFor(const ParamDef &row) const {
    if (row.kind != ParamKind::Choice)
        return ParamCodec::setCommand(nameOf(row), ParamCodec::editTextOnWire(model_.text(row)));
    return ParamCodec::setCommand(nameOf(row), QString::number(model_.deviceChoice(row)));
}

void SettingsTransfer::factorySettings(int range) {
    const QString rangeReply = session_.sendStep(
        ParamCodec::setCommand(QStringLiteral("MeasRange"), QString::number(range)));
    session_.setStatus(session_.message(CatalogueEntry::ResettingZel));
    const QString recallReply = session_.sendStep(QStringLiteral("RecallWE"));
    // The settings show what the device holds now, even when it refused the reset.
    loadAll();
    if (ParamCodec::isRefusal(rangeReply) || ParamCodec::isRefusal(recallReply)) {
        session_.setStatus(session_.message(CatalogueEntry::NotAllSent));
        throw EDeviceRefused(session_.message(CatalogueEntry::NotAllSent));
    }
}
