#include "window_fixture.h"

namespace velko::testing {
namespace {

using WindowOpening = WindowTest;

TEST_F(WindowOpening, ShowsTheDemoInstallation) {
    installDemo();
    ASSERT_TRUE(open());
    EXPECT_EQ(textOf(Control::txtWSP), "80");
    EXPECT_EQ(textOf(Control::lblXV), "v1.7.3");
    EXPECT_EQ(textOf(Control::txtPath), xamppDirectory());
}

}  // namespace
}  // namespace velko::testing
