#pragma once

#include "i18n/CatalogueEntry.h"

#include <QChar>
#include <QString>

// What the device logic needs of the front end that runs it (the window or the command line):
// the command exchange on the open port, waits, the abort request, and where status, progress
// and messages go. The device logic knows this and its data models, never a window.
class DeviceSession {
public:
    virtual ~DeviceSession() = default;

    // One command out, its reply back (see CommandExchange::send).
    virtual QString send(const QString &command) = 0;
    // send(), and the progress advances by one step.
    virtual QString sendStep(const QString &command) = 0;
    // send() whose resends on "Err" are bounded, for actions that offer no abort control.
    virtual QString sendUnabortable(const QString &command) = 0;
    virtual void delay(int ms) = 0;
    // A wait that gives the device time to finish what it was told (zeroing, reset): neither an
    // abort nor a stop shortens it, since the device goes on working whatever the tool does.
    virtual void delayForDevice(int ms) = 0;

    virtual void openPort() = 0;
    virtual void closePort() = 0;
    virtual bool portOpen() const = 0;
    // The modem control lines of the port (the teach run powers the device's sides by them).
    virtual void setModemLines(bool dtr, bool rts) = 0;
    // " (COM1)": appended to the status texts of a transfer.
    virtual QString portSuffix() const = 0;

    virtual bool abortRequested() const = 0;
    virtual void clearAbort() = 0;

    virtual void setStatus(const QString &text) = 0;
    // Progress of a transfer: starts at 0 of `maximum`; each sendStep() adds one.
    virtual void startProgress(int maximum) = 0;
    virtual void resetProgress() = 0;

    // A catalogue text in the session's language.
    virtual QString message(CatalogueEntry entry) const = 0;
    virtual int language() const = 0;
    // Decimal separator of the values the settings show.
    virtual QChar decimalSeparator() const = 0;
};
