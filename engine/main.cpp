#include "engine/Config.h"
#include "engine/Engine.h"
#include "engine/Logging.h"
#include "game/GameLoop.h"
#include "graphics/render/RenderContext.h"

#include <GL/glew.h>

// The program's composition root: the engine below, the game on top.
int main() {
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
    // reset empties gEngine before it destroys the Engine: nothing reaches a half-destroyed
    // Engine through it.
    gEngine.reset();
    return 0;
}
