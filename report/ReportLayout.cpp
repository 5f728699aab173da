#include "report/ReportLayout.h"

#include "i18n/MessageCatalogue.h"
#include "measure/ValueDisplay.h"
#include "report/ReportChart.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

namespace {

constexpr const char *kNoValue = "—";

QString text(const CommissioningReport &report, CatalogueEntry entry) {
    return MessageCatalogue::text(entry, report.language);
}

QString orNone(const QString &value) {
    return value.isEmpty() ? QString::fromUtf8(kNoValue) : value;
}

QString variantText(const CommissioningReport &report) {
    switch (report.variant) {
    case DeviceVariant::WithRecalibration:
        return text(report, CatalogueEntry::ReportWithRecalibration);
    case DeviceVariant::WithoutRecalibration:
        return text(report, CatalogueEntry::ReportWithoutRecalibration);
    case DeviceVariant::Unknown:
        break;
    }
    return text(report, CatalogueEntry::ReportUnknown);
}

QFont font(qreal points, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    // Without shaping, "fi" and "ff" stay two letters: as ligatures, text extraction and search
    // in a PDF viewer would find neither "file" nor "off".
    f.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

} // namespace

ReportLayout::ReportLayout(const QPaintDevice &device, qreal width)
    : device_(device), width_(width), body_(font(9, false)), bold_(font(9, true)),
      small_(font(7.5, false)), heading_(font(11.5, true)), title_(font(17, true)) {}

qreal ReportLayout::mm(qreal millimetres) const {
    return millimetres * device_.logicalDpiY() / 25.4;
}

QStringList ReportLayout::wrap(const QString &text, const QFont &font, qreal width) const {
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QStringList lines;
    for (const QString &paragraph : normalised.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font, &device_);
        layout.setTextOption(option);
        layout.beginLayout();
        const qsizetype before = lines.size();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
        if (lines.size() == before)
            lines << QString();
    }
    return lines;
}

void ReportLayout::addRow(Blocks &blocks, const std::vector<Column> &columns,
                          const QStringList &cells, const QFont &font, qreal gapAbove) const {
    const QFontMetricsF metrics(font, &device_);
    std::vector<QStringList> lines;
    qsizetype count = 1;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        lines.push_back(wrap(cells.value(qsizetype(c)), font, columns[c].width - mm(1.5)));
        count = std::max(count, lines.back().size());
    }
    for (qsizetype i = 0; i < count; ++i) {
        ReportBlock block;
        const qreal gap = i == 0 ? gapAbove : 0;
        block.height = gap + metrics.lineSpacing();
        block.keepWithNext = i + 1 < count; // a row is split only when it is taller than a page
        block.paint = [=](QPainter &painter, const QRectF &rect) {
            painter.setFont(font);
            painter.setPen(Qt::black);
            const qreal baseline = rect.top() + gap + metrics.ascent();
            for (std::size_t c = 0; c < columns.size(); ++c) {
                if (i >= lines[c].size())
                    continue;
                const QString &line = lines[c].at(i);
                qreal x = rect.left() + columns[c].left;
                if (columns[c].alignRight)
                    x += columns[c].width - mm(1.5) - metrics.horizontalAdvance(line);
                painter.drawText(QPointF(x, baseline), line);
            }
        };
        blocks.push_back(std::move(block));
    }
}

void ReportLayout::addHeading(Blocks &blocks, const QString &text, const QFont &font,
                              qreal gapAbove) const {
    const std::size_t first = blocks.size();
    addRow(blocks, {{0, width_, false}}, {text}, font, gapAbove);
    for (std::size_t i = first; i < blocks.size(); ++i)
        blocks[i].keepWithNext = true;
}

void ReportLayout::addRule(Blocks &blocks) const {
    ReportBlock block;
    block.height = mm(1.5);
    block.keepWithNext = true;
    block.paint = [](QPainter &painter, const QRectF &rect) {
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLine(QPointF(rect.left(), rect.top() + rect.height() / 3),
                         QPointF(rect.right(), rect.top() + rect.height() / 3));
    };
    blocks.push_back(std::move(block));
}

std::vector<ReportBlock> ReportLayout::blocks(const CommissioningReport &report) const {
    Blocks blocks;
    addTitle(blocks, report);
    addFacts(blocks, report);
    addSettings(blocks, report);
    if (report.check)
        addCheck(blocks, report);
    addSignatures(blocks, report);
    return blocks;
}

void ReportLayout::addTitle(Blocks &blocks, const CommissioningReport &report) const {
    addHeading(blocks, text(report, CatalogueEntry::ReportTitle), title_, 0);
    addRow(blocks, {{0, width_, false}},
           {text(report, CatalogueEntry::StartUpTool) + QLatin1Char(' ') +
            QStringLiteral(ZELTOOL_VERSION)},
           body_, 0);
    if (!report.sourceFile.isEmpty())
        addRow(blocks, {{0, width_, false}},
               {text(report, CatalogueEntry::ReportFromFile).arg(report.sourceFile)}, bold_, mm(2));
    addRule(blocks);
}

