#pragma once

#include <string>
#include <vector>

// The preset a "--preset" text names, given the preset list's names in
// index order: a whole number from 0 to n - 1, else the name as it stands,
// else the one name that differs only in case and surrounding blanks.
// Throws CommandError when the list is empty, the number is out of range or
// no name matches.
int FindPreset(const std::vector<std::string>& names, const std::string& text);
