// The application interface that the run loop drives. The virtual operations keep
// this order; every callback defaults to doing nothing.
#pragma once

class ofBaseApp {
public:
    virtual ~ofBaseApp() = default;
    virtual void setup() {}
    virtual void update() {}
    virtual void draw() {}
    virtual void exit() {}
    virtual void windowResized(int w, int h) { (void)w, (void)h; }
    virtual void keyPressed(int key) { (void)key; }
    virtual void keyReleased(int key) { (void)key; }
    virtual void mouseMoved(int x, int y) { (void)x, (void)y; }
    virtual void mouseDragged(int x, int y, int button) { (void)x, (void)y, (void)button; }
    virtual void mousePressed(int x, int y, int button) { (void)x, (void)y, (void)button; }
    virtual void mouseReleased(int x, int y, int button) { (void)x, (void)y, (void)button; }
    virtual void mouseReleased() {}
    // One step of the wheel: steps above 0 away from the player, below 0 towards.
    virtual void mouseScrolled(int x, int y, int steps) { (void)x, (void)y, (void)steps; }

    // The latest pointer position, stored by the runtime before each mouse call.
    int mouseX = 0;
    int mouseY = 0;
};
