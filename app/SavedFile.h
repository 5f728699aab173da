#pragma once

#include <QByteArray>
#include <QString>

// Writes `bytes` to `path` atomically: the file is replaced only once every byte is written, so
// a failure (a full disk, a size limit, no right to write) leaves an earlier file as it was.
// Throws EFileError "Datei PATH kann nicht erstellt werden (REASON)".
void saveFileAtomically(const QString &path, const QByteArray &bytes);
