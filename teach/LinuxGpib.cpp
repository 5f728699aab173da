#include "teach/LinuxGpib.h"

#include <QDeadlineTimer>
#include <QFile>
#include <dlfcn.h>

namespace {

// Bits of ibsta and the time-out code of ibdev, as linux-gpib's ib.h defines them.
constexpr int kErr = 0x8000;
constexpr int kTimo = 0x4000;
constexpr int kEnd = 0x2000;
constexpr int kT30ms = 8;
constexpr int kEabo = 6;

} // namespace

LinuxGpibSession::LinuxGpibSession(const BusWait &wait, InstrumentRole role, const QString &library)
    : wait_(wait), role_(role),
      library_(library.isEmpty() ? QString::fromLatin1(DefaultLibrary) : library) {
    handle_ = dlopen(QFile::encodeName(library_).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char *error = dlerror();
        throw EInstrumentBus(QStringLiteral("linux-gpib ist nicht installiert: ") + library_ +
                             QStringLiteral(" lässt sich nicht laden (") +
                             QString::fromLocal8Bit(error ? error : "") + QLatin1Char(')'));
    }
    QStringList missing;
    auto resolve = [&](const char *name, bool required) {
        void *symbol = dlsym(handle_, name);
        if (!symbol && required)
            missing << QLatin1String(name);
        return symbol;
    };
    ibdev_ = reinterpret_cast<IbdevFn>(resolve("ibdev", true));
    ibwrt_ = reinterpret_cast<IbwrtFn>(resolve("ibwrt", true));
    ibrd_ = reinterpret_cast<IbrdFn>(resolve("ibrd", true));
    ibonl_ = reinterpret_cast<IbonlFn>(resolve("ibonl", true));
    // Newer versions keep the error and count per thread; the globals serve older ones.
    threadIberr_ = reinterpret_cast<ThreadIntFn>(resolve("ThreadIberr", false));
    threadIbcntl_ = reinterpret_cast<ThreadLongFn>(resolve("ThreadIbcntl", false));
    iberr_ = static_cast<volatile int *>(resolve("iberr", !threadIberr_));
    ibcntl_ = static_cast<volatile long *>(resolve("ibcntl", !threadIbcntl_));
    if (!missing.isEmpty()) {
        dlclose(handle_);
        handle_ = nullptr;
        throw EInstrumentBus(QStringLiteral("linux-gpib: ") + library_ +
                             QStringLiteral(" ist unvollständig, es fehlt ") +
                             missing.join(QStringLiteral(", ")));
    }
}

LinuxGpibSession::~LinuxGpibSession() {
    close();
    if (handle_)
        dlclose(handle_);
}

QString LinuxGpibSession::errorName(int iberr) {
    static const struct {
        int code;
        const char *text;
    } names[] = {
        {0, "EDVR (Systemfehler; Treiber geladen, Board konfiguriert, Gruppe 'gpib'?)"},
        {1, "ECIC (Board ist nicht Controller-in-Charge)"},
        {2, "ENOL (kein Listener am Bus: falsche Adresse oder Gerät aus?)"},
        {3, "EADR (Adressierung fehlgeschlagen)"},
        {4, "EARG (ungültiges Argument)"},
        {5, "ESAC (Board ist nicht System-Controller)"},
        {6, "EABO (Zeitüberschreitung, Übertragung abgebrochen)"},
        {7, "ENEB (kein GPIB-Board 0)"},
        {8, "EDMA (DMA-Fehler)"},
        {10, "EOIP (asynchrone Übertragung läuft)"},
        {11, "ECAP (nicht unterstützt)"},
        {12, "EFSO (Dateisystemfehler)"},
        {14, "EBUS (Busfehler)"},
        {15, "ESTB (Statusbyte-Warteschlange übergelaufen)"},
        {16, "ESRQ (SRQ dauerhaft gesetzt)"},
        {20, "ETAB (Tabellenfehler)"},
    };
    for (const auto &name : names) {
        if (name.code == iberr)
            return QString::fromUtf8(name.text);
    }
    return QStringLiteral("Fehler %1").arg(iberr);
}

int LinuxGpibSession::lastError() const {
    return threadIberr_ ? threadIberr_() : *iberr_;
}

long LinuxGpibSession::lastCount() const {
    return threadIbcntl_ ? threadIbcntl_() : *ibcntl_;
}

QString LinuxGpibSession::who() const {
    return instrumentName(role_) + QStringLiteral(" an GPIB-Adresse ") + address_ +
           QStringLiteral(" (linux-gpib, Board 0)");
}

void LinuxGpibSession::fail(const char *call, int status) const {
    throw EInstrumentBus(who() + QStringLiteral(": ") + QLatin1String(call) +
                         QStringLiteral(" meldet ") + errorName(lastError()) +
                         QStringLiteral(" (ibsta 0x") + QString::number(status & 0xffff, 16) +
                         QLatin1Char(')'));
}

void LinuxGpibSession::open(const QString &resource) {
    close();
    address_ = gpibAddressOf(resource);
    const int pad = primaryAddress(address_, who());
    const int descriptor = ibdev_(Board, pad, 0, kT30ms, 1, 0);
    if (descriptor < 0)
        fail("ibdev", kErr);
    descriptor_ = descriptor;
}

void LinuxGpibSession::write(const QString &text) {
    if (descriptor_ < 0)
        return;
    const QByteArray bytes = text.toLatin1();
    long done = 0;
    QDeadlineTimer deadline(wait_.timeoutMs);
    while (done < bytes.size()) {
        const int status = ibwrt_(descriptor_, bytes.constData() + done, bytes.size() - done);
        const bool timedOut = (status & kTimo) || ((status & kErr) && lastError() == kEabo);
        if ((status & kErr) && !timedOut)
            fail("ibwrt", status);
        done += qMax(0L, lastCount());
        if (!timedOut)
            break;
        if (deadline.hasExpired())
            throw EInstrumentBus(who() + QStringLiteral(": ibwrt nimmt in %1 ms nicht an "
                                                        "(Zeitüberschreitung)")
                                             .arg(wait_.timeoutMs));
        wait_.handOver();
    }
}

QString LinuxGpibSession::read(int maxCount) {
    if (descriptor_ < 0 || maxCount <= 0)
        return QString();
    QByteArray reply;
    QDeadlineTimer deadline(wait_.timeoutMs);
    for (;;) {
        QByteArray buffer(maxCount - reply.size(), '\0');
        const int status = ibrd_(descriptor_, buffer.data(), buffer.size());
        const bool timedOut = (status & kTimo) || ((status & kErr) && lastError() == kEabo);
        if ((status & kErr) && !timedOut)
            fail("ibrd", status);
        // A faulty library must not make us read past the buffer.
        reply += buffer.left(int(qBound(0L, lastCount(), long(buffer.size()))));
        if ((status & kEnd) || reply.size() >= maxCount)
            return QString::fromLatin1(reply);
        if (!timedOut && !reply.isEmpty())
            return QString::fromLatin1(reply);
        if (deadline.hasExpired()) {
            if (!reply.isEmpty())
                return QString::fromLatin1(reply);
            throw EInstrumentBus(
                who() + QStringLiteral(": keine Antwort innerhalb %1 ms").arg(wait_.timeoutMs));
        }
        wait_.handOver();
        wait_.throwIfAborted();
    }
}

void LinuxGpibSession::close() {
    if (descriptor_ >= 0)
        ibonl_(descriptor_, 0);
    descriptor_ = -1;
}
