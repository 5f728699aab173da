#pragma once

#include <QList>

class QAction;
class TformMain;

// Applies the current language to the main window: the language menu's check mark, the items
// of the choice lists (keeping their selection), the captions, and the captions that depend
// on the window's state.
class LanguageApplier {
public:
    static void apply(TformMain &window);

    static bool in1MeasuresPressure(int extPressMode) {
        return extPressMode == 2 || extPressMode == 3;
    }
    static bool in2MeasuresPressure(int extPressMode) {
        return extPressMode == 1 || extPressMode == 3;
    }

private:
    static void applyItems(TformMain &window);
    static void applyCaptions(TformMain &window);
    static void applyStateCaptions(TformMain &window);
    static void assignMnemonics(const QList<QAction *> &actions);
};
