#include "app/ScrolledPage.h"

#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>

namespace ScrolledPage {

QWidget *content(QWidget *page) {
    const QString name = page->objectName() + QStringLiteral("Content");
    if (auto *existing = page->findChild<QWidget *>(name))
        return existing;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(page);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Without room to spare the page wants its whole content; it scrolls only when squeezed.
    scroll->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    auto *inner = new QWidget(scroll);
    inner->setObjectName(name);
    scroll->setWidget(inner);
    layout->addWidget(scroll);
    return inner;
}

int naturalHeight(QWidget *page) {
    const QWidget *inner = content(page);
    int height = qMax(inner->sizeHint().height(), inner->minimumHeight());
    // Rows that wrap long captions need more than the hint at a narrow width.
    if (inner->hasHeightForWidth())
        height = qMax(height, inner->heightForWidth(page->width()));
    return height;
}

} // namespace ScrolledPage
