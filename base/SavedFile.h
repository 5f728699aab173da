#pragma once

#include "base/FileFault.h"

#include <QByteArray>
#include <QString>

// Writes `bytes` to `path` atomically: the file is replaced only once every byte is written, so
// a failure (a full disk, a size limit, no right to write) leaves an earlier file as it was.
// An existing `path` that is not a regular file (or a link to one) is refused and left as it
// is: a device node, a named pipe, a folder, a link that leads nowhere.
// Throws EFileFault with `problem` ("Datei PATH kann nicht erstellt werden (REASON)" for
// CannotCreate) and the reason.
void saveFileAtomically(const QString &path, const QByteArray &bytes,
                        FileFault::Problem problem = FileFault::Problem::CannotCreate);

// Why an existing `path` must not be replaced by a saved file (Folder or NotRegular); System
// when it may (a regular file, a link to one, nothing there yet).
FileFault::Cause replaceableFile(const QString &path);
