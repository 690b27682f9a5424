// Splitting a list of folders as the loaders' environment variables hold them (LD_LIBRARY_PATH,
// PATH): each entry between separators, empty ones included, in order.
#pragma once

#include <algorithm>
#include <string>

template <typename Add>
void ForEachListedFolder(const std::string& list, const char* separators, Add add) {
  size_t begin = 0;
  while (begin <= list.size()) {
    const size_t end = std::min(list.find_first_of(separators, begin), list.size());
    add(list.substr(begin, end - begin));
    begin = end + 1;
  }
}
