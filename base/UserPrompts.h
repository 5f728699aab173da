#pragma once

#include <QString>

class QDialog;
class QWidget;

// Every message box, file dialog and modal dialog of the tool goes through this seam, so tests
// answer them without a modal loop and the product shows the real ones.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // The standard error box of an escaped failure.
    virtual void showError(QWidget *parent, const QString &text);
    // A plain message the user confirms with OK.
    virtual void showMessage(QWidget *parent, const QString &text);
    // A question answered with Yes or No.
    virtual bool confirm(QWidget *parent, const QString &text);
    // File dialogs; an empty result means the user cancelled. `filter` is in the
    // "Description (*.ext)|*.EXT;*.ext" form of the tool's dialogs.
    virtual QString openFileName(QWidget *parent, const QString &dir, const QString &fileName,
                                 const QString &filter);
    virtual QString saveFileName(QWidget *parent, const QString &dir, const QString &fileName,
                                 const QString &filter, bool confirmOverwrite);
    // Shows one of the tool's own dialogs modally and returns its result code.
    virtual int execModal(QDialog &dialog);

    // "Text (*.a)|*.A;*.a" -> "Text (*.a) (*.A *.a)" for Qt's file dialogs.
    static QString qtFilter(const QString &filter);
};
