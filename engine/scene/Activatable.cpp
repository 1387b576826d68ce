#include "engine/scene/Activatable.h"

void Activatable::setActive(bool value) {
    if (value != active) {
        active = value;
        onActiveChanged();
    }
}
