#pragma once

#include <QApplication>
#include <exception>
#include <functional>

// Catches every exception that escapes an event handler and hands it to the installed
// handler (the main window's GlobalExceptionHandler); nothing may unwind into Qt's event loop.
class ZelApplication : public QApplication {
public:
    using Handler = std::function<void(QObject *sender, const std::exception &error)>;

    ZelApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Installs `handler` under `owner`; a later owner replaces it, and removing an owner
    // that is no longer current changes nothing.
    void setExceptionHandler(const void *owner, Handler handler);
    void removeExceptionHandler(const void *owner);
    void handleException(QObject *sender, const std::exception &error);

private:
    const void *handlerOwner_ = nullptr;
    Handler handler_;
};
