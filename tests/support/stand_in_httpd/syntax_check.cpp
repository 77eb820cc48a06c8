// "httpd.exe -t -f file": the first directive named StandInRefuses is refused as Apache refuses
// one that no module defines; at StandInHangs the check never ends and holds its file open.
#include <windows.h>

#include <cstdio>

#include "config/config_files_on_disk.h"
#include "stand_in.h"

namespace velko::stand_in {

int checkSyntax(const Arguments& arguments) {
    const std::string file = valueAfter(arguments, "-f");
    bool refused = false;
    const ConfigFilesOnDisk disk;
    forEachDirective(disk, file, disk.read(file, kMaxConfigBytes).value_or(""), [&](const std::string& in, const ConfigLine& line) {
        if (isDirective(line.text, "StandInHangs")) {
            while (CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) == INVALID_HANDLE_VALUE) Sleep(10);
            Sleep(INFINITE);
        }
        refused = isDirective(line.text, "StandInRefuses");
        if (refused)
            std::fprintf(stderr, "AH00526: Syntax error on line %zu of %s:\nInvalid command 'StandInRefuses', perhaps misspelled "
                         "or defined by a module not included in the server configuration\n", line.number, in.c_str());
        return !refused;
    });
    std::fputs(refused ? "" : "Syntax OK\n", stderr);
    return refused ? 1 : 0;
}

}  // namespace velko::stand_in
