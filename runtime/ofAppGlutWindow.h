// The one window of the process on freeglut: its creation in a display mode, its
// event loop with frame pacing, and the window queries the application uses.
#pragma once

#include <memory>
#include <string>

class ofBaseApp;

class ofAppGlutWindow {
public:
    ofAppGlutWindow();
    ~ofAppGlutWindow();

    void setGlutDisplayString(const std::string& displayMode); // before setupOpenGL
    void setupOpenGL(int w, int h, int windowMode);            // opens the window
    void runAppViaInfiniteLoop(ofBaseApp* app);                // returns only if the loop ends

    void setWindowTitle(const std::string& title);
    void setWindowPosition(int x, int y);
    void toggleFullscreen();
    int getWindowMode() const;
    int getWidth() const;
    int getHeight() const;
    int getScreenWidth() const;
    int getScreenHeight() const;

    void setFrameRate(float targetRate); // 0 runs unpaced
    float getFrameRate() const;          // measured, smoothed
    int getFrameNum() const;
    void setVerticalSync(bool on); // where the driver offers it
    // On: a frame that draws what the frame before drew is neither drawn nor
    // shown, and a changed one is drawn only where it differs. The application
    // then draws through the runtime only, and its draw is carried out after it
    // returns, so it cannot read its own pixels back.
    void setDrawChangesOnly(bool on);

    struct Impl;

private:
    std::unique_ptr<Impl> m_pImpl;
};
