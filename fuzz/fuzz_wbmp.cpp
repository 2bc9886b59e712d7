// Fuzzes the WBMP reader at 1 and 8 bits and as a packed bitmap.
#include "fuzz/fuzz_readers.h"
#include "imageio/readers/wbmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_reader(data, size, is_read_wbmp, {1, 8});
    return 0;
}
