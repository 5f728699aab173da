#pragma once

// base/: the foundations every layer stands on, with no widgets: the failures the tool reports
// (this file), number text, the INI layer, atomic file saves, the tool settings file, the
// waits, the state the window shares with the features and the prompts interface. base/ui/
// holds the widget helpers of the front end (finding controls, scrolled pages, the real
// prompts). Nothing here includes anything above it.

#include <QString>
#include <exception>

// Base of every failure the tool reports to the user. The message is shown as it stands by
// the global exception handler.
class EZelError : public std::exception {
public:
    explicit EZelError(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString &message() const { return message_; }
    const char *what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// The text of any failure: the tool's own message, or what() of a foreign exception.
inline QString messageOf(const std::exception &error) {
    if (const auto *zelError = dynamic_cast<const EZelError *>(&error))
        return zelError->message();
    return QString::fromUtf8(error.what());
}

// A link failure or a user abort during a device action.
class EGlobalError : public EZelError {
public:
    using EZelError::EZelError;
};

// The device refused a setting or a command (its reply began with "Err"); the message says
// what the user sees.
class EDeviceRefused : public EGlobalError {
public:
    using EGlobalError::EGlobalError;
};

// A text that does not convert to a number ("'%s' ist kein gültiger Gleitkommawert"). The text
// and the kind of number are kept, so zelctl can say it in another language.
class EConvertError : public EZelError {
public:
    enum class Wanted { Float, Integer };
    EConvertError(Wanted wanted, const QString &text)
        : EZelError((wanted == Wanted::Float
                         ? QStringLiteral("'%1' ist kein gültiger Gleitkommawert")
                         : QStringLiteral("'%1' ist kein gültiger Integerwert"))
                        .arg(text)),
          wanted_(wanted), text_(text) {}
    Wanted wanted() const { return wanted_; }
    const QString &text() const { return text_; }

private:
    Wanted wanted_;
    QString text_;
};

// A file that cannot be read or written ("nach %s kann nicht geschrieben werden").
class EFileError : public EZelError {
public:
    using EZelError::EZelError;
};
