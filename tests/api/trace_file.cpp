#include "trace_file.h"

#include <windows.h>

#include <fstream>

namespace {
size_t linesSeen = 0;
}

void enterFreshDirectory() {
    char base[MAX_PATH];
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    GetTempFileNameA(base, "plo", 0, folder);
    DeleteFileA(folder);
    CreateDirectoryA(folder, nullptr);
    SetCurrentDirectoryA(folder);
    linesSeen = 0;
}

std::vector<std::string> newTraceLines() {
    std::ifstream file("OBTrace.txt");
    std::vector<std::string> lines;
    std::string line;
    for (size_t index = 0; std::getline(file, line); ++index)
        if (index >= linesSeen) lines.push_back(line);
    linesSeen += lines.size();
    return lines;
}
