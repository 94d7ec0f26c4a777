// Entry point of the test programs that drive the real windows: the main
// window's class is registered once, as start-up does, before any test.
#include "shell.h"

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!RegisterMainClass(GetModuleHandleA(NULL))) {
        std::printf("cannot register the main window class\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
