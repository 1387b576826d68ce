#include "graphics/shaders/Shaders.h"

Shaders& getShaders() {
    static Shaders shaders;
    return shaders;
}
