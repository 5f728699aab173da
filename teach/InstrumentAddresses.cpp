#include "teach/InstrumentAddresses.h"

#include "base/IniFile.h"
#include "base/ToolSettings.h"

namespace InstrumentAddresses {

const Fields &fields() {
    static const Fields kFields = {{
        {"IEEE", "GPIB1", &GpibSettings::GPIB1},
        {"IEEE", "GPIB2", &GpibSettings::GPIB2},
        {"Agilent", "Agilent_OUTD_Spg", &GpibSettings::Agilent_OUTD_Spg},
        {"Agilent", "Agilent_OUTD_Strom", &GpibSettings::Agilent_OUTD_Strom},
        {"Agilent", "Agilent_IN1_2_Multiplexer", &GpibSettings::Agilent_IN1_2_Multiplexer},
        {"Agilent", "Agilent_IN1_2_Spg", &GpibSettings::Agilent_IN1_2_Spg},
        {"Agilent", "Agilent_IN1_2_Spgmessung", &GpibSettings::Agilent_IN1_2_Spgmessung},
        {"Agilent", "Agilent_IN1_2_Strom", &GpibSettings::Agilent_IN1_2_Strom},
        {"Agilent", "Agilent_IN1_2_Strommessung", &GpibSettings::Agilent_IN1_2_Strommessung},
    }};
    return kFields;
}

void read(const QString &toolSettingsDir, GpibSettings &settings) {
    IniFile file(ToolSettings(toolSettingsDir).path());
    file.load();
    for (const Field &field : fields())
        settings.*field.member =
            file.readString(QString::fromLatin1(field.section), QString::fromLatin1(field.key));
}

void write(IniFile &file, const GpibSettings &settings) {
    for (const Field &field : fields())
        file.writeString(QString::fromLatin1(field.section), QString::fromLatin1(field.key),
                         settings.*field.member);
}

} // namespace InstrumentAddresses
