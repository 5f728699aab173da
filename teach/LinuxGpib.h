#pragma once

#include "teach/BusSessions.h"

#include <QStringList>

// An instrument session through linux-gpib's libgpib.so.0, loaded at run time: ibdev on board
// 0 with the instrument's primary address, EOI with the last byte of every write, ibwrt, ibrd,
// ibonl to close. The device descriptor's own time-out is short (30 ms): a write or read is
// repeated in such slices until it is done, the bus time-out has passed, or the abort ends a
// read, so the window keeps painting meanwhile. ibsta and iberr become errors naming the
// instrument, its address and the library's error.
class LinuxGpibSession : public InstrumentSession {
public:
    static constexpr const char *DefaultLibrary = "libgpib.so.0";
    static constexpr int Board = 0;

    // Loads the library (the configured path when not empty, else libgpib.so.0); throws
    // EInstrumentBus naming what was tried when it does not load with all its functions.
    LinuxGpibSession(const BusWait &wait, InstrumentRole role, const QString &library);
    ~LinuxGpibSession() override;
    LinuxGpibSession(const LinuxGpibSession &) = delete;
    LinuxGpibSession &operator=(const LinuxGpibSession &) = delete;

    void open(const QString &resource) override;
    void write(const QString &text) override;
    QString read(int maxCount) override;
    void close() override;

    // "ENOL (kein Listener am Bus)" for the library's error number.
    static QString errorName(int iberr);

private:
    using IbdevFn = int (*)(int, int, int, int, int, int);
    using IbwrtFn = int (*)(int, const void *, long);
    using IbrdFn = int (*)(int, void *, long);
    using IbonlFn = int (*)(int, int);
    using ThreadIntFn = int (*)();
    using ThreadLongFn = long (*)();

    int lastError() const;
    long lastCount() const;
    QString who() const;
    [[noreturn]] void fail(const char *call, int status) const;

    BusWait wait_;
    InstrumentRole role_;
    void *handle_ = nullptr;
    QString library_;
    IbdevFn ibdev_ = nullptr;
    IbwrtFn ibwrt_ = nullptr;
    IbrdFn ibrd_ = nullptr;
    IbonlFn ibonl_ = nullptr;
    ThreadIntFn threadIberr_ = nullptr;
    ThreadLongFn threadIbcntl_ = nullptr;
    volatile int *iberr_ = nullptr;
    volatile long *ibcntl_ = nullptr;
    QString address_;
    int descriptor_ = -1;
};
