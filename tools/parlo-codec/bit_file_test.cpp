#include "bit_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

std::string temp_path(const char* name) { return ::testing::TempDir() + name; }

void write_bytes(const std::string& path, std::size_t count) {
    std::ofstream file(path, std::ios::binary);
    for (std::size_t i = 0; i < count; i++) file.put(static_cast<char>(i));
}

TEST(BitFileTest, ReadsWholeSuperframesOnly) {
    const struct {
        const char* name;
        std::size_t size;
        bool ok;
    } cases[] = {
        {"one superframe", 81, true},  {"three superframes", 243, true}, {"empty", 0, false},
        {"one byte short", 80, false}, {"one byte over", 82, false},
    };
    for (const auto& c : cases) {
        const std::string path = temp_path("bit_file_test.bit");
        write_bytes(path, c.size);
        std::vector<uint8_t> bytes;
        std::string error;
        EXPECT_EQ(read_bit_file(path, &bytes, &error), c.ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(bytes.size(), c.size) << c.name;
        } else {
            EXPECT_NE(error.find(path), std::string::npos) << c.name << ": " << error;
        }
        std::remove(path.c_str());
    }
}

TEST(BitFileTest, MissingFileIsAnError) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(read_bit_file(temp_path("no_such_file.bit"), &bytes, &error));
    EXPECT_FALSE(error.empty());
}

TEST(BitFileTest, WrittenBytesReadBack) {
    const std::string path = temp_path("bit_file_roundtrip.bit");
    std::vector<uint8_t> bytes(162);
    for (std::size_t i = 0; i < bytes.size(); i++) bytes[i] = static_cast<uint8_t>(255 - i);
    std::string error;
    ASSERT_TRUE(write_bit_file(path, bytes, &error)) << error;
    std::vector<uint8_t> back;
    ASSERT_TRUE(read_bit_file(path, &back, &error)) << error;
    EXPECT_EQ(back, bytes);
    std::remove(path.c_str());
}

}  // namespace
