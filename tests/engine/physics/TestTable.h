#pragma once

#include <string>
#include <vector>

// Every failure of a table of cases on a line of its own: a table's failures are read all together.
std::string linesOf(const std::vector<std::string>& failures);
