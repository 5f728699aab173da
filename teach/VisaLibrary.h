#pragma once

#include "base/Errors.h"
#include "teach/InstrumentSession.h"

#include <QStringList>
#include <cstdint>

// The VISA library is missing, incomplete, or refused to open a connection.
class EVisaError : public EZelError {
public:
    using EZelError::EZelError;
};

// An instrument session through the VISA C library, loaded at run time so that the tool starts
// and works without it; only the teach run needs it.
class VisaLibrary : public InstrumentSession {
public:
    // Loads the library: the configured path first (when not empty), then the usual names.
    // Throws EVisaError naming every file tried when none loads with all five functions.
    explicit VisaLibrary(const QString &configuredPath = QString());
    ~VisaLibrary() override;
    VisaLibrary(const VisaLibrary &) = delete;
    VisaLibrary &operator=(const VisaLibrary &) = delete;

    static QStringList candidates(const QString &configuredPath);
    QString loadedFrom() const { return loadedFrom_; }
    bool isOpen() const { return instrument_ != 0; }

    // Opens the default resource manager and the instrument; throws EVisaError on failure.
    void open(const QString &resource) override;
    // Result codes of write, read and close are not looked at: a silent instrument shows up in
    // its replies. Without an open connection they do nothing.
    void write(const QString &text) override;
    QString read(int maxCount = DefaultReadCount) override;
    void close() override;

private:
    using ViStatus = std::int32_t;
    using ViSession = std::uint32_t;
    using ViUInt32 = std::uint32_t;
    using OpenDefaultRmFn = ViStatus (*)(ViSession *);
    using OpenFn = ViStatus (*)(ViSession, const char *, ViUInt32, ViUInt32, ViSession *);
    using WriteFn = ViStatus (*)(ViSession, const unsigned char *, ViUInt32, ViUInt32 *);
    using ReadFn = ViStatus (*)(ViSession, unsigned char *, ViUInt32, ViUInt32 *);
    using CloseFn = ViStatus (*)(ViSession);

    bool tryLoad(const QString &file, QString &reason);

    void *handle_ = nullptr;
    QString loadedFrom_;
    OpenDefaultRmFn viOpenDefaultRM_ = nullptr;
    OpenFn viOpen_ = nullptr;
    WriteFn viWrite_ = nullptr;
    ReadFn viRead_ = nullptr;
    CloseFn viClose_ = nullptr;
    ViSession resourceManager_ = 0;
    ViSession instrument_ = 0;
};
