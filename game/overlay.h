// Rankings shared by the in-game overlay and the game-over banner.
//
//   const int* topTen = TopTenOf(game);       // the current difficulty's top ten
//   int place = PlaceOf(game.score, topTen);  // 1..10, or 0 outside the table
//   Text(x, y, PlaceText(place), ...);        // "1st!", "2nd" .. "10th", or ""
#pragma once

#include <string_view>

class MyApp;

// The ordinal of n as Nth gives it ("1st" .. "30th"), as a view of a constant.
std::u16string_view NthView(int n);
// The ten best scores of the current difficulty, highest first.
const int* TopTenOf(const MyApp& game);
// MyNth's place: 1 + the first entry that the score reaches (a tie ranks
// above the entry), 0 when it reaches none.
int PlaceOf(int score, const int* topTen);
// MyNth's text for a place.
std::u16string_view PlaceText(int place);
