#include "calib/TFormKalibrieren.h"

#include "app/TformMain.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormKalibrieren::TFormKalibrieren(TformMain &window) : QDialog(&window), window_(window)
{
    setObjectName(QStringLiteral("FormKalibrieren"));
    setWindowTitle(QStringLiteral("ZEL kalibrieren"));
    auto *status = new QLabel(this);
    status->setObjectName(QStringLiteral("Statusanzeige"));
    status->setWordWrap(true);
    status->setFixedSize(360, 110);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ButtonCalibOK"));
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("ButtonCalibAbbrechen"));
    auto *buttons = new QHBoxLayout();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(status);
    layout->addLayout(buttons);
}
