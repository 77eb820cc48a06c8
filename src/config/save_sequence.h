#pragma once
#include "config/config_view.h"
#include "config/installation.h"

namespace velko {

// Writes the settings file, the pointer file and the port of Apache's configuration from the
// fields, with every other file a changed port moves, all or none, even when the process ends
// half-way (replaceTogether). The port goes into the first Listen and "ServerName localhost:"
// directives of the configuration as it is when the save reads it; every other Listen and virtual
// host address on the old port, in any file the configuration includes, and the control panel's
// copy of the port move with it. A field that holds a line break, a new port that is no port, or
// one that another Listen directive of the whole configuration names, stops the save before
// anything is written. Files that another program has changed since the load (or changes while
// the save runs), other files the port moves, and a new port that another program holds, are
// saved only when the user says so. The installation's own Apache checks the files in place
// before the save stands, and its refusal undoes the save (refuseWhatApacheRefuses). Save, Exit, OK
// and the "..." buttons are disabled while it writes.
void saveConfiguration(ConfigView& view, const InstallationPaths& paths);

}  // namespace velko
