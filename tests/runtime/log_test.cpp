// The runtime log: level prefixes, the threshold, and printf formatting.
#include "ofLog.h"

#include <gtest/gtest.h>

namespace {

std::string logged(ofLogLevel threshold, ofLogLevel level, const char* text) {
    const ofLogLevel saved = ofGetLogLevel();
    ofSetLogLevel(threshold);
    testing::internal::CaptureStdout();
    ofLog(level, "%s", text);
    std::string out = testing::internal::GetCapturedStdout();
    ofSetLogLevel(saved);
    return out;
}

TEST(Log, ThresholdStartsAtWarning) {
    EXPECT_EQ(ofGetLogLevel(), OF_LOG_WARNING);
    EXPECT_EQ(logged(ofGetLogLevel(), OF_LOG_NOTICE, "quiet"), "");
    EXPECT_EQ(logged(ofGetLogLevel(), OF_LOG_WARNING, "loud"), "OF_WARNING: loud\n");
}

TEST(Log, EveryLevelHasItsPrefix) {
    EXPECT_EQ(logged(OF_LOG_VERBOSE, OF_LOG_VERBOSE, "a"), "OF_VERBOSE: a\n");
    EXPECT_EQ(logged(OF_LOG_VERBOSE, OF_LOG_NOTICE, "b"), "OF_NOTICE: b\n");
    EXPECT_EQ(logged(OF_LOG_VERBOSE, OF_LOG_WARNING, "c"), "OF_WARNING: c\n");
    EXPECT_EQ(logged(OF_LOG_VERBOSE, OF_LOG_ERROR, "d"), "OF_ERROR: d\n");
    EXPECT_EQ(logged(OF_LOG_VERBOSE, OF_LOG_FATAL_ERROR, "e"), "OF_FATAL_ERROR: e\n");
}

TEST(Log, MessagesBelowTheThresholdAreDropped) {
    EXPECT_EQ(logged(OF_LOG_FATAL_ERROR, OF_LOG_ERROR, "x"), "");
    EXPECT_EQ(logged(OF_LOG_ERROR, OF_LOG_WARNING, "x"), "");
    EXPECT_EQ(logged(OF_LOG_ERROR, OF_LOG_ERROR, "x"), "OF_ERROR: x\n");
}

TEST(Log, FormatsLikePrintf) {
    testing::internal::CaptureStdout();
    ofLog(OF_LOG_ERROR, "error with FT_Load_Glyph %i at %s", 79, "p");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "OF_ERROR: error with FT_Load_Glyph 79 at p\n");
}

} // namespace
