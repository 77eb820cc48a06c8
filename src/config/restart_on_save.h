#pragma once
// The restart of this installation's Apache that a save of a new port offers: asked with the
// save's other questions before anything is written, run in the save's last hook while the
// replacement can still be undone, and undone with the files when Apache does not answer.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "config/config_view.h"
#include "server/apache_restart.h"

namespace velko {

class RestartOnSave {
public:
    // Asks whether to restart when the port changes and this installation's Apache runs; ask is the
    // save's way of asking, which asks a save that starts again nothing it has answered.
    RestartOnSave(ConfigView& view, const std::string& xamppDirectory, std::string_view configuration,
                  const std::string& newPort, bool portChanged, const std::function<bool(const std::string&)>& ask);

    // The save's last hook: Apache restarted on the files in place, answering on the new port at the
    // address of the first Listen.
    void restartOn();

    // The save was undone: Apache started again as it ran; the failure, with word of Apache.
    Failure undone(const Failure& why);

    // The save stands: when the user kept Apache running, says when the new port takes effect.
    void tellWhenDeclined() const;

private:
    ConfigView& view_;
    std::string heldPort_;
    std::string newPort_;
    std::optional<ApacheAddress> heldAddress_;
    ApacheAddress newAddress_;
    std::optional<ApacheRestart> restart_;
    bool declined_ = false;
};

// A save was cut short, perhaps while it restarted Apache, and the load has settled its journal:
// when the installation's Apache is not running now, the user is told so, and how to start it.
void tellWhenApacheStopped(ConfigView& view, const std::string& xamppDirectory);

}  // namespace velko
