#include "engine/Config.h"
#include "engine/Engine.h"
#include "engine/Logging.h"
#include "game/GameLoop.h"
#include "graphics/render/RenderContext.h"

#include <GL/glew.h>
#ifdef __SANITIZE_ADDRESS__
#include <dlfcn.h>
#endif

// The program's composition root: the engine below, the game on top.
int main() {
#ifdef __SANITIZE_ADDRESS__
    // Sanitized builds only: Mesa's software driver is unloaded at exit, and LeakSanitizer would
    // then report the driver's own allocations as leaks of an unknown module.
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_NODELETE);
#endif
    setupLogging();
    const Config config = readConfig("assets/config.ini");
    logConfig(config);
    gEngine = std::make_unique<Engine>(config);

    // Depth testing, multisampling and the clear colour are the render context's.
    glEnable(GL_CULL_FACE);
    gEngine->renderContext->setWireframe(false);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    getGeneralLogger()->info("Game Loop start");
    gameLoop(*gEngine, config);
    getGeneralLogger()->info("Game Loop end");
    // Emptied before the Engine goes: nothing reaches a half-destroyed Engine through it.
    std::unique_ptr<Engine> engine = std::move(gEngine);
    engine.reset();
    return 0;
}
