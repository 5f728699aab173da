#pragma once

// base/ui/: helpers of the widget parts: controls found by object name, pages that scroll on a
// small screen, and the real message boxes and file dialogs behind the prompts interface.

#include <QObject>
#include <QString>
#include <functional>
#include <stdexcept>

// A control of a window or dialog by its object name. A missing control is a fault in the
// program, not in the user's input: it throws std::logic_error.
template <class T> T *findControl(const QObject &root, const QString &name) {
    T *control = root.findChild<T *>(name);
    if (!control)
        throw std::logic_error("control not found: " + name.toStdString());
    return control;
}

// Runs a handler and hands any failure to the window's exception handler.
using GuardedRun = std::function<void(const std::function<void()> &)>;
