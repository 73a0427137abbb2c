#pragma once
// Made-up but realistic inputs for the benchmarks, the same on every run.

#include <cstddef>
#include <string>
#include <vector>

namespace ferrolux::bench {

// Blank-separated words of 1 to 12 letters, `bytes` long.
inline std::string Words(size_t bytes) {
  std::string text;
  unsigned state = 1;
  while (text.size() < bytes) {
    state = state * 1103515245u + 12345u;
    const size_t length = 1 + (state >> 16) % 12;
    text += std::string(length, static_cast<char>('a' + (state >> 8) % 26));
    text += ' ';
  }
  text.resize(bytes);
  return text;
}

// A cable type as catalogs name them: a family and a number, `kinds` of them in all.
inline std::string CableType(size_t index, size_t kinds) {
  static const char* const kFamilies[] = {"RG-", "LMR-", "Belden ", "Heliax LDF", "Times ", "Ecoflex "};
  const size_t kind = index % kinds;
  return kFamilies[kind % 6] + std::to_string(8 + kind * 7);
}

// One catalog line of sixteen TAB-separated fields, with its line end.
inline std::string CatalogLine(size_t index) {
  return CableType(index, 40) + "\tPart " + std::to_string(index) +
         "\t50\t.78\t25\tStranded Cu\tFoam PE\tBraid\tPVC\t0.242 in\t300 V\t.3\t.35\t.002\t"
         "A test cable.\tTesting.\r\n";
}

// A text list: element 0 the count and title, then `count` cable types in catalog order.
inline std::vector<std::string> TypeList(size_t count, size_t kinds) {
  std::vector<std::string> list{std::to_string(count) + ",Select Cable Type"};
  for (size_t i = 1; i <= count; ++i) list.push_back(CableType(i * 17, kinds));
  return list;
}

}  // namespace ferrolux::bench
