#pragma once

#include "i18n/CatalogueEntry.h"

#include <QChar>
#include <QString>

// The decisions of the re-calibration dialogs: which catalogue entry answers which device reply.
// Plain logic, so the tables can be checked without a window.
namespace CalibReplies {

struct Outcome {
    CatalogueEntry entry = CatalogueEntry::RecalibrationFailed;
    bool success = false;
};

// The pressure the operator is asked to apply: one of the four Apply... entries.
CatalogueEntry pressureRequestEntry(bool negative, bool range100);

// The value of a "?MeasRange" reply (0 = +-250 Pa, 1 = +-100 Pa, anything else is kept as it
// is). Throws EConvertError when the rest is not an integer.
int measRange(const QString &reply, QChar decimalSeparator);

// Result of ">TCalibOK"; the first matching rule wins. Throws EConvertError when the reply
// is neither an error word nor an integer.
Outcome calibOk(const QString &reply);

// Result of ">TCalibFinished"; the first matching rule wins.
CatalogueEntry calibFinished(const QString &reply, bool cancelled, bool success);

// Result of "RecallCalib".
CatalogueEntry recallCalib(const QString &reply);

// Catalogue texts break their lines with CR; a label breaks them with LF.
QString withLineBreaks(QString text);

} // namespace CalibReplies
