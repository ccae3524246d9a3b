#include <gtest/gtest.h>

#include "FullStop.h"

namespace kelbrin::gui {
namespace {

TEST(WithFullStop, AddsOneWhereTheLastCharacterSortsAfterTheStop) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"Disk full", "Disk full."},
      {"Error 5", "Error 5."},
      {"Done.", "Done."},
      {"Stop!", "Stop!"},
      {"a,", "a,"},         // ',' sorts before '.'
      {"a/", "a/."},        // '/' sorts after it
      {"エラー", "エラー."},  // UTF-8: the last byte is above '.'
      {"\x95\x5c", "\x95\x5c."},  // code page 932, trail byte 0x5C
      {"\x83\x40", "\x83\x40."},  // the lowest trail byte
  };
  for (const auto& [message, shown] : cases) EXPECT_EQ(WithFullStop(message), shown) << message;
}

}  // namespace
}  // namespace kelbrin::gui
