#pragma once

#include "base/Errors.h"

#include <QString>

// Why a file could not be read or written, kept apart from its wording: the window shows its
// fixed German texts, zelctl the catalogue's in the language asked for, each with the reason.
struct FileFault {
    enum class Problem {
        None,
        Missing,
        TooLarge,
        CannotRead,
        NoConfiguration,
        NoTeachValues,
        CannotWrite,  // a settings file (INI)
        CannotCreate, // a file saved whole: log, report
    };
    // Where the reason comes from: the system's error text, or a finding of the tool's own.
    enum class Cause { System, Folder, NotRegular, NotText, BrokenUtf16, Unencodable, TooLarge };

    Problem problem = Problem::None;
    QString path;
    Cause cause = Cause::System;
    QString systemReason; // the system's error text, for Cause::System
    QString detail;       // the sections looked for (NoTeachValues)

    static FileFault system(Problem problem, const QString &path, const QString &reason);
    static FileFault found(Problem problem, const QString &path, Cause cause);

    bool isFault() const { return problem != Problem::None; }
    // The reason in a language (0 German, 1 English, 2 French).
    QString reason(int language) const;
    // The window's text.
    QString windowText() const;
    // zelctl's text in a language, naming the reason.
    QString text(int language) const;
};

// A file error that knows its fault, so each front end words it in its own way; message() is
// the window's text.
class EFileFault : public EFileError {
public:
    explicit EFileFault(FileFault fault)
        : EFileError(fault.windowText()), fault_(std::move(fault)) {}
    const FileFault &fault() const { return fault_; }

private:
    FileFault fault_;
};
