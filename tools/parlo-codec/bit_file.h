// .bit files: the raw 81-byte superframe payloads back to back, nothing else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads the payloads; fails for an unreadable or empty file and for a size that
// is not a whole number of payloads.
bool read_bit_file(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);
bool write_bit_file(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);
