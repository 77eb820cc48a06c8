#pragma once
#include "config/config_view.h"
#include "config/installation.h"

namespace velko {

// Writes the settings file, the pointer file and the port of Apache's configuration from the
// fields, all three or none, even when the process ends half-way (replaceTogether). The port goes
// into the first Listen and "ServerName localhost:" directives of the configuration as it is when
// the save reads it. A field that holds a line break, a new port that is no port, or one that
// another Listen directive of the whole configuration (included files too) names, stops the save
// before anything is written. Files that another program has changed since the load, and a new
// port that another program holds, are saved only when the user says so. The installation's own
// Apache checks the files in place before the save stands, and its refusal undoes the save
// (refuseWhatApacheRefuses). Save, Exit, OK and the "..." buttons are disabled while it writes.
void saveConfiguration(ConfigView& view, const InstallationPaths& paths);

}  // namespace velko
