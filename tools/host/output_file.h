// Output that appears complete or not at all: written beside its place under
// another name, then renamed over it.
#pragma once

#include <string>
#include <vector>

bool writeFileAtomically(const std::string& path, const std::vector<char>& bytes, std::string& error);
