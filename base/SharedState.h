#pragma once

#include <QChar>
#include <QString>

// The instrument settings of the teach run, as stored in sections "IEEE" and "Agilent".
struct GpibSettings {
    QString GPIB1, GPIB2;
    QString Agilent_OUTD_Spg, Agilent_OUTD_Strom, Agilent_IN1_2_Multiplexer, Agilent_IN1_2_Spg,
        Agilent_IN1_2_Spgmessung, Agilent_IN1_2_Strom, Agilent_IN1_2_Strommessung;
};

// Where the settings the pages show were last loaded from, for the commissioning report.
enum class SettingsOrigin { None, Device, File };

// State the window shares with every subsystem.
struct SharedState {
    int language = 0; // 0 German, 1 English, 2 French
    bool measurementRunning = false;
    int transferFailureMarker = 0; // check number of the first refused setting of a send
    QChar decimalSeparator = QLatin1Char(',');
    QString unitConversionResult; // hand-over of the unit-conversion dialog
    bool calibRange100 = false;   // re-calibration range flag: true = +-100 Pa
    bool calibNegative = false;   // re-calibration direction
    GpibSettings gpib;
    SettingsOrigin settingsOrigin = SettingsOrigin::None;
    QString settingsFile; // the file of SettingsOrigin::File
};
