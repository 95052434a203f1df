// The help window: an HTML help file shown in a browser window of the program's own.
#pragma once

#include <QString>

class QWidget;

namespace platform
{

// The largest help file shown.
inline constexpr qint64 kMaxHelpBytes = qint64(4) << 20;

// Shows the contents of the HTML file at path; false when it cannot be read, is not a regular file or
// is larger than kMaxHelpBytes.
bool ShowHelpContents(const QString& path, QWidget* parent);

} // namespace platform
