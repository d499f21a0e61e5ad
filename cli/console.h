#pragma once
// What the console program needs of the terminal, so its logic builds and is
// tested without Windows.
#include <cstddef>
#include <string>
#include <string_view>

class Console {
  public:
    virtual ~Console() = default;
    // Standard output and standard error; texts are UTF-8.
    virtual void Out(std::string_view text) = 0;
    virtual void Err(std::string_view text) = 0;
    // One line of standard input without its line end; false at its end.
    virtual bool ReadLine(std::string* line) = 0;
    // During a long run: shows how far it got where someone watches, and
    // tells whether the user asked to stop (false).
    virtual bool Progress(std::size_t done) = 0;
    virtual void EndProgress() = 0;
};
