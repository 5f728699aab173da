#include "app/ZelApplication.h"

#include "base/Errors.h"

#include <QMessageBox>
#include <cstdio>

ZelApplication::ZelApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool ZelApplication::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        handleException(receiver, error);
    } catch (...) {
        handleException(receiver, EZelError(QStringLiteral("Unknown failure")));
    }
    return false;
}

void ZelApplication::setExceptionHandler(const void *owner, Handler handler) {
    handlerOwner_ = owner;
    handler_ = std::move(handler);
}

void ZelApplication::removeExceptionHandler(const void *owner) {
    if (handlerOwner_ == owner) {
        handlerOwner_ = nullptr;
        handler_ = nullptr;
    }
}

void ZelApplication::handleException(QObject *sender, const std::exception &error) {
    if (handler_) {
        try {
            handler_(sender, error);
            return;
        } catch (...) {
            // The handler itself failed: fall through to the plain report below.
        }
    }
    std::fprintf(stderr, "zeltool: %s\n", error.what());
}
