#include "teach/PressurePoints.h"

#include "teach/InstrumentCommands.h"

int PressurePoints::nominal(int index) {
    if (index == 0)
        return -120;
    if (index == IndexCount - 1)
        return 120;
    return 10 * index - 110;
}

int PressurePoints::generated(int index, int rangeIndex) {
    const int p = nominal(index);
    return rangeIndex == 0 ? p * 5 / 2 : p;
}

QString PressurePoints::labelName(int index) {
    const int p = nominal(index);
    if (p < 0)
        return QLatin1Char('M') + QString::number(-p);
    if (p > 0)
        return QLatin1Char('P') + QString::number(p);
    return QStringLiteral("PM0");
}

LineSide PressurePoints::lineSide(int pressure) {
    if (pressure < 0)
        return {false, true};
    if (pressure > 0)
        return {true, false};
    return {false, false};
}

int PressurePoints::nextIndex(int index) {
    return (index == 0 || index == 21) ? index + 1 : index + 2;
}

std::vector<int> PressurePoints::taughtIndices() {
    std::vector<int> indices;
    for (int i = 0; i < IndexCount; i = nextIndex(i))
        indices.push_back(i);
    return indices;
}

QString PressurePoints::setPointCommand(int index, int rangeIndex) {
    return InstrumentCommands::setPoint(generated(index, rangeIndex));
}

QString PressurePoints::teachCommand(int index) {
    return QStringLiteral(">TPStuetz") + QString::number(index);
}

QString PressurePoints::replyValue(const QString &reply, int index) {
    QString rest = reply;
    rest.remove(QStringLiteral("TPStuetz") + QString::number(index));
    rest.remove(QLatin1Char(' '));
    return rest;
}
