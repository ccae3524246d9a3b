#include "FullStop.h"

namespace kelbrin::gui {

std::string WithFullStop(std::string_view message) {
  std::string shown(message);
  if (!shown.empty() && static_cast<unsigned char>(shown.back()) > '.') shown += '.';
  return shown;
}

}  // namespace kelbrin::gui
