#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTargets.h"

#include "base/Errors.h"
#include "base/NumberText.h"
#include "calib/CalibReplies.h"
#include "i18n/MessageCatalogue.h"
#include "measure/ValueDisplay.h"
#include "params/ParamCodec.h"
#include "params/ParamTable.h"
#include "teach/InstrumentCommands.h"

#include <cfloat>
#include <cmath>

// The conversions of device and instrument replies into numbers and back into texts.
namespace zelfuzz {

namespace {

// 15 significant digits round DBL_MAX up past the largest double: such a text cannot be read
// back, so the round trips stop short of it.
constexpr double kLargestRoundTrip = 1.797693134862314e308;

double readBack(const QString &text, QChar separator, const char *what) {
    double value = 0;
    check(NumberText::tryToFloat(text, separator, &value), what);
    return value;
}

void checkTextToNumber(const QString &text, QChar separator) {
    double value = 0;
    const bool isFloat = NumberText::tryToFloat(text, separator, &value);
    try {
        const double thrown = NumberText::toFloat(text, separator);
        check(isFloat && (thrown == value || (std::isnan(thrown) && std::isnan(value))),
              "toFloat succeeds exactly when tryToFloat does");
    } catch (const EConvertError &) {
        check(!isFloat, "toFloat throws exactly when tryToFloat fails");
    }
    if (isFloat) {
        check(std::isfinite(value), "a float text gives a finite value");
        if (std::fabs(value) <= kLargestRoundTrip) {
            const QString general = NumberText::fromFloat(value, separator);
            readBack(general, separator, "fromFloat of a read value reads back");
        }
    }

    int integer = 0;
    const bool isInt = NumberText::tryToInt(text, &integer);
    try {
        const int thrown = NumberText::toInt(text);
        check(isInt && thrown == integer, "toInt agrees with tryToInt");
    } catch (const EConvertError &) {
        check(!isInt, "toInt throws exactly when tryToInt fails");
    }
    if (isInt) {
        check(isFloat && value == integer, "an integer text is a float text of the same value");
        int again = 0;
        check(NumberText::tryToInt(QString::number(integer), &again) && again == integer,
              "an integer survives its text");
    }
}

void checkGeneralFormat(double value, QChar separator) {
    const QString text = NumberText::fromFloat(value, separator);
    if (!std::isfinite(value)) {
        check(text == "NAN" || text == "INF" || text == "-INF", "special values have names");
        return;
    }
    if (std::fabs(value) > kLargestRoundTrip)
        return;
    const double back = readBack(text, separator, "fromFloat reads back");
    if (value == 0 || std::fabs(value) >= DBL_MIN) {
        check(std::fabs(back - value) <= std::fabs(value) * 1e-14,
              "15 significant digits keep the value");
        // A text of at most 15 digits is found again from its nearest double.
        check(NumberText::fromFloat(back, separator) == text,
              QStringLiteral("fromFloat is stable: %1").arg(text));
    }
}

void checkFixedFormat(double value, int decimals, int precision, QChar separator) {
    const QString text = NumberText::fixed(value, decimals, separator, precision);
    if (!std::isfinite(value))
        return;
    double back = 0;
    if (!NumberText::tryToFloat(text, separator, &back)) {
        // Few significant digits round values near the largest double beyond it ("2E308").
        check(std::fabs(value) >= 1e308, QStringLiteral("fixed reads back: %1").arg(text));
        return;
    }
    const double allowed = std::max(0.5 * std::pow(10.0, -decimals),
                                    5 * std::fabs(value) * std::pow(10.0, -precision));
    check(std::fabs(back - value) <= allowed * (1 + 1e-9) + std::fabs(value) * 1e-15,
          QStringLiteral("fixed stays within its rounding: %1").arg(text));
    check(!text.startsWith('-') || back != 0, "a value rounded to zero has no sign");
    if (!text.contains('E')) {
        const qsizetype sep = text.indexOf(separator);
        const qsizetype shown = sep < 0 ? 0 : text.size() - sep - 1;
        check(shown == decimals, QStringLiteral("fixed shows its decimals: %1").arg(text));
    }
}

void checkParamCodec(const QString &reply, const ParamDef &row, QChar separator) {
    const QString name = QString::fromLatin1(row.name);
    const QString value = ParamCodec::replyValue(reply, name, separator);
    check(separator == '.' || !value.contains('.'), "the device's point becomes the separator");
    double number = 0;
    const bool isFloat = NumberText::tryToFloat(value, separator, &number);
    try {
        const QString decimal = ParamCodec::decimalText(value, separator);
        check(isFloat, "decimalText accepts only float texts");
        if (std::fabs(number) <= kLargestRoundTrip)
            readBack(decimal, separator, "decimalText reads back");
        ParamCodec::passwordText(value, separator);
    } catch (const EConvertError &) {
        check(!isFloat, "decimalText refuses only what is no float text");
    }
    try {
        ParamCodec::choiceValue(value);
    } catch (const EConvertError &) {
    }
    check(!ParamCodec::editTextOnWire(reply).contains(','), "the wire gets no comma");
    check(ParamCodec::rowForMarker(ParamCodec::refusalMarker(row)) == &row,
          QStringLiteral("a refusal marker finds its row again: %1").arg(name));
    ParamCodec::isRefusal(reply);
}

void checkMeasuredValue(const QString &reply, double fallback, FuzzInput &in, QChar separator) {
    static const char *const channels[] = {"IP", "IN1", "IN2", ""};
    ValueDisplay::Format format;
    format.localSeparator = separator;
    format.language = in.pick(3);
    format.hecto = in.flag();
    format.unit = QStringLiteral("Pa");
    const PolledValue polled =
        ValueDisplay::interpret(reply, QLatin1String(channels[in.pick(4)]), fallback, format);
    check(!polled.text.isEmpty(), "a polled value has a text");
    if (polled.state == PointState::Value && std::isfinite(fallback))
        check(std::isfinite(polled.value), "a read value is finite");
}

void checkInstrumentAndCalibReplies(const QString &reply, QChar separator) {
    try {
        check(std::isfinite(InstrumentCommands::reading(reply)), "a reading is finite");
        InstrumentCommands::currentMilliamps(reply);
    } catch (const EConvertError &) {
    }
    InstrumentCommands::isStable(reply);
    try {
        CalibReplies::measRange(reply, separator);
    } catch (const EConvertError &) {
    }
    try {
        const CalibReplies::Outcome outcome = CalibReplies::calibOk(reply);
        check(MessageCatalogue::hasEntry(int(outcome.entry)), "calibOk names an entry");
    } catch (const EConvertError &) {
    }
    check(MessageCatalogue::hasEntry(int(CalibReplies::calibFinished(reply, false, true))),
          "calibFinished names an entry");
    check(MessageCatalogue::hasEntry(int(CalibReplies::recallCalib(reply))),
          "recallCalib names an entry");
}

} // namespace

void replyConversions(const QByteArray &data) {
    FuzzInput in(data);
    const QChar separator = in.flag() ? QLatin1Char(',') : QLatin1Char('.');
    const int decimals = in.pick(21);
    const int precision = 1 + in.pick(20);
    const auto &rows = ParamTable::rows();
    const ParamDef &row = rows[in.pick(static_cast<int>(rows.size()))];
    const double number = in.rawDouble();
    const std::uint8_t displayBytes[2] = {in.byte(), in.byte()};
    const QByteArray bytes = in.rest();

    checkGeneralFormat(number, separator);
    checkFixedFormat(number, decimals, precision, separator);

    // Replies arrive as Latin-1; texts typed into the window may hold any character.
    for (const QString &text : {QString::fromLatin1(bytes), QString::fromUtf8(bytes)}) {
        checkTextToNumber(text, separator);
        checkParamCodec(text, row, separator);
        const QByteArray display(reinterpret_cast<const char *>(displayBytes), 2);
        FuzzInput displayIn(display);
        checkMeasuredValue(text, number, displayIn, separator);
        checkInstrumentAndCalibReplies(text, separator);
    }
}

} // namespace zelfuzz
