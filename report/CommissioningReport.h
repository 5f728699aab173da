#pragma once

// report/: the commissioning report: its content from the settings model, the live-value check,
// the page layout, the chart and the PDF writing (these three draw with QtGui and build into
// zel_draw, the rest into the widget-free core). report/ui/ holds its dialog.

#include "measure/ChannelHistory.h"
#include "measure/ChartMath.h"
#include "measure/PolledChannels.h"

#include <QChar>
#include <QDateTime>
#include <QString>
#include <array>
#include <optional>
#include <vector>

// What the person commissioning the device writes into the report.
struct ReportFields {
    QString technician;
    QString site; // customer or site
    QString tag;  // device tag or location
    QString remarks;
};

// One setting as the window shows it.
struct ReportSetting {
    QString caption; // the caption without its unit and colon
    QString value;   // the text of the field or the item of the list; the password as "****"
    QString unit;    // "" when the caption names none
};

struct ReportGroup {
    QString caption;
    std::vector<ReportSetting> settings;
};

// One of the three settings pages.
struct ReportSheet {
    QString caption;
    std::vector<ReportGroup> groups;
};

enum class DeviceVariant { Unknown, WithRecalibration, WithoutRecalibration };

// One channel of the live-value check: every reading in order, and the statistics of those
// that are numbers.
struct ChannelCheck {
    bool polled = false;
    QString caption;    // as the measurement page names the channel
    QString unit;       // as the channel's unit list shows it
    bool hecto = false; // hPa or mbar: values get three decimals
    ValueRange configured;
    std::vector<HistoryPoint> readings;
    int values = 0;     // readings that are numbers
    int outOfRange = 0; // underflow and overflow readings
    double minimum = 0.0;
    double maximum = 0.0;
    double mean = 0.0;

    void add(const HistoryPoint &reading);
};

struct LiveCheckResult {
    int seconds = 0;
    int intervalMs = 0;
    int readings = 0;
    std::array<ChannelCheck, PolledChannels::kChannelCount> channels;
};

// Everything the commissioning report shows, filled by a front end from the settings, the
// device and the optional live-value check; ReportWriter lays it out.
struct CommissioningReport {
    int language = 0;                          // of every text on the pages
    QChar decimalSeparator = QLatin1Char('.'); // of the measured values
    QDateTime created;
    ReportFields fields;
    QString port;       // "" when no device took part
    QString sourceFile; // the file's name when the settings come from a file, not a device
    QString address;    // the device address as shown, "" when not known
    QString range;      // the measuring range as its list shows it
    DeviceVariant variant = DeviceVariant::Unknown;
    std::vector<ReportSheet> sheets;
    std::optional<LiveCheckResult> check;
};
