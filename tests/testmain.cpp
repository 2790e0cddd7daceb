#include "platform/application.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    Platform::TApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
