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

// Zero counts as a power of two.
TEST(Pow2, NextAndIs) {
    for (auto [n, next] : {std::pair{0, 0},
                           {1, 1},
                           {3, 4},
                           {300, 512},
                           {512, 512},
                           {513, 1024},
                           {1 << 30, 1 << 30}}) {
        EXPECT_EQ(ofNextPow2(n), next) << n;
        EXPECT_EQ(ofIsPow2(n), n == next) << n;
    }
    EXPECT_FALSE(ofIsPow2(-4));
}

} // namespace
