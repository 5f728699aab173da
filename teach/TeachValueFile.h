#pragma once

#include "base/FileFault.h"
#include "teach/TeachValueTable.h"

#include <QString>
#include <QVector>
#include <functional>

// A ".zel" teach-value file: the 48 stored captions under the sections "interner Druck",
// "Input 1" and "Input 2", keyed by value label. Configuration files share the extension and
// may share the file; their sections are kept on save.
class TeachValueFile {
public:
    static const QString Filter;          // "ZEL Data Files (*.zel)|*.ZEL;*.zel"
    static const QString DefaultSaveName; // "Teachwerte1.zel"

    struct Entry {
        const TeachValueRow *row;
        QString caption;
    };
    struct ReadResult {
        QString error;          // names the file; empty when the file was read
        FileFault fault;        // what error says, for a front end that words it otherwise
        QVector<Entry> entries; // the 48 stored rows in file order
        bool ok() const { return error.isEmpty(); }
    };

    // Reads the 48 captions; a missing key reads as the empty text. A file that does not exist,
    // cannot be read or holds none of the three sections gives an error and no entries, so the
    // teach tab is never emptied by picking the wrong file.
    static ReadResult read(const QString &path);

    // Writes the 48 captions in file order, keeping every other line of an existing file, and
    // replaces the file atomically. Throws EFileError "nach <path> kann nicht geschrieben werden".
    static void write(const QString &path,
                      const std::function<QString(const TeachValueRow &)> &captionOf);
};
