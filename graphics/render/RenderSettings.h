#pragma once

struct Config;

// Ends the game with one critical line on "GL" when a setting asks for render targets the driver
// cannot allocate: a side that is not positive or above GL_MAX_TEXTURE_SIZE (and, for the view
// targets, which include renderbuffers, GL_MAX_RENDERBUFFER_SIZE). The view targets are width by
// height / 2, one player's half of the window; the shadow map shadowMapWidth by shadowMapHeight.
// Needs a current context. Checked before anything is allocated: the driver does not fail such a
// size cleanly but crashes inside glTexImage2D or leaves the targets without storage.
void checkTargetSizes(const Config& config);

// The gamma the composite is given: the configured one when it is a usable gamma, else the
// default, with one warning on "LOG" that names the setting and its value.
float usableGamma(float configured);
