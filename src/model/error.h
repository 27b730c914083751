#pragma once

#include <expected>
#include <string>

namespace blok {

// A failure the user should read: it names the file (or the input) and the reason.
struct Error {
  std::string message;
};

template <typename T>
using Result = std::expected<T, Error>;

inline std::unexpected<Error> Fail(std::string message) {
  return std::unexpected<Error>(Error{std::move(message)});
}

}  // namespace blok
