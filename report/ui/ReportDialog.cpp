#include "report/ui/ReportDialog.h"

#include "base/ToolSettings.h"
#include "i18n/MessageCatalogue.h"
#include "report/LiveCheck.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kFieldLength = 200;
const QString kSection = QStringLiteral("Report");

QLineEdit *lineEdit(QWidget *parent, const char *name) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(kFieldLength);
    edit->setMinimumWidth(320);
    return edit;
}

} // namespace

ReportDialog::ReportDialog(QWidget *parent, int language, bool checkPossible) : QDialog(parent) {
    const auto msg = [language](CatalogueEntry entry) {
        return MessageCatalogue::text(entry, language);
    };
    setObjectName(QStringLiteral("formReport"));
    setWindowTitle(msg(CatalogueEntry::ReportTitle));
    auto *form = new QFormLayout;
    technician_ = lineEdit(this, "EditTechnician");
    site_ = lineEdit(this, "EditSite");
    tag_ = lineEdit(this, "EditTag");
    remarks_ = new QPlainTextEdit(this);
    remarks_->setObjectName(QStringLiteral("EditRemarks"));
    remarks_->setTabChangesFocus(true);
    form->addRow(msg(CatalogueEntry::ReportTechnician) + QLatin1Char(':'), technician_);
    form->addRow(msg(CatalogueEntry::ReportSite) + QLatin1Char(':'), site_);
    form->addRow(msg(CatalogueEntry::ReportTag) + QLatin1Char(':'), tag_);
    form->addRow(msg(CatalogueEntry::ReportRemarks) + QLatin1Char(':'), remarks_);

    check_ = new QCheckBox(msg(CatalogueEntry::ReportIncludeCheck), this);
    check_->setObjectName(QStringLiteral("CheckLiveValues"));
    seconds_ = new QSpinBox(this);
    seconds_->setObjectName(QStringLiteral("SpinCheckSeconds"));
    seconds_->setRange(1, LiveCheck::kMaxSeconds);
    seconds_->setValue(LiveCheck::kDefaultSeconds);
    auto *secondsLabel =
        new QLabel(msg(CatalogueEntry::ReportCheckSeconds) + QLatin1Char(':'), this);
    secondsLabel->setBuddy(seconds_);
    auto *checkRow = new QHBoxLayout;
    checkRow->addWidget(check_);
    checkRow->addStretch();
    checkRow->addWidget(secondsLabel);
    checkRow->addWidget(seconds_);
    form->addRow(checkRow);
    // A file's settings are no device's: a check would measure whatever is connected.
    for (QWidget *control : {static_cast<QWidget *>(check_), static_cast<QWidget *>(secondsLabel),
                             static_cast<QWidget *>(seconds_)})
        control->setEnabled(checkPossible);

    auto *buttons = new QDialogButtonBox(this);
    auto *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ButtonOK"));
    ok->setDefault(true);
    buttons->addButton(msg(CatalogueEntry::Cancel), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("ButtonCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void ReportDialog::recall(const ToolSettings &settings) {
    technician_->setText(settings.readString(kSection, QStringLiteral("Technician")));
    site_->setText(settings.readString(kSection, QStringLiteral("Site")));
    tag_->setText(settings.readString(kSection, QStringLiteral("Tag")));
    if (check_->isEnabled())
        check_->setChecked(settings.readString(kSection, QStringLiteral("LiveCheck")) ==
                           QLatin1String("1"));
    bool ok = false;
    const int seconds = settings.readString(kSection, QStringLiteral("CheckSeconds")).toInt(&ok);
    if (ok)
        seconds_->setValue(seconds);
}

void ReportDialog::remember(const ToolSettings &settings) const {
    settings.writeString(kSection, QStringLiteral("Technician"), technician_->text());
    settings.writeString(kSection, QStringLiteral("Site"), site_->text());
    settings.writeString(kSection, QStringLiteral("Tag"), tag_->text());
    if (check_->isEnabled())
        settings.writeString(kSection, QStringLiteral("LiveCheck"),
                             check_->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    settings.writeString(kSection, QStringLiteral("CheckSeconds"),
                         QString::number(seconds_->value()));
}

ReportFields ReportDialog::fields() const {
    return {technician_->text().trimmed(), site_->text().trimmed(), tag_->text().trimmed(),
            remarks_->toPlainText()};
}

bool ReportDialog::includeCheck() const {
    return check_->isEnabled() && check_->isChecked();
}

int ReportDialog::checkSeconds() const {
    return seconds_->value();
}
