// Everything the runtime offers an application, in one include.
#pragma once

#include "ofAppGlutWindow.h"
#include "ofAppRunner.h"
#include "ofBaseApp.h"
#include "ofConstants.h"
#include "ofGeometry.h"
#include "ofGraphics.h"
#include "ofImage.h"
#include "ofLog.h"
#include "ofSoundPlayer.h"
#include "ofTexture.h"
#include "ofTrueTypeFont.h"
#include "ofUtils.h"
