// The application object the runtime's window drives: it sets up the engine's
// process-wide objects in their fixed order, forwards each frame to the game
// controller inside the canvas transform, records raw input, and tears the
// objects down in the reverse order at exit.
#pragma once

#include "ofBaseApp.h"

class testApp : public ofBaseApp {
public:
    ~testApp() override = default;
    void setup() override;
    void update() override;
    void draw() override;
    void exit() override;
    void windowResized(int w, int h) override;
    void keyPressed(int key) override;
    void keyReleased(int key) override;
    void mouseMoved(int x, int y) override;
    void mouseDragged(int x, int y, int button) override;
    void mousePressed(int x, int y, int button) override;
    void mouseReleased(int x, int y, int button) override;
    using ofBaseApp::mouseReleased;
    void mouseScrolled(int x, int y, int steps) override;
};
