#pragma once

#include "base/SharedState.h"

#include <QString>
#include <array>

class IniFile;

// The nine stored instrument settings of the teach run in the tool settings file: the two GPIB
// addresses (section "IEEE") and the seven channel lists of the data-acquisition unit (section
// "Agilent"). Read by the window and zelctl, written by the instrument settings dialog.
namespace InstrumentAddresses {

struct Field {
    const char *section;
    const char *key;
    QString GpibSettings::*member;
};
using Fields = std::array<Field, 9>;
// In the order the dialog shows them.
const Fields &fields();

// Missing keys read empty.
void read(const QString &toolSettingsDir, GpibSettings &settings);
void write(IniFile &file, const GpibSettings &settings);

} // namespace InstrumentAddresses
