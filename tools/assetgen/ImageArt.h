#pragma once

#include "tools/assetgen/Raster.h"

// A red pixel-art heart with a dark outline on a transparent background, 40 x 40: the game draws
// it at exactly that size with nearest filtering, so every pixel is either opaque or clear.
Raster paintHeart();
// The title "VORNHALT" in rounded strokes with an outline and a drop shadow, 600 x 220.
Raster paintLogo();
// Face i of the sky cube in the order right, left, top, bottom, front, back (+X, -X, +Y, -Y,
// +Z, -Z), size x size pixels. One sky seen in every direction, so the faces meet without seams.
Raster paintSkyFace(int face, int size);
