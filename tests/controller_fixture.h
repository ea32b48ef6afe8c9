// Shared set-up for the controller tests: one engine for the whole binary,
// a recording window and helpers that click in ICCS coordinates.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/game_controller.h"
#include "app/game_texts.h"
#include "engine/book.h"
#include "notation/fen_iccs.h"
#include "rules/game_end.h"
#include "tests/recording_window.h"

namespace lanterra::test {

class ControllerTest : public ::testing::Test {
 protected:
  // The engine holds a large table; one serves every test, reseeded and
  // with the book off, so replies depend only on the position.
  static Engine& SharedEngine() {
    static Engine engine(EmbeddedBookData(), 20260);
    return engine;
  }

  RecordingWindow window;
  GameController game{window, SharedEngine()};

  void SetUp() override {
    SharedEngine().Seed(20260);
    SharedEngine().UseBook(false);
  }

  // Lays a position out as the game in progress and clears the log, so that
  // a test sees only its own calls.
  void Load(const char* fen, bool humanPlaysBlack = false) {
    Position pos;
    std::string error;
    ASSERT_TRUE(ParseFen(fen, pos, error)) << error;
    game.Begin(pos, humanPlaysBlack);
    window.Clear();
  }

  // Lays pos out in place of the current position, on the same side.
  void Relay(const Position& pos) {
    game.Begin(pos, game.Ui().flipped);
    window.Clear();
  }

  // Plays moves on the current position, outside the controller, to give it
  // a history.
  void Play(const std::vector<const char*>& moves) {
    Position pos = game.CurrentPosition();
    for (const char* text : moves) {
      ASSERT_TRUE(pos.DoMove(ParseIccsMove(text))) << text;
    }
    Relay(pos);
  }

  static Square Sq(const char* iccs) { return ParseIccsSquare(iccs); }

  // Clicks a board square, mapped to the screen square showing it.
  void Click(const char* iccs) {
    const Square sq = Sq(iccs);
    game.OnBoardClick(game.Ui().flipped ? FlipSquare(sq) : sq);
  }
  void ClickMove(const char* iccs) {
    const std::string text = iccs;
    Click(text.substr(0, 2).c_str());
    Click(text.substr(2, 2).c_str());
  }

  static std::string Framed(const char* iccs) { return RecordingWindow::SquareLine(Sq(iccs), true); }
  static std::string Plain(const char* iccs) { return RecordingWindow::SquareLine(Sq(iccs), false); }
  static std::string Framed(int sq) { return RecordingWindow::SquareLine(sq, true); }
  static std::string Plain(int sq) { return RecordingWindow::SquareLine(sq, false); }

  // The message a game-over box shows for one of the texts.
  static std::string GameOverMessage(const char* text) {
    return std::string(text) + TEXT_PLAY_AGAIN_QUESTION;
  }

  // Index of the first log line equal to line at or after from, or -1.
  int Find(const std::string& line, size_t from = 0) const {
    auto it = std::find(window.log.begin() + std::min(from, window.log.size()), window.log.end(), line);
    return it == window.log.end() ? -1 : int(it - window.log.begin());
  }
};

// Replays a record from its start, judging after every move as the game
// does, and returns the last judgement.
inline Ending Replay(const GameRecord& record, Position& pos) {
  pos = record.start;
  Ending ending = Ending::NONE;
  for (const Move mv : record.moves) {
    EXPECT_EQ(ending, Ending::NONE) << "a move after the end";
    EXPECT_TRUE(pos.IsPseudoLegal(mv) && pos.DoMove(mv));
    ending = JudgeMove(pos);
  }
  return ending;
}

inline void ExpectSamePosition(const Position& a, const Position& b) {
  EXPECT_EQ(ToFen(a), ToFen(b));
  EXPECT_EQ(a.zobrist.key, b.zobrist.key);
  EXPECT_EQ(a.historyCount, b.historyCount);
}

using Log = std::vector<std::string>;
using Sounds = std::vector<Sound>;

}  // namespace lanterra::test
