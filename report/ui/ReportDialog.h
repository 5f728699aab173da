#pragma once

// report/ui/: the report dialog of the window.

#include "report/CommissioningReport.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class ToolSettings;

// The dialog of the commissioning report: who, for whom and where, remarks, and whether a
// live-value check of how many seconds goes into it. All but the remarks are kept in the tool
// settings file (section "Report") from one report to the next.
class ReportDialog : public QDialog {
    Q_OBJECT
public:
    // Without `checkPossible` (settings from a file) the live-value check is not offered.
    ReportDialog(QWidget *parent, int language, bool checkPossible);

    void recall(const ToolSettings &settings);
    // Throws EFileError when the tool settings file cannot be written.
    void remember(const ToolSettings &settings) const;

    ReportFields fields() const;
    bool includeCheck() const;
    int checkSeconds() const;

private:
    QLineEdit *technician_ = nullptr;
    QLineEdit *site_ = nullptr;
    QLineEdit *tag_ = nullptr;
    QPlainTextEdit *remarks_ = nullptr;
    QCheckBox *check_ = nullptr;
    QSpinBox *seconds_ = nullptr;
};
