// Fuzzes the PCX reader at 1, 8 and 24 bits and as a packed bitmap.
#include "fuzz/fuzz_readers.h"
#include "imageio/readers/pcx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_reader(data, size, is_read_pcx, {1, 8, 24});
    return 0;
}
