#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "capture.h"
#include "child.h"
#include "pakliun.h"
#include "random.h"

using FiguUnit::TFIGURA;
using KartyaUn::TKARTYA;
using PakliUn::THALMAZ;
using Runtime::make_shortstr;
using SzinUnit::TSZIN;
using namespace SzinUnit;
using namespace FiguUnit;

namespace {

TKARTYA card(TSZIN sz, TFIGURA f) {
  return {sz, f, false};
}

int count_real(const THALMAZ& p) {
  int n = 0;
  for (int sz = 0; sz <= 3; ++sz)
    for (int f = 0; f <= 7; ++f) n += p.LAPOK[sz][f];
  return n;
}

THALMAZ holding(std::initializer_list<TKARTYA> cards) {
  THALMAZ p{};
  PakliUn::URESPAKLI(p);
  for (const TKARTYA& k : cards) PakliUn::KOZETESZ(p, k);
  return p;
}

// ---- Membership
// ----------------------------------------------------------------------------------

TEST(PakliUn, FullAndEmptySetsLeaveSentinelsAloneAndSikerTrue) {
  THALMAZ p{};
  p.LAPOK[NEMSZIN][VII] = true;
  p.LAPOK[ZOLD][NEMFIGURA] = true;
  PakliUn::TELJESPAKLI(p);
  EXPECT_EQ(count_real(p), 32);
  EXPECT_FALSE(PakliUn::URESPAKLIE(p));
  EXPECT_TRUE(p.SIKER);
  EXPECT_TRUE(p.LAPOK[NEMSZIN][VII]);
  EXPECT_TRUE(p.LAPOK[ZOLD][NEMFIGURA]);

  PakliUn::URESPAKLI(p);
  EXPECT_EQ(count_real(p), 0);
  EXPECT_TRUE(PakliUn::URESPAKLIE(p));
  EXPECT_TRUE(p.SIKER);
  EXPECT_TRUE(p.LAPOK[NEMSZIN][VII]) << "sentinel entries are invisible and untouched";
  EXPECT_TRUE(p.LAPOK[ZOLD][NEMFIGURA]);
  EXPECT_EQ(PakliUn::MAXKARTYADB, 32);
}

TEST(PakliUn, SentinelCardsLandInTheMatrixButTheSetStaysEmpty) {
  const THALMAZ p = holding({card(NEMSZIN, ASZ), card(MAKK, NEMFIGURA)});
  EXPECT_TRUE(p.LAPOK[NEMSZIN][ASZ]);
  EXPECT_TRUE(p.LAPOK[MAKK][NEMFIGURA]);
  EXPECT_TRUE(PakliUn::URESPAKLIE(p));
}

TEST(PakliUn, OnlyFullOrEmptySetMakesSikerTrueAgain) {
  THALMAZ p = holding({card(PIROS, X)});
  THALMAZ before = p;
  PakliUn::ELVESZ(p, card(TOK, IX));  // absent
  EXPECT_FALSE(p.SIKER);
  EXPECT_EQ(std::memcmp(p.LAPOK, before.LAPOK, sizeof p.LAPOK), 0) << "matrix unchanged";

  PakliUn::KOZETESZ(p, card(TOK, IX));
  PakliUn::ELVESZ(p, card(TOK, IX));  // present: one entry cleared, SIKER left as it was
  EXPECT_FALSE(p.LAPOK[TOK][IX]);
  EXPECT_FALSE(p.SIKER);

  before = p;
  PakliUn::KOZETESZ(p, card(PIROS, X));  // already present
  EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0);

  PakliUn::URESPAKLI(p);
  EXPECT_TRUE(p.SIKER);
  PakliUn::ELVESZ(p, card(MAKK, VII));
  PakliUn::TELJESPAKLI(p);
  EXPECT_TRUE(p.SIKER);
}

