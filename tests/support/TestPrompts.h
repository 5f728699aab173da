#pragma once

#include "base/UserPrompts.h"

#include <QDialog>
#include <QStringList>
#include <functional>

// Answers every prompt of the window without a modal loop and records what was shown.
class TestPrompts : public UserPrompts {
public:
    QStringList errors;      // texts of error boxes, in order
    QStringList messages;    // texts of plain message boxes and questions
    QStringList openAnswers; // next file names for open dialogs ("" = cancel)
    QStringList saveAnswers; // next file names for save dialogs ("" = cancel)
    QList<bool> confirmAnswers;
    struct FileDialogCall {
        QString dir, fileName, filter;
        bool confirmOverwrite = false;
    };
    QList<FileDialogCall> fileDialogs;
    // Runs instead of a modal dialog's own loop; the dialog is shown meanwhile. Without a
    // script the dialog counts as cancelled at once.
    std::function<int(QDialog &)> modalScript;
    int modalCount = 0;

    void showError(QWidget *, const QString &text) override { errors.append(text); }
    void showMessage(QWidget *, const QString &text) override { messages.append(text); }
    bool confirm(QWidget *, const QString &text) override {
        messages.append(text);
        return confirmAnswers.isEmpty() ? true : confirmAnswers.takeFirst();
    }
    QString openFileName(QWidget *, const QString &dir, const QString &fileName,
                         const QString &filter) override {
        fileDialogs.append({dir, fileName, filter, false});
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString saveFileName(QWidget *, const QString &dir, const QString &fileName,
                         const QString &filter, bool confirmOverwrite) override {
        fileDialogs.append({dir, fileName, filter, confirmOverwrite});
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
    int execModal(QDialog &dialog) override {
        ++modalCount;
        dialog.show();
        const int result = modalScript ? modalScript(dialog) : int(QDialog::Rejected);
        dialog.hide();
        return result;
    }
};
