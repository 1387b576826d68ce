#pragma once

#include "graphics/model/Model.h"
#include "tools/preview/ModelPreview.h"

// The game's three models with the materials its scene set-up gives them (the dog in player 2's
// orange), and the shot that shows each one.
struct GameModels {
    GameModels();

    PreviewShot dogShot() const;
    PreviewShot arenaShot() const;
    PreviewShot frisbeeShot() const;

    Model dog;
    Model arena;
    Model frisbee;
};
