#pragma once

#include <cstddef>
#include <cstdint>

// One impulse response as the amplifier stores it. Its packed little-endian memory image is
// exactly the byte stream sent to the amplifier, so the record is copied whole.
#pragma pack(push, 1)
struct FIRCOE {
    static constexpr size_t kNameSize = 64;
    static constexpr size_t kCoefficientCount = 2048;

    char name[kNameSize];
    int16_t gain;
    int16_t coe[kCoefficientCount];
};
#pragma pack(pop)

static_assert(sizeof(FIRCOE) == 4162, "FIRCOE must be the amplifier's 4162-byte record");
static_assert(offsetof(FIRCOE, gain) == 64 && offsetof(FIRCOE, coe) == 66, "FIRCOE fields must be packed");

// The amplifier is little-endian; the record's memory image is only its wire form on such hosts.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "FIRCOE's wire form assumes a little-endian host");
