#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTargets.h"

#include "link/TelnetCodec.h"

// The telnet layer of a device server on whatever the network delivers: the same data, answers
// and negotiation outcome however the bytes are split into packets, no answer without a request
// (so a hostile server can neither make it talk without end nor grow its memory), and data the
// tool escapes always decodes to itself.
namespace zelfuzz {

void telnet(const QByteArray &data) {
    FuzzInput in(data);
    int step = in.pick(7) + 1;
    const QByteArray stream = in.rest();

    TelnetCodec whole;
    const QByteArray wholeData = whole.decode(stream);
    const QByteArray wholeReplies = whole.takeReplies();

    TelnetCodec pieces;
    QByteArray pieceData;
    QByteArray pieceReplies;
    for (qsizetype pos = 0; pos < stream.size(); pos += step, step = step % 7 + 1) {
        pieceData += pieces.decode(stream.mid(pos, step));
        pieceReplies += pieces.takeReplies();
    }
    check(pieceData == wholeData, "decoded data does not depend on how the bytes arrive");
    check(pieceReplies == wholeReplies, "answers do not depend on how the bytes arrive");
    check(pieces.comPortAccepted() == whole.comPortAccepted() &&
              pieces.comPortRefused() == whole.comPortRefused(),
          "the negotiation outcome does not depend on how the bytes arrive");

    check(wholeData.size() <= stream.size(), "decoding never adds data");
    // Every answer is one three-byte negotiation, and a request of three bytes gets at most one.
    check(wholeReplies.size() % 3 == 0 && wholeReplies.size() <= stream.size(),
          "answers are whole negotiations, at most one per request");
    for (qsizetype i = 0; i < wholeReplies.size(); i += 3) {
        const auto verb = static_cast<unsigned char>(wholeReplies.at(i + 1));
        check(static_cast<unsigned char>(wholeReplies.at(i)) == TelnetCodec::kIac &&
                  verb >= TelnetCodec::kWill && verb <= TelnetCodec::kDont,
              "an answer is IAC WILL/WONT/DO/DONT option");
    }

    TelnetCodec fresh;
    check(fresh.decode(TelnetCodec::escape(stream)) == stream, "escaped data decodes to itself");
    check(fresh.takeReplies().isEmpty() && !fresh.comPortAccepted() && !fresh.comPortRefused(),
          "escaped data negotiates nothing");
}

} // namespace zelfuzz
