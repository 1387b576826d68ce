#pragma once

#include "tools/assetgen/ColladaModel.h"

#include <string>

// Writes a model as COLLADA 1.4.1 text, Y up, in metres. The output depends on nothing but the
// model: numbers are rounded to a fixed number of decimals so that the bytes are the same on
// every build of the generator.
std::string writeCollada(const ColladaModel& model);
