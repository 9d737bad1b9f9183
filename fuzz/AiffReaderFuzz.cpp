#include "ReaderFuzzing.h"
#include "eLibrary/AiffFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    exerciseReader<eLibrary::AiffFormatReader>(data, size);
    return 0;
}
