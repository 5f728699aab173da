#include "app/SavedFile.h"

#include "app/Errors.h"

#include <QSaveFile>

void saveFileAtomically(const QString &path, const QByteArray &bytes) {
    // Unbuffered, so a short write shows in the count and is never committed as a cut file.
    // Qt reports no error for a short write: errno tells why.
    QSaveFile file(path);
    QString reason;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        reason = file.errorString();
    else if (file.write(bytes) != bytes.size())
        reason = file.error() != QFileDevice::NoError ? file.errorString() : qt_error_string();
    else if (!file.commit())
        reason = file.errorString();
    // The temporary file is dropped with `file`; an earlier file stays as it was.
    if (!reason.isNull())
        throw EFileError(
            QStringLiteral("Datei %1 kann nicht erstellt werden (%2)").arg(path, reason));
}
