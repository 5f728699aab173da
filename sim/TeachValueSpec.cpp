#include "sim/TeachValueSpec.h"

namespace sim {

namespace {

using G = TeachValueSpec::Group;

// Raw pressure and input readings are 16-bit counts, corrections are signed offsets to them,
// output support points are values of the 12-bit output DA.
constexpr std::array<TeachValueSpec, TeachValueSpec::Count> kTeachValues{{
    {"PStuetz0", G::Pressure, 0, 0, 0, 65535},
    {"PStuetz1", G::Pressure, 0, 1, 0, 65535},
    {"PStuetz3", G::Pressure, 0, 3, 0, 65535},
    {"PStuetz5", G::Pressure, 0, 5, 0, 65535},
    {"PStuetz7", G::Pressure, 0, 7, 0, 65535},
    {"PStuetz9", G::Pressure, 0, 9, 0, 65535},
    {"PStuetz11", G::Pressure, 0, 11, 0, 65535},
    {"PStuetz13", G::Pressure, 0, 13, 0, 65535},
    {"PStuetz15", G::Pressure, 0, 15, 0, 65535},
    {"PStuetz17", G::Pressure, 0, 17, 0, 65535},
    {"PStuetz19", G::Pressure, 0, 19, 0, 65535},
    {"PStuetz21", G::Pressure, 0, 21, 0, 65535},
    {"PStuetz22", G::Pressure, 0, 22, 0, 65535},
    {"CalibMinus", G::Recalibration, 0, -1, 0, 65535},
    {"CalibPlus", G::Recalibration, 0, 1, 0, 65535},
    {"PStuetzKorr0", G::Correction, 0, 0, -32768, 32767},
    {"PStuetzKorr1", G::Correction, 0, 1, -32768, 32767},
    {"PStuetzKorr3", G::Correction, 0, 3, -32768, 32767},
    {"PStuetzKorr5", G::Correction, 0, 5, -32768, 32767},
    {"PStuetzKorr7", G::Correction, 0, 7, -32768, 32767},
    {"PStuetzKorr9", G::Correction, 0, 9, -32768, 32767},
    {"PStuetzKorr11", G::Correction, 0, 11, -32768, 32767},
    {"PStuetzKorr13", G::Correction, 0, 13, -32768, 32767},
    {"PStuetzKorr15", G::Correction, 0, 15, -32768, 32767},
    {"PStuetzKorr17", G::Correction, 0, 17, -32768, 32767},
    {"PStuetzKorr19", G::Correction, 0, 19, -32768, 32767},
    {"PStuetzKorr21", G::Correction, 0, 21, -32768, 32767},
    {"PStuetzKorr22", G::Correction, 0, 22, -32768, 32767},
    {"StIDC0", G::OutputCurrent, 0, 0, 0, 4095},
    {"StIDC1", G::OutputCurrent, 0, 1, 0, 4095},
    {"StIDC2", G::OutputCurrent, 0, 2, 0, 4095},
    {"StVDC1", G::OutputVoltage, 0, 1, 0, 4095},
    {"StVDC3", G::OutputVoltage, 0, 3, 0, 4095},
    {"IN1IStuetz0", G::InputCurrent, 1, 0, 0, 65535},
    {"IN1IStuetz1", G::InputCurrent, 1, 1, 0, 65535},
    {"IN1IStuetz2", G::InputCurrent, 1, 2, 0, 65535},
    {"IN1IStuetz3", G::InputCurrent, 1, 3, 0, 65535},
    {"IN1IStuetz4", G::InputCurrent, 1, 4, 0, 65535},
    {"IN1IStuetz5", G::InputCurrent, 1, 5, 0, 65535},
    {"IN1IStuetz6", G::InputCurrent, 1, 6, 0, 65535},
    {"IN1UStuetz0", G::InputVoltage, 1, 0, 0, 65535},
    {"IN1UStuetz1", G::InputVoltage, 1, 1, 0, 65535},
    {"IN1UStuetz2", G::InputVoltage, 1, 2, 0, 65535},
    {"IN1UStuetz3", G::InputVoltage, 1, 3, 0, 65535},
    {"IN1UStuetz4", G::InputVoltage, 1, 4, 0, 65535},
    {"IN1UStuetz5", G::InputVoltage, 1, 5, 0, 65535},
    {"IN1UStuetz6", G::InputVoltage, 1, 6, 0, 65535},
    {"IN2IStuetz0", G::InputCurrent, 2, 0, 0, 65535},
    {"IN2IStuetz1", G::InputCurrent, 2, 1, 0, 65535},
    {"IN2IStuetz2", G::InputCurrent, 2, 2, 0, 65535},
    {"IN2IStuetz3", G::InputCurrent, 2, 3, 0, 65535},
    {"IN2IStuetz4", G::InputCurrent, 2, 4, 0, 65535},
    {"IN2IStuetz5", G::InputCurrent, 2, 5, 0, 65535},
    {"IN2IStuetz6", G::InputCurrent, 2, 6, 0, 65535},
    {"IN2UStuetz0", G::InputVoltage, 2, 0, 0, 65535},
    {"IN2UStuetz1", G::InputVoltage, 2, 1, 0, 65535},
    {"IN2UStuetz2", G::InputVoltage, 2, 2, 0, 65535},
    {"IN2UStuetz3", G::InputVoltage, 2, 3, 0, 65535},
    {"IN2UStuetz4", G::InputVoltage, 2, 4, 0, 65535},
    {"IN2UStuetz5", G::InputVoltage, 2, 5, 0, 65535},
    {"IN2UStuetz6", G::InputVoltage, 2, 6, 0, 65535},
}};

} // namespace

const std::array<TeachValueSpec, TeachValueSpec::Count> &TeachValueSpec::table() {
    return kTeachValues;
}

int TeachValueSpec::indexOf(const QByteArray &name) {
    for (int i = 0; i < Count; ++i) {
        if (name == kTeachValues[i].name)
            return i;
    }
    return -1;
}

} // namespace sim
