// Fuzzes the TGA reader at 8, 24 and 32 bits and as a packed bitmap.
#include "fuzz/fuzz_readers.h"
#include "imageio/readers/tga.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_reader(data, size, is_read_tga, {8, 24, 32});
    return 0;
}
