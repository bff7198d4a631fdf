// The application-facing entry to the window and its run loop. Every call acts on
// the window given to ofSetupOpenGL; before that they do nothing and answer 0.
#pragma once

#include <string>

class ofAppGlutWindow;
class ofBaseApp;

void ofSetupOpenGL(ofAppGlutWindow* window, int w, int h, int windowMode);
void ofRunApp(ofBaseApp* app); // setup, one update, then the event loop until the process ends

void ofSetFrameRate(float targetRate);
float ofGetFrameRate();
int ofGetFrameNum();
void ofSetVerticalSync(bool on);
void ofSetDrawChangesOnly(bool on); // see ofAppGlutWindow::setDrawChangesOnly

void ofSetWindowTitle(const std::string& title);
void ofSetWindowPosition(int x, int y);
void ofToggleFullscreen();
int ofGetWindowMode();
int ofGetWidth();
int ofGetHeight();
int ofGetScreenWidth();
int ofGetScreenHeight();
