#include "base/SavedFile.h"

#include <QFile>
#include <QSaveFile>

#include <sys/stat.h>

FileFault::Cause replaceableFile(const QString &path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat entry {};
    if (::lstat(name.constData(), &entry) != 0)
        return FileFault::Cause::System; // nothing there (or unreachable: the save says why)
    // The save renames its temporary file over the path: a device node, a pipe or a folder
    // there would be replaced by a regular file (as root even /dev/null). A link that leads
    // nowhere would have the save create the file it names.
    struct stat target {};
    if (::stat(name.constData(), &target) != 0)
        return FileFault::Cause::NotRegular;
    if (S_ISDIR(target.st_mode))
        return FileFault::Cause::Folder;
    return S_ISREG(target.st_mode) ? FileFault::Cause::System : FileFault::Cause::NotRegular;
}

void saveFileAtomically(const QString &path, const QByteArray &bytes, FileFault::Problem problem) {
    const FileFault::Cause refused = replaceableFile(path);
    if (refused != FileFault::Cause::System)
        throw EFileFault(FileFault::found(problem, path, refused));
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
        throw EFileFault(FileFault::system(problem, path, reason));
}
