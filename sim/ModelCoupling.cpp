#include "sim/ModelCoupling.h"

#include "sim/DeviceModel.h"

#include <cmath>

namespace sim {

ModelCoupling::ModelCoupling(Access access, Lines lines)
    : access_(std::move(access)), lines_(std::move(lines)) {}

double ModelCoupling::sideSign(ModemLines lines) {
    if (lines.dtr == lines.rts)
        return 0.0;
    return lines.dtr ? 1.0 : -1.0;
}

void ModelCoupling::setGeneratedPressure(double pascal) {
    generatedPa_ = std::fabs(pascal);
    linesChanged();
}

void ModelCoupling::linesChanged() {
    const double applied = sideSign(lines_ ? lines_() : ModemLines()) * generatedPa_;
    access_([applied](DeviceModel &model) { model.setAppliedPressure(applied); });
}

double ModelCoupling::outputCurrentMa() {
    double value = 0.0;
    access_([&value](DeviceModel &model) { value = model.outputCurrentMa(); });
    return value;
}

double ModelCoupling::outputVoltageV() {
    double value = 0.0;
    access_([&value](DeviceModel &model) { value = model.outputVoltageV(); });
    return value;
}

void ModelCoupling::setInputCurrent(int input, double milliamps) {
    access_([=](DeviceModel &model) { model.setInputCurrent(input, milliamps); });
}

void ModelCoupling::setInputVoltage(int input, double volts) {
    access_([=](DeviceModel &model) { model.setInputVoltage(input, volts); });
}

} // namespace sim
