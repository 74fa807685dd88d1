#include <gtest/gtest.h>

#include <string>

#include "capture.h"
#include "child.h"
#include "kartyaun.h"

using FiguUnit::TFIGURA;
using KartyaUn::TKARTYA;
using Runtime::make_shortstr;
using SzinUnit::TSZIN;

namespace {

const Runtime::ShortStr kEmpty;

TEST(SzinUnit, NamesOfEveryMemberIncludingTheSentinel) {
  const std::pair<TSZIN, const char*> cases[] = {{SzinUnit::MAKK, "Makk"},
                                                 {SzinUnit::PIROS, "Piros"},
                                                 {SzinUnit::TOK, "Tok"},
                                                 {SzinUnit::ZOLD, "Zold"},
                                                 {SzinUnit::NEMSZIN, "Nem szin"}};
  for (const auto& [sz, name] : cases) EXPECT_EQ(SzinUnit::SZIN2STRING(sz).view(), name);
  EXPECT_EQ(SzinUnit::MINSZIN, 0);
  EXPECT_EQ(SzinUnit::MAXSZIN, 3);
}

TEST(FiguUnit, NamesOfEveryMemberIncludingTheSentinel) {
  const char* names[] = {"VII", "VIII", "IX", "X", "Also", "Felso", "Kiraly", "Asz", "Nem figura"};
  for (int f = 0; f <= FiguUnit::NEMFIGURA; ++f) {
    EXPECT_EQ(FiguUnit::FIGURA2STRING(static_cast<TFIGURA>(f)).view(), names[f]);
  }
  EXPECT_EQ(FiguUnit::MINFIGURA, 0);
  EXPECT_EQ(FiguUnit::MAXFIGURA, 7);
}

TEST(CardVocabulary, CodesMapOntoMembersInOrderWithoutAnyCheck) {
  const std::pair<int16_t, int32_t> suit_cases[] = {{0, 0}, {2, 2}, {4, 4}, {5, 5}, {-1, -1}};
  for (const auto& [code, value] : suit_cases) {
    EXPECT_EQ(static_cast<int32_t>(SzinUnit::KOD2SZIN(code)), value) << code;
  }
  const std::pair<int16_t, int32_t> rank_cases[] = {{4, 4}, {8, 8}, {9, 9}, {-32768, -32768}};
  for (const auto& [code, value] : rank_cases) {
    EXPECT_EQ(static_cast<int32_t>(FiguUnit::KOD2FIGURA(code)), value) << code;
  }
  EXPECT_EQ(SzinUnit::KOD2SZIN(2), SzinUnit::TOK);
  EXPECT_EQ(FiguUnit::KOD2FIGURA(4), FiguUnit::ALSO);
}

TEST(CardVocabulary, KiJoinsTextsAndCutsAt255) {
  struct Case {
    std::string szov;
    bool suit;  // SzinUnit::KI with PIROS, else FiguUnit::KI with X
    std::string uto;
    std::string expected;
  };
  const Case cases[] = {
      {"", true, "", "Piros"},
      {" ", false, "", " X"},
      {std::string(252, 'a'), true, "zz", std::string(252, 'a') + "Pir"},
      {std::string(255, 'a'), true, "zz", std::string(255, 'a')},
      {"<", false, ">\r\n", "<X>\r\n"},
  };
  for (const Case& c : cases) {
    CapturedStream out(&Runtime::TEXT_OUTPUT);
    if (c.suit) {
      SzinUnit::KI(make_shortstr(c.szov), SzinUnit::PIROS, make_shortstr(c.uto));
    } else {
      FiguUnit::KI(make_shortstr(c.szov), FiguUnit::X, make_shortstr(c.uto));
    }
    EXPECT_EQ(out.text, c.expected);
    EXPECT_EQ(out.pieces.size(), 1u) << "one statement";
  }
}

TEST(KartyaUn, CardLines) {
  struct Case {
    const char* szov;
    TKARTYA card;
    bool crlf;
    std::string expected;
  };
  // Texts are code page 852: \xA3 is u acute, \xA0 a acute.
  const Case cases[] = {
      {"Kih\xA3zott k\xA0rtya:",
       {SzinUnit::TOK, FiguUnit::ALSO, false},
       true,
       "Kih\xA3zott k\xA0rtya:Tok Also\r\n"},
      {"Legjobb lapom:",
       {SzinUnit::ZOLD, FiguUnit::ASZ, false},
       true,
       "Legjobb lapom:Zold Asz\r\n"},
      {"Legrosszabb lapom:",
       {SzinUnit::MAKK, FiguUnit::VII, false},
       true,
       "Legrosszabb lapom:Makk VII\r\n"},
      {"Kih\xA3zott k\xA0rtya:",
       {SzinUnit::PIROS, FiguUnit::X, false},
       true,
       "Kih\xA3zott k\xA0rtya:Piros X\r\n"},
      {"Kih\xA3zott k\xA0rtya:",
       {SzinUnit::TOK, FiguUnit::KIRALY, false},
       true,
       "Kih\xA3zott k\xA0rtya:Tok Kiraly\r\n"},
      {"", {SzinUnit::NEMSZIN, FiguUnit::NEMFIGURA, false}, false, "Nem szin Nem figura"},
      {"", {SzinUnit::MAKK, FiguUnit::VII, true}, false, "Makk VII"},  // HIBA is not printed
  };
  for (const Case& c : cases) {
    CapturedStream out(&Runtime::TEXT_OUTPUT);
    const TKARTYA before = c.card;
    KartyaUn::KI(make_shortstr(c.szov), c.card, c.crlf ? KartyaUn::CRLF : kEmpty);
    EXPECT_EQ(out.text, c.expected);
    EXPECT_EQ(c.card.SZIN, before.SZIN);
    EXPECT_EQ(c.card.FIGURA, before.FIGURA);
  }
}

TEST(KartyaUn, LongLeadingTextIsNotCutAndNamesFollowInFull) {
  CapturedStream out(&Runtime::TEXT_OUTPUT);
  const std::string lead(255, 'L');
  KartyaUn::KI(make_shortstr(lead), {SzinUnit::NEMSZIN, FiguUnit::NEMFIGURA, false},
               KartyaUn::CRLF);
  EXPECT_EQ(out.text, lead + "Nem szin Nem figura\r\n");
  // Four statements: the 255 characters, the suit, the rank, the line end.
  EXPECT_EQ(out.pieces, (std::vector<size_t>{255, 8, 11, 2}));
}

// ---- Bad codes stop the program at their first checked use ----------------------------------

const Runtime::Module kRuntimeOnly[] = {Runtime::kCoreModule, Runtime::kSupportModule};

TEST(CardVocabulary, BadCodeStopsWith201AtFirstUseWritingNothingOfThatStatement) {
  struct Case {
    const char* what;
    void (*body)();
    std::string written_before_report;
  };
  const Case cases[] = {
      {"suit 5 to SZIN2STRING", [] { SzinUnit::SZIN2STRING(SzinUnit::KOD2SZIN(5)); }, ""},
      {"suit -1 to KI", [] { SzinUnit::KI(make_shortstr("lead"), SzinUnit::KOD2SZIN(-1), kEmpty); },
       ""},
      {"rank 9 to FIGURA2STRING", [] { FiguUnit::FIGURA2STRING(FiguUnit::KOD2FIGURA(9)); }, ""},
      {"card with suit 5",
       [] {
         KartyaUn::KI(make_shortstr("lead:"), {SzinUnit::KOD2SZIN(5), FiguUnit::VII, false},
                      KartyaUn::CRLF);
       },
       "lead:"},
      {"card with rank 9",
       [] {
         KartyaUn::KI(make_shortstr("lead:"), {SzinUnit::TOK, FiguUnit::KOD2FIGURA(9), false},
                      KartyaUn::CRLF);
       },
       "lead:Tok"},
  };
  for (const Case& c : cases) {
    const ChildResult r = run_child([&] {
      Runtime::start_modules(kRuntimeOnly);
      c.body();
    });
    EXPECT_EQ(r.exit_code, 201) << c.what;
    EXPECT_EQ(r.out.substr(0, c.written_before_report.size() + 14),
              c.written_before_report + "Runtime error ")
        << c.what;
  }
}

}  // namespace
