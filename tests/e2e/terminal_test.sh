#!/usr/bin/env bash
# What a person sees in a real terminal: pages, the deal, keys, and the terminal given back.
set -u
BIN=$1
. "$(dirname "$0")/lib.sh"

full="VII VIII IX X Also Felso Kiraly Asz "

# ---- The title page and the first step -------------------------------------------------------

start 80 40
wait_for_screen "Legrosszabb lapom:Tok Also"
check "title row" equals "$(row 1)" "$(printf '%32s' '')Kártyás program"
check "empty second row" equals "$(row 2)" ""
check "opening table heading" equals "$(row 3)" "Asztal:"
check "waits after step 1" equals "$(cursor)" "0,28"

start 80 25
wait_for_screen "Legrosszabb lapom:Tok Also"
expected_step1="Kihúzott kártya:Tok Also
Asztal:
  Makk:$full
 Piros:$full
   Tok:VII VIII IX X Felso Kiraly Asz 
  Zold:$full
Kéz:
  Makk:
 Piros:
   Tok:Also 
  Zold:
Legjobb lapom:Tok Also
Legrosszabb lapom:Tok Also
"
check "first step under the scrolled opening" equals "$(screen | sed -n '11,24p')" "$(printf '%s' "$expected_step1")"
check "opening scrolled by four rows" equals "$(row 1)" " Piros:$full"
check "row 25 empty" equals "$(row 25)" ""
check "cursor on row 25" equals "$(cursor)" "0,24"

# ---- 32 keys: the deal is done ----------------------------------------------------------------

for i in $(seq 31); do keys x; done
wait_for_screen "Zold Also"
expected_step32="Kihúzott kártya:Zold Also
Asztal:
  Makk:
 Piros:
   Tok:
  Zold:
Kéz:
  Makk:$full
 Piros:$full
   Tok:$full
  Zold:$full
Legjobb lapom:Zold Asz
Legrosszabb lapom:Makk VII
"
check "last step: table empty, hand full" equals "$(screen | sed -n '11,24p')" "$(printf '%s' "$expected_step32")"
keys x
sleep 0.3
check "still waiting before the closing page" equals "$(row 11)" "Kihúzott kártya:Zold Also"
keys x
wait_for_screen "Kártyakeverés"
check "closing page" equals "$(row 1)" "$(printf '%33s' '')Kártyakeverés"
check "closing page otherwise empty" equals "$(screen | sed -n '2,25p' | tr -d '\n')" ""
keys x
check "exit status 0 after 34 keys" equals "$(wait_for_status)" "0"
check "terminal settings as found" settings_unchanged

# ---- Keys: special keys count twice, typed-ahead keys all count -----------------------------

start 80 25
wait_for_screen "Legrosszabb lapom:Tok Also"
keys F1
wait_for_screen "Kihúzott kártya:Piros Also"
sleep 0.3
check "F1 satisfies two waits" equals "$(row 11)" "Kihúzott kártya:Piros Also"
keys Up Down F12  # six characters: steps 4 to 9
wait_for_screen "Kihúzott kártya:Zold Kiraly"
sleep 0.3
check "arrows and F12 count two each" equals "$(row 11)" "Kihúzott kártya:Zold Kiraly"
keys -l "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN"  # 40 keys typed ahead: all but the last end the run
check "typed-ahead keys all count" equals "$(wait_for_status)" "0"
check "terminal settings as found after typed-ahead keys" settings_unchanged

start 80 25
wait_for_screen "Legrosszabb lapom:Tok Also"
# Apart, so that Esc is not taken as an Alt prefix of the next key: steps 2 to 7.
for k in Enter Escape Tab BSpace C-s C-q; do
  keys "$k"
  sleep 0.2
done
wait_for_screen "Kihúzott kártya:Zold IX"
sleep 0.3
check "Enter, Esc, Tab, Backspace, Ctrl+S, Ctrl+Q are one key each" equals "$(row 11)" "Kihúzott kártya:Zold IX"

# ---- Ctrl+C ends at once and gives the terminal back ----------------------------------------

start 80 25
wait_for_screen "Legrosszabb lapom:Tok Also"
keys C-c
check "Ctrl+C ends with the signal's status" equals "$(wait_for_status)" "130"
check "terminal settings as found after Ctrl+C" settings_unchanged

# ---- A small terminal ---------------------------------------------------------------------------

start 30 6
wait_for_screen "Legrosszabb"
keys -l "$(printf 'k%.0s' $(seq 33))"
wait_for_screen "Kártyakeverés"
check "closing title cut at the right edge of 30 columns" equals "$(row 1)" "$(printf '%30s' '')"
keys k
check "30x6 run ends with status 0" equals "$(wait_for_status)" "0"
check "30x6 terminal settings as found" settings_unchanged

finish
