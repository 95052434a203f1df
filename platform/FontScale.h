// Growing layouts drawn for the default desktop font to the font in use.
#pragma once

#include <QSize>

class QFont;
class QWidget;

namespace platform
{

// How much larger than the default desktop font, the one the layouts are drawn for, the given font
// is, as dialog units would follow it: 1 at the default font, never less.
double FontScale(const QFont& font);
// A size of a layout drawn for the default font, grown by factor.
QSize ScaledSize(QSize size, double factor);
// Grows a form drawn for the default font by factor: its own size and the place and size of each
// control placed on it (a form arranged by a layout keeps its layout's placing).
void ScaleForm(QWidget* form, double factor);

} // namespace platform
