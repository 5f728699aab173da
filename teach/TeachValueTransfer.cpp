#include "teach/TeachValueTransfer.h"

#include "base/NumberText.h"
#include "link/WireText.h"

namespace {
const QString kRangeName = QStringLiteral("MeasRange");
const QString kTeachMode = QStringLiteral(">MTeach");
const QString kSavePar = QStringLiteral("SavePar");
} // namespace

TeachValueTransfer::TeachValueTransfer(Exchange exchange, QChar decimalSeparator)
    : exchange_(std::move(exchange)), decimalSeparator_(decimalSeparator) {}

int TeachValueTransfer::replyValue(const QString &reply, const QString &name,
                                   QChar decimalSeparator) {
    QString rest = reply;
    rest.remove(name);
    rest.replace(QLatin1Char('.'), decimalSeparator);
    return NumberText::toInt(rest);
}

bool TeachValueTransfer::isRefusal(const QString &reply) {
    return reply.startsWith(QLatin1String("Err"));
}

int TeachValueTransfer::query(const QString &name) const {
    return replyValue(exchange_(QLatin1Char('?') + name), name, decimalSeparator_);
}

void TeachValueTransfer::load(const RangeSink &onRange, const ValueSink &onValue) const {
    onRange(query(kRangeName));
    for (const TeachValueRow &row : TeachValueTable::rows())
        onValue(row, query(QString::fromLatin1(row.deviceName)));
}

bool TeachValueTransfer::send(const CaptionSource &captionOf) const {
    // A caption that could split a command line stops the send before its first command.
    for (const TeachValueRow *row : TeachValueTable::sentRows()) {
        if (!WireText::isSafe(captionOf(*row)))
            throw EUnsafeValue(QString::fromLatin1(row->valueLabel));
    }
    // The replies to ">MTeach" only tell the new mode; they are not judged.
    exchange_(kTeachMode);
    bool accepted = true;
    for (const TeachValueRow *row : TeachValueTable::sentRows()) {
        if (isRefusal(exchange_(TeachValueTable::valueCommand(*row, captionOf(*row)))))
            accepted = false;
    }
    if (exchange_(kSavePar) != QLatin1String("OK"))
        accepted = false;
    exchange_(kTeachMode);
    return accepted;
}
