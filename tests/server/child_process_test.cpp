// Running another program: it never outlives the wait for it.
#include <gtest/gtest.h>

#include "server/child_process.h"
#include "temp_installation.h"

namespace velko::testing {
namespace {

// The stand-in's check that never ends holds its file; past the limit it is ended, and the file
// is free when the wait returns. A blank in the path shows that the word reached it whole.
TEST(ChildProcess, EndsAProgramThatOutlivesItsLimit) {
    const TempDirectory scratch;
    scratch.write("a conf\\httpd.conf", "StandInHangs\r\n");
    const std::string file = scratch.path("a conf\\httpd.conf");
    const auto held = [&] {
        // Sharing everything, the look never stops the stand-in's own reading of the file.
        constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        return !FileHandle(orNull(CreateFileA(file.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr)));
    };
    bool heldMeanwhile = false;
    const auto waitUntilHeld = [&] {
        for (int tick = 0; tick < 1000 && !heldMeanwhile; ++tick, Sleep(10)) heldMeanwhile = held();
    };
    const ProgramCall check{VELKO_STAND_IN_HTTPD, {"-t", "-f", file}, scratch.root()};
    EXPECT_FALSE(runAndCapture(check, std::chrono::milliseconds(200), waitUntilHeld));
    EXPECT_TRUE(heldMeanwhile);
    EXPECT_FALSE(held());
}

}  // namespace
}  // namespace velko::testing
