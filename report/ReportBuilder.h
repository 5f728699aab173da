#pragma once

#include "report/CommissioningReport.h"

class SettingsModel;

// Fills a commissioning report from the settings model: the settings grouped as on the three
// settings pages, captioned and shown as the window shows them, and the device facts the
// settings hold. The front end adds the fields, the port, the variant and the check.
class ReportBuilder {
public:
    static constexpr const char *kHiddenPassword = "****";

    static CommissioningReport fromSettings(const SettingsModel &model, int language);
    static std::vector<ReportSheet> sheets(const SettingsModel &model, int language);
    // "Wert unten [Pa]:" -> caption "Wert unten", unit "Pa".
    static void splitCaption(const QString &caption, QString &text, QString &unit);
};
