#pragma once

#include "teach/TeachValueTable.h"

#include <QObject>
#include <QVector>

// The 61 teach values as the teach page shows them, by row of the teach-value table: the text
// of each value as it stands (a number, "9999" for a point that failed, or what a file held).
class TeachValueModel : public QObject {
    Q_OBJECT
public:
    explicit TeachValueModel(QObject *parent = nullptr);

    static int indexOf(const TeachValueRow &row);
    QString text(const TeachValueRow &row) const;
    void setText(const TeachValueRow &row, const QString &text);

signals:
    void valueChanged(int index);

private:
    QVector<QString> texts_;
};
