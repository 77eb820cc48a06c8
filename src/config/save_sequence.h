#pragma once
#include "config/config_view.h"
#include "config/installation.h"

namespace velko {

// Writes the settings file, the pointer file and the port of Apache's configuration from the
// fields, all three or none, even when the process ends half-way (replaceTogether). A field that
// holds a line break, or a new port that another Listen line of the configuration holds, stops
// the save before anything is written; a new port that another program holds is saved only when
// the user says so. Save and Exit are disabled while it writes.
void saveConfiguration(ConfigView& view, const InstallationPaths& paths);

}  // namespace velko
