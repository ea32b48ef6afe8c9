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
  unsigned style = 0;
  int iconId = 0;
};

class RecordingWindow : public WindowServices {
 public:
  // Log lines: "begin", "end", "board", "square 93 framed", "square 93 plain"
  // (board square in hex), "sound 300", "box 108", "undo on", "undo off",
  // "cursor wait", "cursor arrow".
  std::vector<std::string> log;
  std::vector<BoxRecord> boxes;
  // Answers for the coming boxes, front first; No once the script runs out.
  std::deque<int> answers;
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
  void PlayEventSound(int id) override { log.push_back("sound " + std::to_string(id)); }
  int ShowMessageBox(const char* text, const char* caption, unsigned style, int iconId) override {
    log.push_back("box " + std::to_string(iconId));
    boxes.push_back({text, caption, style, iconId});
    if (onBox) onBox();
    if (answers.empty()) return ANSWER_NO;
    const int answer = answers.front();
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

  // The sound ids in the order they were played.
  std::vector<int> Sounds() const {
    std::vector<int> ids;
    for (const std::string& line : log) {
      if (line.rfind("sound ", 0) == 0) ids.push_back(std::stoi(line.substr(6)));
    }
    return ids;
  }

  void Clear() {
    log.clear();
    boxes.clear();
  }
};

}  // namespace lanterra::test
