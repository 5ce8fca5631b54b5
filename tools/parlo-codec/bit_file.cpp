#include "bit_file.h"

#include <fstream>
#include <iterator>

#include "melp_types.h"

bool read_bit_file(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *error = "cannot read " + path;
        return false;
    }
    bytes->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        *error = "cannot read " + path;
        return false;
    }
    if (bytes->empty()) {
        *error = path + " is empty";
        return false;
    }
    if (bytes->size() % kPayloadBytes != 0) {
        *error = path + " holds " + std::to_string(bytes->size()) +
                 " bytes, not a whole number of " + std::to_string(kPayloadBytes) +
                 "-byte superframes";
        return false;
    }
    return true;
}

bool write_bit_file(const std::string& path, const std::vector<uint8_t>& bytes,
                    std::string* error) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}
