#pragma once
#include "config/config_view.h"
#include "config/installation.h"

namespace velko {

// Writes the settings file, the pointer file and the port of Apache's configuration from the
// fields, in that order, each file whole or not at all. A field that holds a line break stops
// the save before anything is written. Save and Exit are disabled while it runs.
void saveConfiguration(ConfigView& view, const InstallationPaths& paths);

}  // namespace velko
