// GoogleTest entry for every core and server test: runs offscreen and tells tests where the
// build tree is, also when a test binary is started by hand rather than through CTest.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("MORVEX_BINARY_DIR", MORVEX_BINARY_DIR, 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
