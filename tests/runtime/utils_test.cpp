// Data paths and power-of-two sizes.
#include "ofUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(DataPath, RelativeNamesGoBelowTheDataFolder) {
    EXPECT_EQ(ofToDataPath("font/ipam.ttf"), "data/font/ipam.ttf");
    EXPECT_EQ(ofToDataPath("/usr/share/x.ttf"), "/usr/share/x.ttf");
    ofSetDataPathRoot("game/");
    EXPECT_EQ(ofToDataPath("a.png"), "game/a.png");
    ofSetDataPathRoot("data/");
}

TEST(Pow2, NextPowerOfTwo) {
    EXPECT_EQ(ofNextPow2(0), 0);
    EXPECT_EQ(ofNextPow2(1), 1);
    EXPECT_EQ(ofNextPow2(3), 4);
    EXPECT_EQ(ofNextPow2(200), 256);
    EXPECT_EQ(ofNextPow2(300), 512);
    EXPECT_EQ(ofNextPow2(512), 512);
    EXPECT_EQ(ofNextPow2(513), 1024);
    EXPECT_EQ(ofNextPow2(1 << 30), 1 << 30);
}

TEST(Pow2, ZeroCountsAsAPowerOfTwo) {
    EXPECT_TRUE(ofIsPow2(0));
    EXPECT_TRUE(ofIsPow2(1));
    EXPECT_TRUE(ofIsPow2(256));
    EXPECT_FALSE(ofIsPow2(300));
    EXPECT_FALSE(ofIsPow2(-4));
}

} // namespace
