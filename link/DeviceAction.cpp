#include "link/DeviceAction.h"

ControlStates ControlStates::of(DeviceAction action, bool measuring, bool stopRequested) {
    const bool idle = action == DeviceAction::None;
    const bool transfer = action == DeviceAction::Transfer || action == DeviceAction::TeachTransfer;
    const bool free = idle && !measuring;

    ControlStates s;
    // The configuration files stay usable during a settings transfer.
    s.settingsMenus = free || (action == DeviceAction::Transfer && !measuring);
    s.portSetup = free;
    s.transferButtons = free;
    s.abortTransfer = transfer;
    s.settingsSheets = free;
    s.teachSheet = free || action == DeviceAction::TeachRun;
    s.measureSheet = !transfer && action != DeviceAction::TeachRun;
    // While measuring it is the stop button, and stays in reach under zeroing or calibration.
    s.measureToggle = idle || measuring;
    s.measureActions = idle;
    s.teachButtons = idle;
    s.abortTeach = action == DeviceAction::TeachRun && !stopRequested;
    return s;
}
