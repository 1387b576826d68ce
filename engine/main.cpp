#include "engine/Config.h"
#include "engine/Logging.h"

int main() {
    setupLogging();
    const Config config = readConfig("assets/config.ini");
    logConfig(config);
    return 0;
}
