// Running the saved launcher batch file, and with it the launcher, as the user would on the target.
#pragma once

#include <QString>

class QWidget;

namespace vl
{

// Runs the batch file that belongs to the configuration saved at configPath (none: a document never
// saved, which runs the interpreter with nothing to run) and waits with window disabled. The
// interpreter is the one COMSPEC names, started with "/c"; without COMSPEC, DOSBox from PATH with the
// configuration's folder as drive C:. Either way it runs in the configuration's folder. Shows a message
// when no interpreter can be started.
void RunPreview(const QString& configPath, QWidget* window);

} // namespace vl
