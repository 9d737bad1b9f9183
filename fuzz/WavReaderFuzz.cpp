#include "ReaderFuzzing.h"
#include "eLibrary/WaveFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    exerciseReader<eLibrary::WaveFormatReader>(data, size);
    return 0;
}
