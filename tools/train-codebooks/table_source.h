// Writes a trained table as the C++ source file that defines it.
#pragma once

#include <string>

// The file gets a first line naming this tool, the include of the declaring header, and
// `float <array>[<size_name>]` with `per_line` values a line. False, with `error`, when the file
// cannot be written.
bool write_table_source(const std::string& path, const char* header, const char* array,
                        const char* size_name, const float* values, int count, int per_line,
                        std::string* error);

// The shortest float literal (6 significant digits) that reads back as the value printed.
std::string float_literal(float value);
