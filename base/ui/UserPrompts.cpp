#include "base/UserPrompts.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

void UserPrompts::showError(QWidget *parent, const QString &text) {
    QMessageBox::critical(parent, QStringLiteral("Error"), text);
}

void UserPrompts::showMessage(QWidget *parent, const QString &text) {
    QMessageBox::information(parent, parent ? parent->window()->windowTitle() : QString(), text);
}

bool UserPrompts::confirm(QWidget *parent, const QString &text) {
    return QMessageBox::question(parent, parent ? parent->window()->windowTitle() : QString(),
                                 text) == QMessageBox::Yes;
}

QString UserPrompts::openFileName(QWidget *parent, const QString &dir, const QString &fileName,
                                  const QString &filter) {
    QFileDialog dialog(parent, QString(), dir, qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString UserPrompts::saveFileName(QWidget *parent, const QString &dir, const QString &fileName,
                                  const QString &filter, bool confirmOverwrite) {
    QFileDialog dialog(parent, QString(), dir, qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString()); // a name typed without extension stays so
    if (!confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

int UserPrompts::execModal(QDialog &dialog) {
    return dialog.exec();
}

QString UserPrompts::qtFilter(const QString &filter) {
    const int bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return filter;
    QString patterns = filter.mid(bar + 1);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    return filter.left(bar) + QStringLiteral(" (") + patterns + QLatin1Char(')');
}
