#pragma once
// The server list file: server.pxy in the current directory, one proxy server
// per line.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "store/file_seam.h"

inline constexpr const char kServerListFileName[] = "server.pxy";

// Bounds that keep any file, however large or strange, from stalling the
// start-up: only this many bytes are read, and only this many items listed.
// A line cut off by the byte bound has no line end, so it is not listed.
constexpr std::size_t kMaxServerListBytes = std::size_t{1} << 20;  // 1 MiB
constexpr std::size_t kMaxServerListItems = 4096;

// The items of a server list. A line ends at LF, at CR, or at CR LF taken as
// one; 0x1A ends the file; a zero byte ends its line's text; a line without a
// line end after it is not an item. A line whose text is longer than a server
// can be is left out whole rather than listed cut.
std::vector<std::string> ParseServerList(std::string_view bytes);

// The items of the current directory's server.pxy. Without a current
// directory, a path that fits 260 bytes or a readable file there are none.
std::vector<std::string> ReadServerList(FileSeam& files);