TEST(PakliUn, ElveszOfPresentCardKeepsSikerTrue) {
  THALMAZ p{};
  PakliUn::TELJESPAKLI(p);
  PakliUn::ELVESZ(p, card(ZOLD, ALSO));
  EXPECT_TRUE(p.SIKER);
  EXPECT_EQ(count_real(p), 31);
  EXPECT_FALSE(p.LAPOK[ZOLD][ALSO]);
}

// ---- Best, worst and random card ------------------------------------------------------------

TEST(PakliUn, BestAndWorstCard) {
  struct Case {
    const char* what;
    THALMAZ set;
    TKARTYA best, worst;
  };
  THALMAZ full{};
  PakliUn::TELJESPAKLI(full);
  const Case cases[] = {
      {"full deck", full, card(ZOLD, ASZ), card(MAKK, VII)},
      {"suit outranks rank", holding({card(ZOLD, VII), card(MAKK, ASZ)}), card(ZOLD, VII),
       card(MAKK, ASZ)},
      {"one card", holding({card(PIROS, FELSO)}), card(PIROS, FELSO), card(PIROS, FELSO)},
      {"lowest only", holding({card(MAKK, VII)}), card(MAKK, VII), card(MAKK, VII)},
      {"highest only", holding({card(ZOLD, ASZ)}), card(ZOLD, ASZ), card(ZOLD, ASZ)},
  };
  for (Case c : cases) {
    TKARTYA k{NEMSZIN, NEMFIGURA, true};
    PakliUn::LEGJOBBLAP(c.set, k);
    EXPECT_EQ(k.SZIN, c.best.SZIN) << c.what;
    EXPECT_EQ(k.FIGURA, c.best.FIGURA) << c.what;
    EXPECT_TRUE(k.HIBA) << "HIBA keeps its value";
    PakliUn::LEGROSSZABBLAP(c.set, k);
    EXPECT_EQ(k.SZIN, c.worst.SZIN) << c.what;
    EXPECT_EQ(k.FIGURA, c.worst.FIGURA) << c.what;
    EXPECT_TRUE(c.set.SIKER);
  }
}

TEST(PakliUn, EmptySetLeavesTheCardUntouchedAndClearsSiker) {
  void (*const ops[])(THALMAZ&, TKARTYA&) = {PakliUn::LEGJOBBLAP, PakliUn::LEGROSSZABBLAP,
                                             PakliUn::VELETLENLAP};
  for (auto op : ops) {
    THALMAZ p = holding({card(NEMSZIN, VII)});  // only a sentinel entry
    TKARTYA k = card(PIROS, KIRALY);
    const int32_t mti = Runtime::MTI;
    op(p, k);
    EXPECT_EQ(k.SZIN, PIROS);
    EXPECT_EQ(k.FIGURA, KIRALY);
    EXPECT_FALSE(p.SIKER);
    EXPECT_EQ(Runtime::MTI, mti) << "no number drawn";
  }
}

TEST(PakliUn, RandomCardOfOneCardSetIsThatCard) {
  THALMAZ p = holding({card(TOK, VIII)});
  TKARTYA k{};
  PakliUn::VELETLENLAP(p, k);
  EXPECT_EQ(k.SZIN, TOK);
  EXPECT_EQ(k.FIGURA, VIII);
  EXPECT_TRUE(p.LAPOK[TOK][VIII]) << "the card stays in the set";
}

