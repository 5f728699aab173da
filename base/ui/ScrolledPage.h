#pragma once

class QGridLayout;
class QWidget;

// A tab page whose content scrolls where the window is lower than the content, so the window
// fits a 768-pixel screen. The page widget keeps its name (and its enabled state governs the
// content); the content is built into an inner widget.
namespace ScrolledPage {

// The widget to build the content of `page` into: created on the first call, inside a frameless
// scroll area that fills the page.
QWidget *content(QWidget *page);

// The height the content of `page` needs to show whole at the page's width.
int naturalHeight(QWidget *page);

// Keeps every row of `grid` as tall as its widgets need at the width they get. A grid of group
// boxes whose forms wrap long captions underestimates that height and would squeeze the fields
// of a wrapped group below their height; the rows are set to what the groups say they need.
void keepRowsWhole(QGridLayout *grid);

} // namespace ScrolledPage
