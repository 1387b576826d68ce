#pragma once

#include "tools/assetgen/ColladaModel.h"

// The game's three models, each built from nothing but code (Y up, metres, +X the front).
ColladaModel makeDog();
ColladaModel makeArena();
ColladaModel makeFrisbee();
