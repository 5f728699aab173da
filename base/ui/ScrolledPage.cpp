#include "base/ui/ScrolledPage.h"

#include <QEvent>
#include <QGridLayout>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QVector>
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

namespace {

// Sets the row minima of a grid whenever its widget is laid out anew.
class RowKeeper : public QObject {
public:
    RowKeeper(QGridLayout *grid) : QObject(grid), grid_(grid) {
        grid->parentWidget()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest)
            update();
        return QObject::eventFilter(watched, event);
    }

private:
    void update() {
        QVector<int> need(grid_->rowCount(), 0);
        for (int i = 0; i < grid_->count(); ++i) {
            QWidget *widget = grid_->itemAt(i)->widget();
            if (!widget || widget->isHidden())
                continue;
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid_->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            if (rowSpan != 1)
                continue;
            int height = widget->minimumSizeHint().height();
            if (widget->hasHeightForWidth())
                height = qMax(height, widget->heightForWidth(widget->width()));
            need[row] = qMax(need[row], height);
        }
        // Only a change re-lays the grid, so this settles after one more pass.
        for (int row = 0; row < need.size(); ++row) {
            if (grid_->rowMinimumHeight(row) != need[row])
                grid_->setRowMinimumHeight(row, need[row]);
        }
    }

    QGridLayout *grid_;
};

} // namespace

void keepRowsWhole(QGridLayout *grid) {
    new RowKeeper(grid);
}

} // namespace ScrolledPage
