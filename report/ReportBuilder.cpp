#include "report/ReportBuilder.h"

#include "i18n/MessageCatalogue.h"
#include "i18n/SettingTexts.h"
#include "params/ParamTable.h"
#include "params/SettingsModel.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

constexpr const char *kNoValue = "—";

QString shownValue(const SettingsModel &model, const ParamDef &row, int language) {
    QString value;
    if (row.kind == ParamKind::Password)
        value = QString::fromLatin1(ReportBuilder::kHiddenPassword);
    else if (row.kind == ParamKind::Choice)
        value = SettingTexts::shownItem(row, model.unitListMode(), model.choice(row), language);
    else
        value = model.text(row);
    return value.isEmpty() ? QString::fromUtf8(kNoValue) : value;
}

QString groupCaption(const ParamDef &row, int language) {
    const QString group = QString::fromLatin1(row.groupBox);
    const QString caption = SettingTexts::controlCaption(group, language);
    return caption.isEmpty() ? ParamTable::groupBoxCaption(group) : caption;
}

ReportSetting settingOf(const SettingsModel &model, const ParamDef &row, int language) {
    ReportSetting setting;
    QString caption;
    if (*row.label) {
        caption = SettingTexts::controlCaption(QString::fromLatin1(row.label), language);
        if (caption.isEmpty())
            caption = QString::fromUtf8(row.labelCaption);
    } else {
        // A list without a caption of its own is named by its group.
        caption = groupCaption(row, language);
    }
    ReportBuilder::splitCaption(caption, setting.caption, setting.unit);
    setting.value = shownValue(model, row, language);
    return setting;
}

// The rows of one page, group after group as the groups sit on the page (row by row, left
// to right), each group's rows in table order.
std::vector<const ParamDef *> rowsOfSheet(const QString &sheet) {
    std::vector<const ParamDef *> rows;
    for (const ParamDef *row : ParamTable::all()) {
        if (sheet == QLatin1String(row->sheet))
            rows.push_back(row);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const ParamDef *a, const ParamDef *b) {
        const GroupPlace pa = ParamTable::groupPlace(QString::fromLatin1(a->groupBox));
        const GroupPlace pb = ParamTable::groupPlace(QString::fromLatin1(b->groupBox));
        return std::make_pair(pa.row, pa.column) < std::make_pair(pb.row, pb.column);
    });
    return rows;
}

} // namespace

void ReportBuilder::splitCaption(const QString &caption, QString &text, QString &unit) {
    static const QRegularExpression withUnit(QStringLiteral("^(.*?)\\s*\\[([^\\]]*)\\]\\s*$"));
    QString rest = caption.trimmed();
    if (rest.endsWith(QLatin1Char(':')))
        rest.chop(1);
    const QRegularExpressionMatch match = withUnit.match(rest);
    if (match.hasMatch()) {
        text = match.captured(1);
        unit = match.captured(2);
    } else {
        text = rest.trimmed();
        unit.clear();
    }
}

std::vector<ReportSheet> ReportBuilder::sheets(const SettingsModel &model, int language) {
    std::vector<ReportSheet> sheets;
    // The sheets in the order of their tabs, each with its tab's caption.
    const struct {
        const char *name;
        CatalogueEntry caption;
    } kSheets[] = {{"SkalierungswerteSheet", CatalogueEntry::ScalingValues},
                   {"WarnwerteSheet", CatalogueEntry::WarningValues},
                   {"EinstellungenSheet", CatalogueEntry::OtherSettings}};
    for (const auto &[name, caption] : kSheets) {
        ReportSheet sheet;
        sheet.caption = MessageCatalogue::text(caption, language);
        const char *group = nullptr;
        for (const ParamDef *row : rowsOfSheet(QString::fromLatin1(name))) {
            if (!group || qstrcmp(group, row->groupBox) != 0)
                sheet.groups.push_back({groupCaption(*row, language), {}});
            group = row->groupBox;
            sheet.groups.back().settings.push_back(settingOf(model, *row, language));
        }
        sheets.push_back(sheet);
    }
    return sheets;
}

CommissioningReport ReportBuilder::fromSettings(const SettingsModel &model, int language) {
    CommissioningReport report;
    report.language = language;
    report.created = QDateTime::currentDateTime();
    report.sheets = sheets(model, language);
    const ParamDef &address = *ParamTable::find(QStringLiteral("DeviceAdr"));
    report.address = model.text(address);
    const ParamDef &range = *ParamTable::find(QStringLiteral("MeasRange"));
    report.range =
        SettingTexts::shownItem(range, model.unitListMode(), model.choice(range), language);
    return report;
}
