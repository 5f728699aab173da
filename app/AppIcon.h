#pragma once

#include <QIcon>

// The tool's icon, drawn like packaging/zeltool.svg (a chart with a red trace), at the sizes a
// desktop asks for. Drawn in code, so the window has it without an SVG image plugin.
namespace AppIcon {
QIcon make();
}
