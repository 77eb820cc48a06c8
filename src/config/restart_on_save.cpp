#include "config/restart_on_save.h"

#include "config/apache_edit.h"
#include "server/installation_apache.h"
#include "ui_text.h"

namespace velko {
namespace {

// Where the configuration's first Listen directive is reached; nothing for a port that is no
// number (a variable), which cannot be looked at.
std::optional<ApacheAddress> listenAddressOf(std::string_view configuration) {
    const std::optional<unsigned> port = portNumber(portOf(configuration));
    if (!port) return std::nullopt;
    return ApacheAddress{reachableAddressOf(configuration), static_cast<std::uint16_t>(*port)};
}

// The installation's Apache, when its httpd.exe may run.
std::optional<ApacheInstallation> apacheOf(const std::string& xamppDirectory) {
    std::optional<std::string> program = installationApache(xamppDirectory);
    if (!program) return std::nullopt;
    return ApacheInstallation{std::move(*program), xamppDirectory, xamppDirectory + std::string(kApacheErrorLog)};
}

}  // namespace

RestartOnSave::RestartOnSave(ConfigView& view, const std::string& xamppDirectory, std::string_view configuration,
                             const std::string& newPort, bool portChanged,
                             const std::function<bool(const std::string&)>& ask)
    : view_(view), heldPort_(portOf(configuration)), newPort_(newPort), heldAddress_(listenAddressOf(configuration)) {
    if (!portChanged) return;
    // The save keeps the first Listen's address and changes its port alone.
    newAddress_ = ApacheAddress{reachableAddressOf(configuration), static_cast<std::uint16_t>(*portNumber(newPort))};
    const std::optional<ApacheInstallation> apache = apacheOf(xamppDirectory);
    std::optional<RunningApache> running = apache ? runningApache(*apache) : std::nullopt;
    if (!running) return;
    declined_ = !ask(text::filled(text::kRestartQuestion, {heldPort_, newPort_}));
    if (declined_) return;
    ServerProgress progress{[&view](std::string_view status) { view.showStatus(status); }, [&view] { view.yieldToEvents(); }};
    restart_.emplace(*apache, std::move(*running), std::move(progress));
}

void RestartOnSave::restartOn() {
    if (restart_) restart_->restartAt(newAddress_);
}

Failure RestartOnSave::undone(const Failure& why) {
    if (!restart_ || !restart_->hasStopped()) return why;
    return restart_->startedAgainAt(heldAddress_, why);
}

void RestartOnSave::tellWhenDeclined() const {
    if (declined_) view_.inform(text::filled(text::kRestartDeclined, {heldPort_, newPort_}));
}

void tellWhenApacheStopped(ConfigView& view, const std::string& xamppDirectory) {
    const std::optional<ApacheInstallation> apache = apacheOf(xamppDirectory);
    if (apache && !runningApache(*apache)) view.inform(std::string(text::kSaveCutShortApacheStopped));
}

}  // namespace velko
