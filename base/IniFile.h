#pragma once

#include "base/FileFault.h"

#include <QString>
#include <QVector>

// An INI file with the semantics of the Windows profile functions, so files written by the
// Windows tool load and round-trip:
// - section and key names match without regard to case; of repeated sections only the first
//   is read and written, and of repeated keys in it the first;
// - a read returns the value with surrounding blanks trimmed and one pair of matching double
//   or single quotes around it removed;
// - a write replaces the value in place and keeps every other line byte for byte (comments,
//   blank lines, unknown sections and keys, their order); a missing key is appended at the end
//   of its section, a missing section at the end of the file;
// - values are stored as given: no escaping, no quoting. They must be single-line texts;
// - CR LF, LF and a lone CR each end a line.
// A file with a UTF-16 byte-order mark is read as UTF-16, else as UTF-8 when it is valid UTF-8,
// else as Windows-1252. A save keeps the encoding and the line ends of the loaded file; what
// that encoding cannot hold makes the save fail and leaves the file as it was. New files get
// UTF-8 and CR LF.
// The file is held as its decoded text and one 8-byte record a line, so a load needs about ten
// times the file's size at most (a file of nothing but line ends), two to three times for
// ordinary files.
class IniFile {
public:
    // Larger files are refused: no INI file of the tool comes near this.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    struct LoadResult {
        // NotText: a file holding NUL characters is no INI file (a PDF, an image); it is neither
        // read nor written.
        enum class Status { Loaded, Missing, Unreadable, TooLarge, NotText };
        Status status = Status::Loaded;
        QString message; // names the file; empty when loaded
        FileFault fault; // what message says, for a front end that words it otherwise
        // A missing file is no error: reads give their defaults.
        bool ok() const { return status == Status::Loaded || status == Status::Missing; }
    };

    explicit IniFile(QString path);

    const QString &path() const { return path_; }

    // Replaces the contents held in memory by the file's. Never throws.
    LoadResult load();

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;
    // A value that is not a 32-bit integer gives the default. Decimal (optional sign, digits)
    // and the hexadecimal forms "$1F" and "0x1F" (up to 8 digits, taken as 32 bits) are read.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    bool hasSection(const QString &section) const;
    bool hasKey(const QString &section, const QString &key) const;

    // Changes the contents in memory only; save() writes them.
    void writeString(const QString &section, const QString &key, const QString &value);

    // Replaces the file atomically: a failed save leaves the earlier file as it was.
    // Throws EFileFault "nach <path> kann nicht geschrieben werden"; also after a failed load,
    // so an unreadable file is never overwritten with partial contents.
    void save() const;

    // Open, write one key, save. Throws EFileFault like save().
    static void writeValue(const QString &path, const QString &section, const QString &key,
                           const QString &value);

    // The bytes the contents take in memory now (text and line records), for the tests.
    qint64 heldBytes() const;

private:
    enum class Encoding { Utf8, Utf8Bom, Windows1252, Utf16LE, Utf16BE };
    // The end of a line: none (a last line without one), LF, CR, CR LF.
    enum End : quint32 { NoEnd = 0, Lf = 1, Cr = 2, CrLf = 3 };

    // A stretch of text_ (the file as loaded) or of added_ (lines written since), and its end.
    struct Line {
        quint32 start = 0;
        quint32 bits = 0; // length << 3 | added << 2 | end
        quint32 length() const { return bits >> 3; }
        bool added() const { return (bits & 4u) != 0; }
        End end() const { return End(bits & 3u); }
    };

    void splitLines();
    bool decode(const QByteArray &bytes);
    QByteArray byteOrderMark() const;
    // Appends the text in the file's encoding; false when the encoding cannot hold it.
    bool appendEncoded(QByteArray &bytes, const QString &text) const;
    QStringView textOf(const Line &line) const;
    Line addedLine(const QString &text, End end);
    int findSection(const QString &section) const;
    int sectionEnd(int sectionLine) const;
    int findKey(const QString &section, const QString &key) const;
    int insertionPoint(int sectionLine) const;
    void insertLine(int index, const QString &text);
    [[noreturn]] void throwWriteError(const FileFault &fault) const;

    QString path_;
    QString text_;
    QString added_;
    QVector<Line> lines_;
    QVector<int> sections_; // the lines that open a section, in file order
    End newline_ = CrLf;
    Encoding encoding_ = Encoding::Utf8;
    FileFault loadFault_; // why the last load failed; a save then refuses
};
