// A window for tests: it logs every call of the controller in order, answers
// game-over boxes and the clipboard from a script and notices drawing outside
// a drawing pass.
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
  GameResult result = GameResult::DRAW;  // game-over boxes
  BoxIcon icon = BoxIcon::PROGRAM;       // boxes with one OK button
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
inline const char* NameOf(BoxIcon icon) {
  constexpr const char* NAMES[] = {"program", "quote", "information", "warning"};
  return NAMES[int(icon)];
}

class RecordingWindow : public WindowServices {
 public:
  // Log lines: "begin", "end", "board", "square 93 framed", "square 93 plain"
  // (board square in hex), "sound select", "beep", "box win" (game over),
  // "message quote" (one OK button), "undo on", "undo off", "marks 2 on"
  // (level, sound), "cursor wait", "cursor arrow", "page <address>", "copy".
  std::vector<std::string> log;
  std::vector<BoxRecord> boxes;     // game-over boxes
  std::vector<BoxRecord> messages;  // boxes with one OK button
  // Answers for the coming game-over boxes, front first; No once the script
  // runs out.
  std::deque<Answer> answers;
  // Whether the clipboard takes the text, and the text last put there.
  bool clipboardWorks = true;
  std::string copied;
  // Called while a box is open, as the window would repaint then.
  std::function<void()> onBox;
  // Called where a front end would save the game; kept out of the log, which
  // the tests compare line for line.
  std::function<void()> onChanged;
  int changes = 0;
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
  void Beep() override { log.push_back("beep"); }
  Answer OnGameOver(const char* text, const char* caption, GameResult result) override {
    log.push_back(std::string("box ") + NameOf(result));
    boxes.push_back({text, caption, result});
    if (onBox) onBox();
    if (answers.empty()) return Answer::NO;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowMessage(const char* text, const char* caption, BoxIcon icon) override {
    log.push_back(std::string("message ") + NameOf(icon));
    messages.push_back({text, caption, GameResult::DRAW, icon});
  }
  void EnableUndo(bool enabled) override { log.push_back(enabled ? "undo on" : "undo off"); }
  void ShowMenuMarks(int level, bool soundOn) override {
    log.push_back("marks " + std::to_string(level) + (soundOn ? " on" : " off"));
  }
  void SetBusyCursor(bool busy) override { log.push_back(busy ? "cursor wait" : "cursor arrow"); }
  void OpenWebPage(const std::string& address) override { log.push_back("page " + address); }
  bool CopyText(const std::string& text) override {
    log.push_back("copy");
    copied = text;
    return clipboardWorks;
  }

  void GameChanged() override {
    ++changes;
    if (onChanged) onChanged();
  }

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
    messages.clear();
    sounds.clear();
    copied.clear();
  }

 private:
  std::vector<Sound> sounds;
};

}  // namespace lanterra::test
