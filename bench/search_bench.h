#pragma once
// The bare directory walk the file search is measured against, one per
// platform: it visits every entry of the tree once and counts them.
#include <cstdint>
#include <string>

// Counts the files and folders below `root` (narrow, with its trailing separator).
std::uint64_t bareWalk(const std::string& root);
