#pragma once

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
class IniFile {
public:
    // Larger files are refused: no INI file of the tool comes near this.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    struct LoadResult {
        enum class Status { Loaded, Missing, Unreadable, TooLarge };
        Status status = Status::Loaded;
        QString message; // names the file; empty when loaded
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
    // Throws EFileError "nach <path> kann nicht geschrieben werden"; also after a failed load,
    // so an unreadable file is never overwritten with partial contents.
    void save() const;

    // Open, write one key, save. Throws EFileError like save().
    static void writeValue(const QString &path, const QString &section, const QString &key,
                           const QString &value);

private:
    enum class Encoding { Utf8, Utf8Bom, Windows1252, Utf16LE, Utf16BE };

    struct Line {
        QString text;
        QString end; // "\r\n", "\n", "\r", or empty for a last line without line end
    };

    void splitLines(const QString &text);
    bool decode(const QByteArray &bytes, QString *text);
    // The encoded file, or a null array when the encoding cannot hold the text.
    QByteArray encode(const QString &text) const;
    int findSection(const QString &section) const;
    int findKey(const QString &section, const QString &key) const;
    int insertionPoint(int sectionLine) const;
    void insertLine(int index, const QString &text);
    [[noreturn]] void throwWriteError() const;

    QString path_;
    QVector<Line> lines_;
    QString newline_ = QStringLiteral("\r\n");
    Encoding encoding_ = Encoding::Utf8;
    bool loadFailed_ = false;
};
