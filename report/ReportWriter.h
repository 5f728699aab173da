#pragma once

#include "report/CommissioningReport.h"

#include <QByteArray>
#include <QString>
#include <functional>

// Writes a commissioning report as an A4 PDF with real text (Qt's PDF writer), page after page,
// each with a footer that counts the pages; and saves it atomically.
class ReportWriter {
public:
    static const QString Filter;    // for the file dialogs
    static const QString Extension; // ".pdf"

    struct Result {
        QByteArray pdf;
        int pages = 0;
        bool stopped = false; // stopRequested said so: the PDF is unfinished
    };
    // `stopRequested` is asked between the lines drawn; when it says so, the drawing ends.
    static Result render(const CommissioningReport &report,
                         const std::function<bool()> &stopRequested = {});
    // Replaces `path` at once with the PDF; a failed save leaves an earlier file as it was.
    // Throws EFileError.
    static void save(const QString &path, const QByteArray &pdf);
};
