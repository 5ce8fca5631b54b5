// Reads what the library's trace wrote to its file in the current directory.
#pragma once

#include <string>
#include <vector>

// Moves the process into a fresh empty folder, so the trace file is the test's own.
void enterFreshDirectory();

// The trace lines written since the previous call.
std::vector<std::string> newTraceLines();
