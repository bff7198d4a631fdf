// Plain geometry values passed between the runtime and its callers.
#pragma once

struct ofPoint {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct ofRectangle {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};
