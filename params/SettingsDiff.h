#pragma once

#include "params/ConfigFile.h"

#include <vector>

// Where two sets of stored settings differ, setting by setting. Numbers are compared by value,
// so "12,50" equals the "12,5" a device gives back and "42" the password "0042".
class SettingsDiff {
public:
    struct Difference {
        const ParamDef *row;
        QString left;
        QString right;
    };

    static std::vector<Difference> between(const ConfigValues &left, const ConfigValues &right);
    // The value of a setting as the file stores it.
    static QString valueText(const ConfigValues &values, const ParamDef &row);
};
