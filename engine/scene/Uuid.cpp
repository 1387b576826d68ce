#include "engine/scene/Uuid.h"

#include <uuid/uuid.h>

std::string Uuid::toString() const {
    char text[37];
    uuid_unparse_lower(bytes.data(), text);
    return text;
}

Uuid generateUuid() {
    Uuid id;
    uuid_generate_random(id.bytes.data());
    return id;
}
