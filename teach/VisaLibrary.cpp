#include "teach/VisaLibrary.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <dlfcn.h>

namespace {

QString statusText(std::int32_t status) {
    return QStringLiteral("0x") + QString::number(std::uint32_t(status), 16).toUpper();
}

} // namespace

VisaLibrary::VisaLibrary(const QString &configuredPath) {
    QStringList tried;
    for (const QString &file : candidates(configuredPath)) {
        QString reason;
        if (tryLoad(file, reason))
            return;
        tried << (reason.isEmpty() ? file
                                   : file + QStringLiteral(" (") + reason + QLatin1Char(')'));
    }
    throw EVisaError(QStringLiteral("Die VISA-Bibliothek ist nicht installiert. Versucht: ") +
                     tried.join(QStringLiteral(", ")));
}

VisaLibrary::~VisaLibrary() {
    close();
    if (handle_)
        dlclose(handle_);
}

QStringList VisaLibrary::candidates(const QString &configuredPath) {
    QStringList files;
    if (!configuredPath.isEmpty())
        files << configuredPath;
    files << QStringLiteral("libvisa.so") << QStringLiteral("libvisa.so.7")
          << QStringLiteral("libiovisa.so") << QStringLiteral("librsvisa.so");
    return files;
}

// A file that loads but lacks one of the functions is no VISA library for us; the reason is kept
// for the message, as is the loader's reason for a path that exists but does not load.
bool VisaLibrary::tryLoad(const QString &file, QString &reason) {
    void *handle = dlopen(QFile::encodeName(file).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *error = dlerror();
        if (error && file.contains(QLatin1Char('/')) && QFileInfo::exists(file))
            reason = QString::fromLocal8Bit(error);
        return false;
    }
    auto resolve = [&](const char *name) {
        void *symbol = dlsym(handle, name);
        if (!symbol && reason.isEmpty())
            reason = QLatin1String(name) + QStringLiteral(" fehlt");
        return symbol;
    };
    viOpenDefaultRM_ = reinterpret_cast<OpenDefaultRmFn>(resolve("viOpenDefaultRM"));
    viOpen_ = reinterpret_cast<OpenFn>(resolve("viOpen"));
    viWrite_ = reinterpret_cast<WriteFn>(resolve("viWrite"));
    viRead_ = reinterpret_cast<ReadFn>(resolve("viRead"));
    viClose_ = reinterpret_cast<CloseFn>(resolve("viClose"));
    if (!reason.isEmpty()) {
        dlclose(handle);
        return false;
    }
    handle_ = handle;
    loadedFrom_ = file;
    return true;
}

void VisaLibrary::open(const QString &resource) {
    close();
    ViSession manager = 0;
    const ViStatus rmStatus = viOpenDefaultRM_(&manager);
    if (rmStatus < 0) {
        throw EVisaError(QStringLiteral("VISA: Der Ressourcen-Manager lässt sich nicht öffnen "
                                        "(Status ") +
                         statusText(rmStatus) + QStringLiteral(")."));
    }
    ViSession instrument = 0;
    const QByteArray name = resource.toLatin1();
    const ViStatus status = viOpen_(manager, name.constData(), 0, 0, &instrument);
    if (status < 0) {
        viClose_(manager);
        throw EVisaError(QStringLiteral("VISA: ") + resource +
                         QStringLiteral(" lässt sich nicht öffnen (Status ") + statusText(status) +
                         QStringLiteral(")."));
    }
    resourceManager_ = manager;
    instrument_ = instrument;
}

void VisaLibrary::write(const QString &text) {
    if (!isOpen())
        return;
    const QByteArray bytes = text.toLatin1();
    ViUInt32 written = 0;
    viWrite_(instrument_, reinterpret_cast<const unsigned char *>(bytes.constData()),
             ViUInt32(bytes.size()), &written);
}

QString VisaLibrary::read(int maxCount) {
    if (!isOpen() || maxCount <= 0)
        return QString();
    QByteArray buffer(maxCount, '\0');
    ViUInt32 count = 0;
    viRead_(instrument_, reinterpret_cast<unsigned char *>(buffer.data()), ViUInt32(maxCount),
            &count);
    // A faulty library must not make us read past the buffer.
    buffer.truncate(int(std::min<ViUInt32>(count, ViUInt32(maxCount))));
    return QString::fromLatin1(buffer);
}

void VisaLibrary::close() {
    if (instrument_ != 0)
        viClose_(instrument_);
    if (resourceManager_ != 0)
        viClose_(resourceManager_);
    instrument_ = 0;
    resourceManager_ = 0;
}
