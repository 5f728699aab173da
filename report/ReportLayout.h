#pragma once

#include "report/CommissioningReport.h"

#include <QFont>
#include <QRectF>
#include <QStringList>
#include <functional>
#include <vector>

class QPaintDevice;
class QPainter;

// A strip across the width of a page; pages are filled strip by strip.
struct ReportBlock {
    qreal height = 0;
    bool keepWithNext = false; // stays on the page of the strip after it
    std::function<void(QPainter &, const QRectF &)> paint;
};

// Lays a commissioning report out as strips of text, tables and charts for pages of a given
// width on a paint device, whose resolution gives every size. Texts wrap within their column
// (at a word boundary, else anywhere), and every line of a table row is a strip of its own, so
// nothing is wider than the page and no strip is taller than a page.
class ReportLayout {
public:
    ReportLayout(const QPaintDevice &device, qreal width);

    std::vector<ReportBlock> blocks(const CommissioningReport &report) const;
    qreal footerHeight() const;
    // The footer at the bottom of `page`: the report's title and tag, and "page n of m".
    void paintFooter(QPainter &painter, const QRectF &page, const CommissioningReport &report,
                     int number, int count) const;

private:
    struct Column {
        qreal left = 0;
        qreal width = 0;
        bool alignRight = false;
    };
    using Blocks = std::vector<ReportBlock>;

    qreal mm(qreal millimetres) const;
    QStringList wrap(const QString &text, const QFont &font, qreal width) const;
    void addRow(Blocks &blocks, const std::vector<Column> &columns, const QStringList &cells,
                const QFont &font, qreal gapAbove) const;
    void addHeading(Blocks &blocks, const QString &text, const QFont &font, qreal gapAbove) const;
    void addRule(Blocks &blocks) const;

    void addTitle(Blocks &blocks, const CommissioningReport &report) const;
    void addFacts(Blocks &blocks, const CommissioningReport &report) const;
    void addSettings(Blocks &blocks, const CommissioningReport &report) const;
    void addCheck(Blocks &blocks, const CommissioningReport &report) const;
    void addSignatures(Blocks &blocks, const CommissioningReport &report) const;
    std::vector<Column> settingColumns(const CommissioningReport &report) const;

    const QPaintDevice &device_;
    qreal width_;
    QFont body_, bold_, small_, heading_, title_;
};
