// A window for tests: it logs every call of the controller in order, answers
// game-over boxes from a script and notices drawing outside a drawing pass.
#pragma once

#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/window_services.h"

namespace lanterra::test {

struct BoxRecord {
  std::string text;
  std::string caption;
  GameResult result = GameResult::DRAW;
};

// Sounds and results by the names of their files, for log lines.
inline const char* NameOf(Sound sound) {
  constexpr const char* NAMES[] = {"select",        "refused",          "human-move",  "computer-move",
                                   "human-capture", "computer-capture", "human-check", "computer-check",
                                   "win",           "draw",             "loss",        "new-game"};
  return NAMES[int(sound)];
}
inline const char* NameOf(GameResult result) {
  return result == GameResult::WIN ? "win" : result == GameResult::DRAW ? "draw" : "loss";
}

class RecordingWindow : public WindowServices {
 public:
  // Log lines: "begin", "end", "board", "square 93 framed", "square 93 plain"
  // (board square in hex), "sound select", "box win", "undo on", "undo off",
  // "cursor wait", "cursor arrow".
  std::vector<std::string> log;
  std::vector<BoxRecord> boxes;
  // Answers for the coming boxes, front first; No once the script runs out.
  std::deque<Answer> answers;
  // Called while a box is open, as the window would repaint then.
  std::function<void()> onBox;
  int drawingDepth = 0;
  int misplacedDrawCalls = 0;  // paints outside BeginDrawing/EndDrawing, or unbalanced calls

  void BeginDrawing() override {
    if (drawingDepth != 0) ++misplacedDrawCalls;
    ++drawingDepth;
    log.push_back("begin");
  }
  void EndDrawing() override {
    if (drawingDepth != 1) ++misplacedDrawCalls;
    --drawingDepth;
    log.push_back("end");
  }
  void PaintBoard() override {
    if (drawingDepth != 1) ++misplacedDrawCalls;
    log.push_back("board");
  }
  void PaintSquare(Square sq, bool framed) override {
    if (drawingDepth != 1) ++misplacedDrawCalls;
    log.push_back(SquareLine(sq, framed));
  }
  void PlayEventSound(Sound sound) override {
    log.push_back(std::string("sound ") + NameOf(sound));
    sounds.push_back(sound);
  }
  Answer AskAboutResult(const char* text, const char* caption, GameResult result) override {
    log.push_back(std::string("box ") + NameOf(result));
    boxes.push_back({text, caption, result});
    if (onBox) onBox();
    if (answers.empty()) return Answer::NO;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void EnableUndo(bool enabled) override { log.push_back(enabled ? "undo on" : "undo off"); }
  void SetBusyCursor(bool busy) override { log.push_back(busy ? "cursor wait" : "cursor arrow"); }

  static std::string SquareLine(int sq, bool framed) {
    char line[32];
    std::snprintf(line, sizeof line, "square %02x %s", sq, framed ? "framed" : "plain");
    return line;
  }

  // The sounds in the order they were played.
  std::vector<Sound> Sounds() const { return sounds; }

  void Clear() {
    log.clear();
    boxes.clear();
    sounds.clear();
  }

 private:
  std::vector<Sound> sounds;
};

}  // namespace lanterra::test
