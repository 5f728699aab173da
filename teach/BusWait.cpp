#include "teach/BusWait.h"

#include "link/DeviceRunner.h"

BusWait BusWait::on(DeviceRunner &runner) {
    BusWait wait;
    wait.pump = [&runner] { runner.pumpMessages(); };
    wait.abortRequested = [&runner] { return runner.abortRequested(); };
    wait.abortMessage = runner.message(CatalogueEntry::AbortByUser);
    return wait;
}