TEST(PakliUn, DealingTheFullDeckFollowsTheFixedOrder) {
  const TKARTYA expected[32] = {
      card(TOK, ALSO),    card(TOK, KIRALY),   card(PIROS, ALSO),  card(TOK, X),
      card(PIROS, IX),    card(ZOLD, VII),     card(ZOLD, IX),     card(PIROS, X),
      card(ZOLD, KIRALY), card(MAKK, IX),      card(MAKK, FELSO),  card(ZOLD, ASZ),
      card(ZOLD, VIII),   card(ZOLD, X),       card(ZOLD, FELSO),  card(MAKK, ALSO),
      card(TOK, VII),     card(PIROS, VIII),   card(TOK, VIII),    card(PIROS, ASZ),
      card(MAKK, ASZ),    card(TOK, FELSO),    card(MAKK, KIRALY), card(PIROS, FELSO),
      card(TOK, IX),      card(MAKK, X),       card(MAKK, VIII),   card(TOK, ASZ),
      card(PIROS, VII),   card(PIROS, KIRALY), card(MAKK, VII),    card(ZOLD, ALSO)};
  Runtime::RANDSEED = 0;  // the stream a run starts with
  Runtime::GENRAND_MT19937();
  Runtime::RANDSEED = 0;
  THALMAZ table{};
  PakliUn::TELJESPAKLI(table);
  for (int i = 0; i < 32; ++i) {
    TKARTYA k{};
    PakliUn::VELETLENLAP(table, k);
    EXPECT_EQ(k.SZIN, expected[i].SZIN) << "card " << i + 1;
    EXPECT_EQ(k.FIGURA, expected[i].FIGURA) << "card " << i + 1;
    PakliUn::ELVESZ(table, k);
  }
  EXPECT_TRUE(PakliUn::URESPAKLIE(table));
  EXPECT_TRUE(table.SIKER);
  EXPECT_EQ(Runtime::MTI, 290) << "145 attempts of two numbers";
}

// ---- Listing --------------------------------------------------------------------------------

TEST(PakliUn, Listings) {
  THALMAZ full{};
  PakliUn::TELJESPAKLI(full);
  const std::string all = "VII VIII IX X Also Felso Kiraly Asz ";
  struct Case {
    const char* heading;
    THALMAZ set;
    std::string expected;
  };
  const Case cases[] = {
      {"Asztal:", full,
       "Asztal:\r\n  Makk:" + all + "\r\n Piros:" + all + "\r\n   Tok:" + all +
           "\r\n  Zold:" + all + "\r\n"},
      {"K\x82z:", holding({}), "K\x82z:\r\n  Makk:\r\n Piros:\r\n   Tok:\r\n  Zold:\r\n"},
      {"K\x82z:", holding({card(TOK, ALSO)}),
       "K\x82z:\r\n  Makk:\r\n Piros:\r\n   Tok:Also \r\n  Zold:\r\n"},
      {"", holding({card(NEMSZIN, ASZ), card(PIROS, NEMFIGURA)}),
       "\r\n  Makk:\r\n Piros:\r\n   Tok:\r\n  Zold:\r\n"},
      {"h", holding({card(MAKK, ASZ), card(MAKK, VII), card(MAKK, X)}),
       "h\r\n  Makk:VII X Asz \r\n Piros:\r\n   Tok:\r\n  Zold:\r\n"},
  };
  for (const Case& c : cases) {
    CapturedStream out(&Runtime::TEXT_OUTPUT);
    PakliUn::KIPAKLI(make_shortstr(c.heading), c.set);
    EXPECT_EQ(out.text, c.expected) << c.heading;
  }
}

// ---- Bad cards stop the program -------------------------------------------------------------

const Runtime::Module kRuntimeOnly[] = {Runtime::kCoreModule, Runtime::kSupportModule};

TEST(PakliUn, CardOutsideTheMatrixStopsWith201) {
  void (*const ops[])(THALMAZ&, const TKARTYA&) = {PakliUn::KOZETESZ, PakliUn::ELVESZ};
  const TKARTYA bad[] = {card(SzinUnit::KOD2SZIN(5), VII), card(MAKK, FiguUnit::KOD2FIGURA(9)),
                         card(SzinUnit::KOD2SZIN(-1), VII)};
  for (auto op : ops) {
    for (const TKARTYA& k : bad) {
      const ChildResult r = run_child([&] {
        Runtime::start_modules(kRuntimeOnly);
        THALMAZ p{};
        op(p, k);
      });
      EXPECT_EQ(r.exit_code, 201);
      EXPECT_EQ(r.out.substr(0, 18), "Runtime error 201 ");
    }
  }
}

}  // namespace
