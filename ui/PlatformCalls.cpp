#include "PlatformCalls.h"

namespace kelbrin::ui {

PlatformCalls& Platform() {
  static PlatformCalls calls;
  return calls;
}

}  // namespace kelbrin::ui
