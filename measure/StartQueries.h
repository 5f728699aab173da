#pragma once

#include "measure/ChartMath.h"

#include <QString>
#include <array>
#include <functional>

struct ParamDef;

class DeviceSession;
class SettingsModel;

// The queries a measurement starts with. They bring ExtPress, the unit lists, the measuring
// range, the input signals and the input scaling into the settings, in line with the device,
// and give the configured chart ranges (pressure, IN-1, IN-2). A reply that does not convert
// throws the conversion error.
class StartQueries {
public:
    // `arrived` runs after the measuring range is in the settings.
    StartQueries(DeviceSession &session, SettingsModel &settings,
                 std::function<void(const ParamDef &)> arrived = {});
    std::array<ValueRange, 3> run();

private:
    void readUnits();
    ValueRange readInput(int input);
    // The reply to "?" + name without every occurrence of name.
    QString valueOf(const QString &name);
    int queryIndex(const QString &name);
    int queryIndexWithoutBlanks(const QString &name);
    double queryScaling(const QString &name);

    DeviceSession &session_;
    SettingsModel &settings_;
    std::function<void(const ParamDef &)> arrived_;
};
