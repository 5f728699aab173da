#pragma once

// teach/ui/: the widgets of the teach run: the teach page and the instrument settings dialog.

class QWidget;

// Builds the teach tab: the check boxes that steer the teach run, the measurement range, the
// 61 value labels with their row caption labels, the four teach buttons and the run's list.
// All texts are fixed German design texts.
class TeachPageBuilder {
public:
    static void build(QWidget *page);
};
