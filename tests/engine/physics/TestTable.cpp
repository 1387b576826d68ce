#include "tests/engine/physics/TestTable.h"

std::string linesOf(const std::vector<std::string>& failures) {
    std::string text;
    for (const std::string& failure : failures) {
        text += failure + "\n";
    }
    return text;
}
