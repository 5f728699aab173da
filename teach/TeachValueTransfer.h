#pragma once

#include "teach/TeachValueTable.h"

#include <QChar>
#include <QString>
#include <functional>

// Reads the teach values from the device and writes them back. The command exchange is given
// as a function, and the caller says where each value goes to and comes from, so the rules of
// the transfer live here without any widget.
class TeachValueTransfer {
public:
    using Exchange = std::function<QString(const QString &command)>;
    using RangeSink = std::function<void(int range)>;
    using ValueSink = std::function<void(const TeachValueRow &row, int value)>;
    using CaptionSource = std::function<QString(const TeachValueRow &row)>;

    // Both the load (62 exchanges) and the send (51) run against this progress maximum; the
    // bar simply stands full for the last exchanges.
    static constexpr int ProgressMaximum = 45;
    static constexpr int LoadExchangeCount = 1 + TeachValueTable::RowCount;

    TeachValueTransfer(Exchange exchange, QChar decimalSeparator);

    // The range query, then the 61 values in table order. Each value is handed on as soon as
    // it converts, so a failure leaves the values read before it in place and the rest as they
    // were. Throws EConvertError for a reply that is no integer.
    void load(const RangeSink &onRange, const ValueSink &onValue) const;

    // The 51 exchanges of a send: ">MTeach", the 48 value commands with the captions as they
    // stand, "SavePar", ">MTeach". A refusal does not stop it, so the device always ends in
    // normal mode. Returns false when a value command was answered "Err..." or "SavePar" was
    // not answered "OK". Throws EUnsafeValue, before the first exchange, for a caption holding a
    // control character.
    bool send(const CaptionSource &captionOf) const;

    // The integer in a query reply: the name removed everywhere, "." made the local decimal
    // separator, then a strict integer conversion (so a fractional reply fails on every system).
    static int replyValue(const QString &reply, const QString &name, QChar decimalSeparator);
    static bool isRefusal(const QString &reply);

private:
    int query(const QString &name) const;

    Exchange exchange_;
    QChar decimalSeparator_;
};
