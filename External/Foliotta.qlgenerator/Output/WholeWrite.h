// Writing all of a buffer to a descriptor, however many writes that takes.
#pragma once

#include <string>

// False when a write failed before every byte was written (interrupted writes are resumed).
bool WriteWhole(int descriptor, const std::string& bytes);
