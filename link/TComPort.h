#pragma once

#include "link/SerialDriver.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>

// The tool's one serial port: fixed line settings, the names "COM1" to "COM16" and their Linux
// devices, and the operations the command exchange and the teach run use.
class TComPort {
public:
    explicit TComPort(std::unique_ptr<SerialDriver> driver = nullptr);
    ~TComPort();

    // "com3" -> "COM3"; a number outside 1..16 or no number -> "COM1".
    static QString normalizeName(const QString &name);
    // Default device of a COM name: COMn is /dev/ttyS(n-1).
    static QString defaultDevice(const QString &comName);

    // Present serial devices: path, description and serial number, with the stable
    // /dev/serial/by-id names first.
    static QList<QPair<QString, QString>> presentDevices();

    void setPort(const QString &name);
    QString port() const { return name_; }
    // Devices bound to COM names (section "Ports" of the tool settings file).
    void setBindings(const QMap<QString, QString> &bindings);
    const QMap<QString, QString> &bindings() const { return bindings_; }
    QString devicePath() const;

    // All line settings at once: the port is re-set once, and keeps them across close and open.
    void setLineSettings(const LineSettings &settings);
    const LineSettings &lineSettings() const { return settings_; }
    void setBaudRate(int baud);
    int baudRate() const { return settings_.baudRate; }

    // `whileWaiting` gets its turn while a device server is connected and negotiated; when it
    // returns true the port stays closed. A local port opens at once.
    void open(const SerialDriver::WhileWaiting &whileWaiting = {});
    void close();
    bool connected() const;
    void setEventChar(char c) { eventChar_ = c; }
    void clearBuffer(bool input, bool output);
    void writeStr(const QString &text);
    QString readStr(int maxCount);
    // Waits for the event character; false after the time-out or when `whileWaiting`, called
    // every few milliseconds meanwhile, ended the wait.
    bool waitForEventChar(int timeoutMs, const SerialDriver::WhileWaiting &whileWaiting = {});
    void setDTR(bool on);
    void setRTS(bool on);

    // The driver of the open line (a device server's when the device path names one).
    SerialDriver &driver() { return *active_; }

private:
    std::unique_ptr<SerialDriver> driver_;
    // Made at the first open of a "tcp://" or "rfc2217://" device path.
    std::unique_ptr<SerialDriver> netDriver_;
    SerialDriver *active_;
    QString name_ = QStringLiteral("COM1");
    QMap<QString, QString> bindings_;
    LineSettings settings_;
    char eventChar_ = '\r';
};
