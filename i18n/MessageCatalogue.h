#pragma once

#include <QString>

// The numbered texts of the user interface in German (0), English (1) and French (2).
// Entries 0 to 135, of which 31, 32 and 33 are unassigned, and from 136 on the tool's own texts.
class MessageCatalogue {
public:
    static constexpr int kFirstEntry = 0;
    static constexpr int kLastEntry = 135;
    // "This value holds a control character ... nothing was transferred:" + " " + name.
    static constexpr int kUnsafeValue = 136;
    // The texts of the commissioning report, 137 to 167.
    enum ReportEntry : int {
        kReportMenu = 137,
        kReportTitle,
        kReportTechnician,
        kReportSite,
        kReportTag,
        kReportRemarks,
        kReportIncludeCheck,
        kReportCheckSeconds,
        kReportCreated,
        kReportPort,
        kReportDevice,
        kReportVariant,
        kReportWithRecalibration,
        kReportWithoutRecalibration,
        kReportUnknown,
        kReportFromFile, // %1: the file's name
        kReportCheck,
        kReportCheckSummary, // %1 readings, %2 seconds
        kReportChannel,
        kReportMinimum,
        kReportMaximum,
        kReportMean,
        kReportOutOfRange,
        kReportSetting,
        kReportValue,
        kReportUnit,
        kReportSignTechnician,
        kReportSignCustomer,
        kReportPageOf,  // %1 of %2
        kReportReplace, // %1: the file's path
        kReportSaved,
    };
    // The file errors of zelctl (%1 the file) and the reasons the tool itself finds, 168 to 181.
    enum FileEntry : int {
        kFileCannotCreate = 168, // %2 the reason
        kFileCannotWrite,        // %2 the reason
        kFileCannotRead,         // %2 the reason
        kFileMissing,
        kFileTooLarge, // %2 the limit in MiB
        kFileNoConfiguration,
        kFileNoTeachValues,    // %2 the sections looked for
        kStandardOutputFailed, // %1 the reason
        kReasonFolder,
        kReasonNotRegular,
        kReasonNotText,
        kReasonBrokenUtf16,
        kReasonUnencodable,
        kReasonTooLarge, // %1 the limit in MiB
    };
    // A text that is not a number (%1 the text), 182 and 183.
    enum NumberEntry : int { kNotAFloat = 182, kNotAnInteger };

    // Text of an entry in a language. A language outside 0..2 reads as German; an unassigned or
    // unknown entry number gives an empty text, so a lookup never leaves the table.
    static QString text(int entry, int language);

    // True for the 133 assigned entry numbers.
    static bool hasEntry(int entry);

    // True when `candidate` equals the entry's text in any of the three languages.
    static bool matchesAnyLanguage(int entry, const QString &candidate);
};
