#pragma once

#include "link/DeviceAction.h"
#include "link/DeviceSession.h"

// The device session as a device action sees it: besides the exchange, the action declares
// its mode (which decides what else may run and which controls stay in reach), and learns
// whether a running measurement holds the port, whose polling it pauses for its own commands.
class OperationRunner : public DeviceSession {
public:
    virtual void beginAction(DeviceAction action) = 0;
    virtual void endAction() = 0;
    virtual bool measurementRunning() const = 0;
    virtual void pausePolling() = 0;
    virtual void resumePolling() = 0;
};
