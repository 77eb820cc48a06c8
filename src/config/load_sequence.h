#pragma once
#include "config/config_view.h"
#include "config/installation.h"

namespace velko {

// Fills the window from the installation's files, once a save that was cut short has been finished
// or undone; a failure to do that reaches the caller before anything is read. Until the preset
// file, a step whose file or cut fails is passed over and assigns nothing; the preset file's
// failures reach the caller.
// Throws LoadCancelled when the user cancels the prompt for the XAMPP directory.
void loadConfiguration(ConfigView& view, const InstallationPaths& paths);

}  // namespace velko
