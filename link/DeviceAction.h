#pragma once

// The device action that runs, besides a measurement, which may run on its own or under
// zeroing, reset and re-calibration.
enum class DeviceAction { None, Transfer, TeachTransfer, TeachRun, ZeroReset, Calibrating };

// Which groups of the window's controls can be used. Derived in one place from what runs, so a
// control that starts a device action is never usable while another one runs; only the
// controls that abort or stop the running action stay in reach.
struct ControlStates {
    bool settingsMenus = true;   // MEinstellungen, MExtras
    bool portSetup = true;       // ButtonComPort
    bool transferButtons = true; // ButtonLaden, ButtonSenden, ButtonWE100Pa, ButtonWE250Pa
    bool abortTransfer = false;  // ButtonAbortConfig
    bool settingsSheets = true;  // SkalierungswerteSheet, WarnwerteSheet, EinstellungenSheet
    bool teachSheet = true;      // TeachZELSheet
    bool measureSheet = true;    // StatusSheet
    bool measureToggle = true;   // ButtonConnection: starts when idle, stops while measuring
    bool measureActions = true;  // ButtonNullieren, ButtonReset, ButtonCalibPlus/Minus/Cancel
    bool teachButtons = true;    // ButtonTeach, ButtonLoadTeach, ButtonSendTeach
    bool abortTeach = false;     // ButtonAbortTeach

    // `stopRequested`: the running action was told to stop and is unwinding.
    static ControlStates of(DeviceAction action, bool measuring, bool stopRequested);
};
