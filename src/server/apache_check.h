#pragma once
// Apache's own check of its configuration, "httpd.exe -t", asked of the installation's Apache.
#include <functional>
#include <string>

namespace velko {

// Has the installation's httpd.exe (installationApache) check the configuration whose main file
// is configurationFile, exactly as Apache would read it when started from the installation: with
// no window, and calling whileWaiting while it runs. A refusal is a Failure that quotes Apache's
// first lines. Without an httpd.exe that may run, or when it cannot be started or gives no answer
// within ten seconds (it is then ended), there is no check and nothing is thrown.
void refuseWhatApacheRefuses(const std::string& xamppDirectory, const std::string& configurationFile,
                             const std::function<void()>& whileWaiting);

}  // namespace velko
