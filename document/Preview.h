// Running the saved launcher batch file, and with it the launcher, as the user would on the target.
#pragma once

#include <QString>

class QWidget;

namespace vl
{

// Runs the batch file that belongs to the configuration saved at configPath (none: nothing is run)
// and waits with window disabled. The interpreter is the one COMSPEC names, started with "/c";
// without COMSPEC, DOSBox from PATH with the configuration's folder as drive C: and the data
// folder's DOS stand-ins as drive D:. Either way it runs in the configuration's folder. Shows a
// message when no interpreter can be started. SIGTERM, SIGHUP or SIGINT during the run end the
// interpreter, remove what Preview made, and then end this program.
void RunPreview(const QString& configPath, QWidget* window);

} // namespace vl
