#pragma once

#include "i18n/CatalogueEntry.h"
#include "params/ParamTable.h"

#include <functional>

class DeviceSession;
class SettingsModel;

// Loading all settings from the device into the model, sending them back, and the factory
// settings, walking the parameter table. Catches nothing: a failure ends the transfer where
// it stands and goes to the caller, which closes the port.
class SettingsTransfer {
public:
    // What the front end shows while a transfer runs; every hook may be left empty.
    struct Observer {
        std::function<void(const ParamDef &)> rowLoaded;
        // A set command was refused; `first` for the first refusal of the send.
        std::function<void(const ParamDef &, bool first)> refused;
        // Brings the field of a setting into view (a refused or unsafe value).
        std::function<void(const ParamDef &)> showField;
        std::function<void(const ParamDef &)> focusField;
        // The transfer has ended and the port is closed (before the progress is reset).
        std::function<void()> ended;
    };

    static constexpr int kLoadProgress = 49;    // 50 exchanges: full from the 49th on
    static constexpr int kFactoryProgress = 51; // range command, "RecallWE" and the load

    SettingsTransfer(DeviceSession &session, SettingsModel &model, Observer observer = {});

    // Clears the abort request, starts the progress and opens the port.
    void begin(int progressMaximum);
    // Queries every setting; closes the port and reports "loaded" (or the abort) at the end.
    void loadAll();
    // Sends every writable setting and "SaveSet"; closes the port at the end. Throws
    // EUnsafeValue before the first command when a value holds a control character, and
    // EDeviceRefused "not all sent" after the end when the device refused a setting.
    void sendAll();
    // The measuring range (1 = 100 Pa, 0 = 250 Pa), "RecallWE", then loadAll(). Throws
    // EGlobalError "not all sent" when the device refused either command.
    void factorySettings(int range);

    // Queries the given settings into the model (no status, no end).
    void load(const std::vector<const ParamDef *> &rows);
    // Sends the given settings from the model, recording the refused ones (no "SaveSet").
    void send(const std::vector<const ParamDef *> &rows);

    // The first setting whose text could split a command line, or nullptr.
    static const ParamDef *firstUnsafe(const SettingsModel &model);
    // Throws EUnsafeValue for firstUnsafe(), after showing and focusing its field.
    void refuseUnsafeValues();

    // The settings the device refused during the last send, in table order.
    const std::vector<const ParamDef *> &refusedRows() const { return refused_; }

private:
    void applyReply(const ParamDef &row, const QString &reply);
    QString setCommandFor(const ParamDef &row) const;
    void end(CatalogueEntry statusEntry);

    DeviceSession &session_;
    SettingsModel &model_;
    Observer observer_;
    std::vector<const ParamDef *> refused_;
};
