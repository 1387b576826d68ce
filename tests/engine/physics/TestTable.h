#pragma once

#include <string>
#include <vector>

// Plays every case of a table and tells what went wrong, all together: how many cases of how many
// failed, then each failing case on a line of its own as "name: faults". Empty when none failed.
// play(case) returns the case's faults, empty for none; name(case) names it.
template <typename Case, typename Play, typename Name>
std::string failuresOf(const std::vector<Case>& table, Play&& play, Name&& name) {
    std::string lines;
    std::size_t failed = 0;
    for (const Case& entry : table) {
        const std::string faults = play(entry);
        if (!faults.empty()) {
            ++failed;
            lines += name(entry) + ": " + faults + "\n";
        }
    }
    return failed == 0 ? "" : std::to_string(failed) + " of " + std::to_string(table.size()) + ":\n" + lines;
}
