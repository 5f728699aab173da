#pragma once

#include "base/Errors.h"

#include <QFile>
#include <QTextStream>
#include <type_traits>

// Writing to standard output failed (a full disk, /dev/full, a closed pipe): the command ends.
class EOutputFailed : public EFileError {
public:
    explicit EOutputFailed(const QString &reason);
    const QString &reason() const { return reason_; }
    // The message in a language (0 German, 1 English, 2 French).
    QString message(int language) const;
    using EFileError::message;

private:
    QString reason_;
};

// zelctl's standard output. Texts that come from files, devices or the command line are
// shown with their control characters escaped ("\x1b"), so nothing they hold can steer the
// terminal; the tool's own texts and JSON (which escapes them itself) go out as they are.
// Every flush checks that the bytes went out.
class CtlOutput {
public:
    // Writes to the open file descriptor `fd` (not owned).
    explicit CtlOutput(int fd);

    CtlOutput &operator<<(const QString &text);
    CtlOutput &operator<<(const char *ownText);
    CtlOutput &operator<<(char c);
    template <typename Number, std::enable_if_t<std::is_arithmetic_v<Number>, int> = 0>
    CtlOutput &operator<<(Number number) {
        stream_ << number;
        return *this;
    }
    // JSON text, or any bytes (a PDF), as they stand.
    void writeBytes(const QByteArray &bytes);
    // Throws EOutputFailed when anything written so far did not go out.
    void flush();

    // `text` with every control character as "\xHH".
    static QString escaped(const QString &text);

private:
    QFile file_;
    QTextStream stream_;
};
