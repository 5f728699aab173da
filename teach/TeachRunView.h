#pragma once

#include <QString>

// What the teach run shows and reads on the teach page, and the switches of the instrument
// settings dialog. The window provides it; the run itself knows no widget.
class TeachRunView {
public:
    virtual ~TeachRunView() = default;

    // The run's log list starts empty.
    virtual void clearLog() = 0;
    virtual void setLabel(const QString &name, const QString &text) = 0;
    // A value label of a group left out of the run.
    virtual void disableLabel(const QString &name) = 0;
    virtual bool checked(const char *checkBox) const = 0;
    // Selected index of the teach page's measuring range, -1 when it shows no item.
    virtual int rangeIndex() const = 0;
    virtual void setProgress(int maximum, int position) = 0;
    virtual void setProgressPosition(int position) = 0;
    virtual int progressMaximum() const = 0;
    virtual void showMessage(const QString &text) = 0;
    virtual bool zelSimulation() const = 0;
    virtual bool daValuesShown() const = 0;
    // The run is told to stop, as by the abort button.
    virtual void requestStop() = 0;
    // A pass of a DA search measured `value` (mA or V) for the point of value label `label`;
    // a front end that reports each point keeps the last one.
    virtual void noteMeasured(const QString &label, double value) {
        (void)label;
        (void)value;
    }
};