void ReportLayout::addFacts(Blocks &blocks, const CommissioningReport &report) const {
    const QFontMetricsF metrics(body_, &device_);
    qreal keys = 0;
    for (CatalogueEntry entry :
         {CatalogueEntry::ReportCreated, CatalogueEntry::ReportTechnician,
          CatalogueEntry::ReportSite, CatalogueEntry::ReportTag, CatalogueEntry::ReportPort,
          CatalogueEntry::ReportRemarks, CatalogueEntry::DeviceAddress,
          CatalogueEntry::MeasurementRange, CatalogueEntry::ReportVariant})
        keys = std::max(keys, metrics.horizontalAdvance(text(report, entry)));
    keys = std::clamp(keys + mm(5), width_ * 0.25, width_ * 0.45);
    const std::vector<Column> columns = {{0, keys, false}, {keys, width_ - keys, false}};
    const auto fact = [&](CatalogueEntry entry, const QString &value, qreal gap = 0) {
        addRow(blocks, columns, {text(report, entry), orNone(value)}, body_, gap);
    };
    fact(CatalogueEntry::ReportCreated, report.created.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
         mm(1));
    fact(CatalogueEntry::ReportTechnician, report.fields.technician);
    fact(CatalogueEntry::ReportSite, report.fields.site);
    fact(CatalogueEntry::ReportTag, report.fields.tag);
    if (!report.port.isEmpty())
        fact(CatalogueEntry::ReportPort, report.port);
    if (!report.fields.remarks.trimmed().isEmpty())
        fact(CatalogueEntry::ReportRemarks, report.fields.remarks.trimmed());

    addHeading(blocks, text(report, CatalogueEntry::ReportDevice), heading_, mm(5));
    addRule(blocks);
    fact(CatalogueEntry::DeviceAddress, report.address);
    fact(CatalogueEntry::MeasurementRange, report.range);
    fact(CatalogueEntry::ReportVariant, variantText(report));
}

std::vector<ReportLayout::Column>
ReportLayout::settingColumns(const CommissioningReport &report) const {
    const QFontMetricsF metrics(body_, &device_);
    const QFontMetricsF boldMetrics(bold_, &device_);
    qreal caption = boldMetrics.horizontalAdvance(text(report, CatalogueEntry::ReportSetting));
    qreal unit = boldMetrics.horizontalAdvance(text(report, CatalogueEntry::ReportUnit));
    for (const ReportSheet &sheet : report.sheets) {
        for (const ReportGroup &group : sheet.groups) {
            for (const ReportSetting &setting : group.settings) {
                caption = std::max(caption, metrics.horizontalAdvance(setting.caption));
                unit = std::max(unit, metrics.horizontalAdvance(setting.unit));
            }
        }
    }
    const qreal indent = mm(3);
    caption = std::clamp(caption + indent + mm(4), width_ * 0.3, width_ * 0.5);
    unit = std::min(unit + mm(3), width_ * 0.15);
    return {{indent, caption - indent, false},
            {caption, width_ - caption - unit, false},
            {width_ - unit, unit, false}};
}

void ReportLayout::addSettings(Blocks &blocks, const CommissioningReport &report) const {
    const std::vector<Column> columns = settingColumns(report);
    // A value without a unit may run on into the unit's column.
    const std::vector<Column> unitless = {
        columns[0], {columns[1].left, columns[1].width + columns[2].width, false}};
    std::vector<Column> header = columns;
    header.front().left = 0;
    header.front().width += columns.front().left;
    for (const ReportSheet &sheet : report.sheets) {
        addHeading(blocks, sheet.caption, heading_, mm(6));
        addRule(blocks);
        const std::size_t first = blocks.size();
        addRow(blocks, header,
               {text(report, CatalogueEntry::ReportSetting),
                text(report, CatalogueEntry::ReportValue),
                text(report, CatalogueEntry::ReportUnit)},
               bold_, 0);
        for (std::size_t i = first; i < blocks.size(); ++i)
            blocks[i].keepWithNext = true;
        for (const ReportGroup &group : sheet.groups) {
            addHeading(blocks, group.caption, bold_, mm(2.5));
            for (const ReportSetting &setting : group.settings)
                addRow(blocks, setting.unit.isEmpty() ? unitless : columns,
                       {setting.caption, setting.value, setting.unit}, body_, mm(0.6));
        }
    }
}

