#include "teach/TeachValueModel.h"

TeachValueModel::TeachValueModel(QObject *parent)
    : QObject(parent), texts_(TeachValueTable::RowCount) {}

int TeachValueModel::indexOf(const TeachValueRow &row) {
    return int(&row - TeachValueTable::rows().data());
}

QString TeachValueModel::text(const TeachValueRow &row) const {
    return texts_.at(indexOf(row));
}

void TeachValueModel::setText(const TeachValueRow &row, const QString &text) {
    const int index = indexOf(row);
    if (texts_[index] == text)
        return;
    texts_[index] = text;
    emit valueChanged(index);
}
