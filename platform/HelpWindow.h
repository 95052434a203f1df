// The help window: an HTML help file shown in a browser window of the program's own.
#pragma once

#include <QString>

class QWidget;

namespace platform
{

// Shows the contents of the HTML file at path; false when it cannot be read.
bool ShowHelpContents(const QString& path, QWidget* parent);

} // namespace platform
