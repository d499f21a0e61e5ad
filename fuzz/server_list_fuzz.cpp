// Any bytes as server.pxy: the reader must stay within its bounds and agree
// with a plain model of text-mode reading (CR LF folded to LF first, 0x1A as
// the end of the file), line by line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "proxy/proxy_server.h"
#include "proxy/server_list.h"

namespace {

std::vector<std::string> Model(std::string_view bytes) {
    std::string text;  // as a text-mode stream would hand it out
    for (std::size_t i = 0; i < bytes.size() && bytes[i] != 0x1A; ++i) {
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) {
            text += bytes[i];
        }
    }
    std::vector<std::string> items;
    std::string line;
    for (const char c : text) {
        if (c == '\n' || c == '\r') {
            const std::string item = line.substr(0, line.find('\0'));
            if (item.size() <= kMaxServerLength && items.size() < kMaxServerListItems) {
                items.push_back(item);
            }
            line.clear();
        } else {
            line += c;
        }
    }
    return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> items = ParseServerList(bytes);
    if (items.size() > kMaxServerListItems) {
        std::abort();
    }
    for (const std::string& item : items) {
        if (item.size() > kMaxServerLength ||
            item.find_first_of(std::string("\r\n\x1A\0", 4)) != std::string::npos) {
            std::abort();
        }
    }
    if (items != Model(bytes)) {
        std::abort();
    }
    return 0;
}
