#pragma once

#include "base/Errors.h"

#include <QString>

// What may go on the wire inside one command line. A value is sent as typed, character for
// character, except that a control character (CR, LF, NUL, ESC, DEL, ...) would end the line
// early or smuggle a second command in behind it; such a value is refused before anything of
// its transfer is sent.
namespace WireText {

// Index of the first control character in `text`, or -1.
int firstControlChar(const QString &text);

inline bool isSafe(const QString &text) {
    return firstControlChar(text) < 0;
}

// The word a command line names: ">ScalPdown 1" and "?ScalPdown" give "ScalPdown".
QString commandName(const QString &command);

} // namespace WireText

// A value refused because it holds a control character. Carries the name of the setting so the
// message can be shown in the language of the moment; the message itself is the German one.
class EUnsafeValue : public EGlobalError {
public:
    explicit EUnsafeValue(const QString &setting);
    const QString &setting() const { return setting_; }
    // The message in a language (0 German, 1 English, 2 French).
    QString message(int language) const;
    using EGlobalError::message;

private:
    QString setting_;
};
