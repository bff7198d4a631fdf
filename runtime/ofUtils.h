// Small runtime helpers: the data folder that relative file names are resolved
// under, power-of-two sizes for textures, and the process clock.
#pragma once

#include <string>

void ofSetDataPathRoot(const std::string& root);   // starts as "data/"
std::string ofToDataPath(const std::string& path); // relative paths go below the root

int ofNextPow2(int v); // 0 stays 0; a power of two stays itself
bool ofIsPow2(int v);  // 0 counts as a power of two

float ofGetElapsedTimef(); // seconds since the runtime first asked the clock
