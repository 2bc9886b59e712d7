// The printer's name for a paper size, from the lists the spooler reports.
#pragma once
#include <cstdint>
#include <string>

// Each paper name occupies a slot of this many bytes, NUL-terminated unless
// it fills the slot.
constexpr int32_t paper_name_slot = 64;

// The name whose paper code equals code: names holds name_count slots, codes
// code_count 16-bit paper codes, index by index. The first matching index
// that also has a name wins; a name filling its whole slot is cut to
// paper_name_slot - 1 characters. Empty when no code matches.
std::string paper_name_for_code(const char* names, int32_t name_count, const uint16_t* codes, int32_t code_count,
                                int32_t code);
