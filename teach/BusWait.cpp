#include "teach/BusWait.h"

#include "link/DeviceRunner.h"

namespace {
constexpr int kMsgAbortByUser = 36;
}

BusWait BusWait::on(DeviceRunner &runner) {
    BusWait wait;
    wait.pump = [&runner] { runner.pumpMessages(); };
    wait.abortRequested = [&runner] { return runner.abortRequested(); };
    wait.abortMessage = runner.message(kMsgAbortByUser);
    return wait;
}
