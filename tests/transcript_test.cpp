// The whole program run with standard input and output not terminals: its transcript, line by
// line, against an expectation built here from the deal's tables.
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "child.h"

namespace {

const char* const kSuits[] = {"Makk", "Piros", "Tok", "Zold"};
const char* const kRanks[] = {"VII", "VIII", "IX", "X", "Also", "Felso", "Kiraly", "Asz"};
enum Suit { MAKK, PIROS, TOK, ZOLD };
enum Rank { VII, VIII, IX, X, ALSO, FELSO, KIRALY, ASZ };

struct Card {
  int suit, rank;
};

// The fixed deal order.
const Card kDeal[32] = {
    {TOK, ALSO},  {TOK, KIRALY}, {PIROS, ALSO},  {TOK, X},     {PIROS, IX},    {ZOLD, VII},
    {ZOLD, IX},   {PIROS, X},    {ZOLD, KIRALY}, {MAKK, IX},   {MAKK, FELSO},  {ZOLD, ASZ},
    {ZOLD, VIII}, {ZOLD, X},     {ZOLD, FELSO},  {MAKK, ALSO}, {TOK, VII},     {PIROS, VIII},
    {TOK, VIII},  {PIROS, ASZ},  {MAKK, ASZ},    {TOK, FELSO}, {MAKK, KIRALY}, {PIROS, FELSO},
    {TOK, IX},    {MAKK, X},     {MAKK, VIII},   {TOK, ASZ},   {PIROS, VII},   {PIROS, KIRALY},
    {MAKK, VII},  {ZOLD, ALSO}};

// The hand's best and worst card by step: each entry holds from its first step on.
struct From {
  int step;
  Card card;
};
const From kBest[] = {{1, {TOK, ALSO}}, {2, {TOK, KIRALY}},  {6, {ZOLD, VII}},
                      {7, {ZOLD, IX}},  {9, {ZOLD, KIRALY}}, {12, {ZOLD, ASZ}}};
const From kWorst[] = {{1, {TOK, ALSO}}, {3, {PIROS, ALSO}}, {5, {PIROS, IX}},
                       {10, {MAKK, IX}}, {27, {MAKK, VIII}}, {31, {MAKK, VII}}};

template <size_t N>
Card at_step(const From (&table)[N], int step) {
  Card c = table[0].card;
  for (const From& f : table)
    if (step >= f.step) c = f.card;
  return c;
}

using Set = std::array<std::array<bool, 8>, 4>;

// A listing as a reader sees it: heading, then each suit right-aligned in 6 columns, a colon and
// the ranks present, each followed by a blank.
void listing(std::vector<std::string>& out, const std::string& heading, const Set& set) {
  out.push_back(heading);
  for (int s = 0; s < 4; ++s) {
    std::string line = std::string(6 - std::string(kSuits[s]).size(), ' ') + kSuits[s] + ":";
    for (int r = 0; r < 8; ++r)
      if (set[s][r]) line += std::string(kRanks[r]) + " ";
    out.push_back(line);
  }
}

std::string name(const Card& c) {
  return std::string(kSuits[c.suit]) + " " + kRanks[c.rank];
}

// In UTF-8: the program's accented letters as a UTF-8 terminal shows them.
const std::string kTable = "Asztal:";
const std::string kHand = "K\xc3\xa9z:";

std::vector<std::string> expected_transcript() {
  std::vector<std::string> out;
  out.push_back(std::string(32, ' ') + "K\xc3\xa1rty\xc3\xa1s program");
  out.push_back("");
  Set table{}, hand{};
  for (auto& row : table) row.fill(true);
  listing(out, kTable, table);
  out.push_back("");
  listing(out, kHand, hand);
  out.push_back("");
  for (int step = 1; step <= 32; ++step) {
    const Card c = kDeal[step - 1];
    out.push_back("Kih\xc3\xbazott k\xc3\xa1rtya:" + name(c));
    table[c.suit][c.rank] = false;
    listing(out, kTable, table);
    hand[c.suit][c.rank] = true;
    listing(out, kHand, hand);
    out.push_back("Legjobb lapom:" + name(at_step(kBest, step)));
    out.push_back("Legrosszabb lapom:" + name(at_step(kWorst, step)));
    out.push_back("");
  }
  // The closing page: a form feed for the cleared screen, then the centred title.
  out.push_back("\f" + std::string(33, ' ') + "K\xc3\xa1rtyakever\xc3\xa9s");
  return out;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(Transcript, WholeRunLineByLine) {
  const std::string out =
      shell_output("LC_ALL=C.UTF-8 " KARTYAS_BIN " </dev/null; echo \"status=$?\"");
  const std::vector<std::string> got = lines_of(out);
  std::vector<std::string> want = expected_transcript();
  want.push_back("status=0");
  ASSERT_EQ(got.size(), want.size()) << out.substr(0, 2000);
  for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(got[i], want[i]) << "line " << i + 1;
  EXPECT_EQ(out.find('\r'), std::string::npos) << "line ends are single line feeds";
  EXPECT_EQ(want.size(), 14u + 32 * 14 + 1 + 1);
}

TEST(Transcript, KeysFromAFileAreCountedAndTheEndReleasesTheRest) {
  // Three keys, one of them special (F1 gives two characters), then the input ends.
  const std::string out =
      shell_output("bash -c 'set -o pipefail; printf \"a\\033OPb\" | LC_ALL=C.UTF-8 " KARTYAS_BIN
                   " | tail -n 1'; echo \"status=$?\"");
  EXPECT_EQ(out, "\f" + std::string(33, ' ') + "K\xc3\xa1rtyakever\xc3\xa9s\nstatus=0\n");
}

TEST(Transcript, CLocaleIsTakenAsUtf8AndSingleByteLocaleGetsItsOwnBytes) {
  const std::string utf8 = shell_output("LC_ALL=C " KARTYAS_BIN " </dev/null | head -n 1");
  EXPECT_EQ(utf8, std::string(32, ' ') + "K\xc3\xa1rty\xc3\xa1s program\n");
  // A single-byte locale of our own, so that no system locale has to be installed.
  const std::string dir = testing::TempDir() + "kartyas-locale";
  if (shell_output("mkdir -p " + dir + " && localedef -f ISO-8859-2 -i hu_HU " + dir +
                   "/hu_HU.ISO-8859-2 >/dev/null 2>&1; echo $?") != "0\n") {
    GTEST_SKIP() << "localedef cannot make an ISO-8859-2 locale here";
  }
  const std::string latin2 =
      shell_output("LOCPATH=" + dir + " LC_ALL=hu_HU.ISO-8859-2 " + std::string(KARTYAS_BIN) +
                   " </dev/null | head -n 9 | tail -n 1");
  EXPECT_EQ(latin2, "K\xe9z:\n");
}

}  // namespace
