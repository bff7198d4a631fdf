// The runtime log: printf-style messages with a level, written to standard output
// behind the level's prefix. Messages below the threshold are dropped.
#pragma once

#include "ofConstants.h"

void ofSetLogLevel(ofLogLevel threshold); // messages below it are dropped; starts at warning
ofLogLevel ofGetLogLevel();
void ofLog(ofLogLevel level, const char* format, ...) __attribute__((format(printf, 2, 3)));
