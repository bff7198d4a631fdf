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

TEST(Log, PrefixesAndThreshold) {
    EXPECT_EQ(ofGetLogLevel(), OF_LOG_WARNING);
    const struct {
        ofLogLevel threshold, level;
        const char* out;
    } cases[] = {
        {OF_LOG_WARNING, OF_LOG_NOTICE, ""},
        {OF_LOG_VERBOSE, OF_LOG_VERBOSE, "OF_VERBOSE: x\n"},
        {OF_LOG_VERBOSE, OF_LOG_NOTICE, "OF_NOTICE: x\n"},
        {OF_LOG_VERBOSE, OF_LOG_WARNING, "OF_WARNING: x\n"},
        {OF_LOG_ERROR, OF_LOG_WARNING, ""},
        {OF_LOG_ERROR, OF_LOG_ERROR, "OF_ERROR: x\n"},
        {OF_LOG_FATAL_ERROR, OF_LOG_ERROR, ""},
        {OF_LOG_VERBOSE, OF_LOG_FATAL_ERROR, "OF_FATAL_ERROR: x\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(logged(c.threshold, c.level, "x"), c.out) << c.threshold << " " << c.level;
    testing::internal::CaptureStdout();
    ofLog(OF_LOG_ERROR, "error with FT_Load_Glyph %i at %s", 79, "p");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "OF_ERROR: error with FT_Load_Glyph 79 at p\n");
}

} // namespace
