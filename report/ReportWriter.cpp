#include "report/ReportWriter.h"

#include "base/SavedFile.h"
#include "i18n/MessageCatalogue.h"
#include "report/ReportLayout.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

const QString ReportWriter::Filter = QStringLiteral("PDF (*.pdf)|*.pdf;*.PDF");
const QString ReportWriter::Extension = QStringLiteral(".pdf");

namespace {

using Page = std::vector<std::pair<std::size_t, qreal>>; // block and its top

// The height of the blocks from `first` that must share its page.
qreal keptHeight(const std::vector<ReportBlock> &blocks, std::size_t first) {
    qreal height = 0;
    for (std::size_t i = first; i < blocks.size(); ++i) {
        height += blocks[i].height;
        if (!blocks[i].keepWithNext)
            break;
    }
    return height;
}

// Fills pages of `bodyHeight` block by block; blocks kept together that are taller than a
// page break where they must.
std::vector<Page> paginate(const std::vector<ReportBlock> &blocks, qreal bodyHeight) {
    std::vector<Page> pages(1);
    qreal y = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        qreal needed = keptHeight(blocks, i);
        if (needed > bodyHeight)
            needed = blocks[i].height;
        if (y > 0 && y + needed > bodyHeight) {
            pages.emplace_back();
            y = 0;
        }
        pages.back().push_back({i, y});
        y += blocks[i].height;
    }
    return pages;
}

} // namespace

ReportWriter::Result ReportWriter::render(const CommissioningReport &report,
                                          const std::function<bool()> &stopRequested) {
    Result result;
    QBuffer buffer(&result.pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 15, 18, 12), QPageLayout::Millimeter);
    writer.setResolution(600);
    QString title = MessageCatalogue::text(CatalogueEntry::ReportTitle, report.language);
    if (!report.fields.tag.trimmed().isEmpty())
        title += QStringLiteral(" – ") + report.fields.tag.simplified();
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("zeltool " ZELTOOL_VERSION));

    QPainter painter(&writer);
    const QRectF page(QPointF(0, 0), QSizeF(writer.width(), writer.height()));
    const ReportLayout layout(writer, page.width());
    const std::vector<ReportBlock> blocks = layout.blocks(report);
    const std::vector<Page> pages = paginate(blocks, page.height() - layout.footerHeight());
    result.pages = int(pages.size());
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0)
            writer.newPage();
        for (const auto &[index, top] : pages[p]) {
            if (stopRequested && stopRequested()) {
                result.stopped = true;
                painter.end();
                return result;
            }
            const ReportBlock &block = blocks[index];
            block.paint(painter, QRectF(page.left(), top, page.width(), block.height));
        }
        layout.paintFooter(painter, page, report, int(p) + 1, result.pages);
    }
    painter.end();
    return result;
}

void ReportWriter::save(const QString &path, const QByteArray &pdf) {
    saveFileAtomically(path, pdf);
}
