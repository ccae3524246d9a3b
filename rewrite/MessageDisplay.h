#pragma once

#include <string_view>

#include "Failure.h"

namespace kelbrin {

// How a run speaks to the user. Each front end words failures its own way.
class MessageDisplay {
 public:
  virtual ~MessageDisplay() = default;
  virtual void ShowCompletion(std::string_view utf8Text) = 0;
  virtual void ShowFailure(const PassFailure& failure) = 0;
};

}  // namespace kelbrin
