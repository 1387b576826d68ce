#pragma once

#include "graphics/shaders/BlendBloomShader.h"
#include "graphics/shaders/DepthMapShader.h"
#include "graphics/shaders/DisplayTextureShader.h"
#include "graphics/shaders/PBRShader.h"
#include "graphics/shaders/SkyboxShader.h"
#include "graphics/shaders/TextShader.h"
#include "graphics/shaders/TextureFilterShader.h"

// The seven programs of the game, built in this order from "assets/shaders/". Either all of
// them compile and link or the process has ended.
struct Shaders {
    BlendBloomShader blendBloom;
    DepthMapShader depthMap;
    DisplayTextureShader displayTexture;
    TextureFilterShader textureFilter;
    PBRShader pbr;
    SkyboxShader skybox;
    TextShader text;
};

// The process's one set, built by the first call (with a context current); the text program is
// current afterwards. It lives until exit, after the context has gone, so it drops its handles
// without a GL call.
Shaders& getShaders();
