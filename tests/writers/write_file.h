// Saves a built file, for the programs that write test pictures and seeds.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// False when the file cannot be written whole.
bool write_file(const std::string& path, const std::vector<uint8_t>& bytes);
