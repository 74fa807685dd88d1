#include "shortstr.h"

#include <gtest/gtest.h>

#include <string>

using Runtime::make_shortstr;
using Runtime::ShortStr;

namespace {

ShortStr filled(char c, size_t n) {
  return make_shortstr(std::string(n, c));
}

TEST(ShortStr, ConcatCutsThePieceThatCrossesTheMaximumAndDropsLaterOnes) {
  const ShortStr a = filled('a', 200), b = filled('b', 100), c = filled('c', 10);
  ShortStr r;
  Runtime::shortstr_concat_multi(r, 255, {&a, &b, &c});
  EXPECT_EQ(r.len, 255);
  EXPECT_EQ(r.view(), std::string(200, 'a') + std::string(55, 'b'));
}

TEST(ShortStr, ConcatIntoOneOfItsSourcesReadsTheSourceWhole) {
  ShortStr r = make_shortstr("abc");
  const ShortStr x = make_shortstr("XY");
  Runtime::shortstr_concat_multi(r, 255, {&x, &r, &r});
  EXPECT_EQ(r.view(), "XYabcabc");
}

TEST(ShortStr, ConcatWithSmallMaximum) {
  const ShortStr a = make_shortstr("Nem"), b = make_shortstr(" szin");
  ShortStr r;
  Runtime::shortstr_concat_multi(r, 5, {&a, &b});
  EXPECT_EQ(r.view(), "Nem s");
}

TEST(ShortStr, CopiesAreCutAtTheTargetMaximum) {
  struct Case {
    size_t source_len;
    uint8_t maximum;
    size_t expected_len;
  };
  const Case cases[] = {{255, 255, 255}, {255, 3, 3}, {0, 3, 0}, {2, 3, 2}, {10, 0, 0}};
  for (const Case& c : cases) {
    const ShortStr src = filled('x', c.source_len);
    ShortStr a = make_shortstr("old"), b = make_shortstr("old");
    Runtime::SHORTSTR_ASSIGN(c.maximum, src, a);
    Runtime::SHORTSTR_TO_SHORTSTR(c.maximum, src, b);
    EXPECT_EQ(a.view(), std::string(c.expected_len, 'x')) << c.source_len << "/" << +c.maximum;
    EXPECT_EQ(b.view(), a.view());
  }
}

TEST(ShortStr, LiteralLongerThan255IsCut) {
  EXPECT_EQ(make_shortstr(std::string(300, 'q')).len, 255);
}

}  // namespace
