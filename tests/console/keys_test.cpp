#include "console/keys.hpp"

#include <gtest/gtest.h>

#include <string>

namespace ferrolux {
namespace {

// The screens' sets of allowed keys are written in these texts.
TEST(Key, TextIsTheTypedByteOrNulAndTheScanCode) {
  struct Case {
    Key key;
    std::string text;
  };
  const Case cases[] = {
      {'y', "y"},
      {'\xe9', "\xe9"},
      {keys::kEscape, "\x1b"},
      {keys::kEnter, "\r"},
      {keys::kUp, std::string("\0H", 2)},
      {keys::Function(1), std::string("\0;", 2)},
      {keys::Function(10), std::string("\0D", 2)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.key.Text(), c.text) << testing::PrintToString(c.text);
}

TEST(Key, ATypedByteIsNeverTheKeyWithThatScanCode) {
  EXPECT_NE(Key('H'), keys::kUp);
  EXPECT_TRUE(Key('H').IsTyped());
  EXPECT_FALSE(keys::kUp.IsTyped());
}

}  // namespace
}  // namespace ferrolux
