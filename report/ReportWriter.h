#pragma once

#include "report/CommissioningReport.h"

#include <QByteArray>
#include <QString>

// Writes a commissioning report as an A4 PDF with real text (Qt's PDF writer), page after page,
// each with a footer that counts the pages; and saves it atomically.
class ReportWriter {
public:
    static const QString Filter;    // for the file dialogs
    static const QString Extension; // ".pdf"

    struct Result {
        QByteArray pdf;
        int pages = 0;
    };
    static Result render(const CommissioningReport &report);
    // Replaces `path` at once with the PDF; a failed save leaves an earlier file as it was.
    // Throws EFileError.
    static void save(const QString &path, const QByteArray &pdf);
};
