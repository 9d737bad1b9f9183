#pragma once

#include <string>

namespace velk::cli {

// A JSON string literal of raw bytes. Bytes that are not ASCII are written as \u00XX, one per
// byte, so any name (even one that is not valid UTF-8) prints as valid JSON and reads back byte
// for byte.
std::string jsonString(const std::string& bytes);

}  // namespace velk::cli