void ReportLayout::addCheck(Blocks &blocks, const CommissioningReport &report) const {
    // The check's heading, table and charts share a page.
    const std::size_t first = blocks.size();
    const LiveCheckResult &check = *report.check;
    addHeading(blocks, text(report, CatalogueEntry::ReportCheck), heading_, mm(6));
    addRule(blocks);
    addRow(
        blocks, {{0, width_, false}},
        {text(report, CatalogueEntry::ReportCheckSummary).arg(check.readings).arg(check.seconds)},
        body_, 0);
    const qreal name = width_ * 0.28;
    const qreal number = width_ * 0.18;
    const std::vector<Column> columns = {{0, name, false},
                                         {name, number, true},
                                         {name + number, number, true},
                                         {name + 2 * number, number, true},
                                         {name + 3 * number, width_ - name - 3 * number, true}};
    addRow(blocks, columns,
           {text(report, CatalogueEntry::ReportChannel),
            text(report, CatalogueEntry::ReportMinimum),
            text(report, CatalogueEntry::ReportMaximum), text(report, CatalogueEntry::ReportMean),
            text(report, CatalogueEntry::ReportOutOfRange)},
           bold_, mm(2));
    for (const ChannelCheck &channel : check.channels) {
        if (!channel.polled) {
            addRow(blocks, columns, {channel.caption, text(report, CatalogueEntry::Off)}, body_,
                   mm(0.6));
            continue;
        }
        ValueDisplay::Format format;
        format.localSeparator = report.decimalSeparator;
        format.language = report.language;
        format.hecto = channel.hecto;
        format.unit = channel.unit;
        const auto shown = [&](double value) {
            return channel.values > 0 ? ValueDisplay::valueText(value, format)
                                      : QString::fromUtf8(kNoValue);
        };
        addRow(blocks, columns,
               {channel.caption, shown(channel.minimum), shown(channel.maximum),
                shown(channel.mean), QString::number(channel.outOfRange)},
               body_, mm(0.6));
    }
    for (std::size_t i = first; i < blocks.size(); ++i)
        blocks[i].keepWithNext = true;

    ReportChart::Style style;
    style.title = font(7.5, true);
    style.labels = small_;
    style.labelRoom = mm(11);
    style.lineWidth = mm(0.35);
    ReportBlock charts;
    charts.height = mm(58);
    charts.paint = [this, style, &report](QPainter &painter, const QRectF &rect) {
        const qreal gap = mm(3);
        const qreal each = (rect.width() - 2 * gap) / 3;
        const QRectF area(rect.left(), rect.top() + mm(3), each, rect.height() - mm(3));
        for (int c = 0; c < PolledChannels::kChannelCount; ++c)
            ReportChart::paint(painter, area.translated(c * (each + gap), 0),
                               report.check->channels[std::size_t(c)], *report.check, report,
                               style);
    };
    blocks.push_back(std::move(charts));
}

void ReportLayout::addSignatures(Blocks &blocks, const CommissioningReport &report) const {
    const QString captions[2] = {text(report, CatalogueEntry::ReportSignTechnician),
                                 text(report, CatalogueEntry::ReportSignCustomer)};
    const QString names[2] = {report.fields.technician, report.fields.site};
    const QFontMetricsF metrics(small_, &device_);
    ReportBlock block;
    block.height = mm(34);
    block.paint = [=](QPainter &painter, const QRectF &rect) {
        const qreal gap = mm(12);
        const qreal each = (rect.width() - gap) / 2;
        const qreal line = rect.top() + mm(24);
        painter.setFont(small_);
        for (int side = 0; side < 2; ++side) {
            const qreal left = rect.left() + side * (each + gap);
            painter.setPen(QPen(Qt::black, 0));
            painter.drawLine(QPointF(left, line), QPointF(left + each, line));
            painter.drawText(QPointF(left, line + mm(1) + metrics.ascent()),
                             metrics.elidedText(captions[side], Qt::ElideRight, each));
            painter.drawText(QPointF(left, line + mm(1) + metrics.lineSpacing() + metrics.ascent()),
                             metrics.elidedText(names[side].simplified(), Qt::ElideRight, each));
        }
    };
    blocks.push_back(std::move(block));
}

qreal ReportLayout::footerHeight() const {
    return QFontMetricsF(small_, &device_).lineSpacing() + mm(3);
}

void ReportLayout::paintFooter(QPainter &painter, const QRectF &page,
                               const CommissioningReport &report, int number, int count) const {
    const QFontMetricsF metrics(small_, &device_);
    const qreal top = page.bottom() - footerHeight();
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(QPointF(page.left(), top + mm(1)), QPointF(page.right(), top + mm(1)));
    painter.setFont(small_);
    const QString pageText = text(report, CatalogueEntry::ReportPageOf).arg(number).arg(count);
    QString left = text(report, CatalogueEntry::ReportTitle);
    if (!report.fields.tag.trimmed().isEmpty())
        left += QStringLiteral(" – ") + report.fields.tag.simplified();
    const qreal room = page.width() - metrics.horizontalAdvance(pageText) - mm(5);
    const qreal baseline = page.bottom() - metrics.descent();
    painter.drawText(QPointF(page.left(), baseline),
                     metrics.elidedText(left, Qt::ElideRight, room));
    painter.drawText(QPointF(page.right() - metrics.horizontalAdvance(pageText), baseline),
                     pageText);
}
