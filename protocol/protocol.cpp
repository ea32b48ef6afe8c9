#include "protocol/protocol.h"

#include <cstring>
#include <ctime>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/book.h"
#include "notation/fen_iccs.h"
#include "notation/number.h"
#include "notation/text.h"
#include "rules/long_game.h"

namespace lanterra {

namespace {

// What the two protocols call things. Squares need no entry: Pikafish's
// a0-i9 are the ICCS coordinates UCCI uses.
struct DialectTable {
  std::string_view hello;      // the command that opens a session
  std::string_view ok;         // the answer that ends the option list
  std::string_view bye;        // the answer to quit, if the protocol has one
  std::string_view noMove;     // the answer to go without a legal move
  std::string_view levelName;
  std::string_view bookName;
  std::string_view seedName;
  bool uciOptions;             // option lines as "option name X type ..."
  bool scoreUnits;             // scores as "cp N" / "mate N" rather than bare
};

constexpr DialectTable DIALECTS[] = {
    {"ucci", "ucciok", "bye", "nobestmove", "level", "usebook", "seed", false, false},
    {"uci", "uciok", "", "bestmove (none)", "Level", "OwnBook", "Seed", true, true},
};
static_assert(std::size(DIALECTS) == 2);

using Words = std::vector<std::string_view>;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

Words SplitWords(std::string_view line) {
  Words words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string Joined(const Words& words, size_t first, size_t last) {
  std::string text;
  for (size_t i = first; i < last && i < words.size(); ++i) {
    if (!text.empty()) text += ' ';
    text += words[i];
  }
  return text;
}

// Reads one line. Returns false at the end of input. Of a line longer than
// MAX_COMMAND_LINE bytes only one byte more is kept, enough for the session
// to refuse it; the rest is dropped.
bool ReadCommandLine(std::istream& in, std::string& line) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  if (buffer == nullptr) return false;
  bool any = false;
  for (;;) {
    int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) return any;
    any = true;
    if (c == '\n') return true;
    if (line.size() <= MAX_COMMAND_LINE) line += char(c);
  }
}

}  // namespace

class ProtocolSession::Impl {
 public:
  Impl(std::ostream& out, Dialect dialect, const ProtocolCaps& caps)
      : out(out),
        names(DIALECTS[dialect == Dialect::UCI ? 1 : 0]),
        caps(caps),
        engine(EmbeddedBookData(), uint32_t(std::time(nullptr))) {
    engine.SetLevel(3);
    position.SetUpStart(0);
  }

  // Returns false when the session ends.
  bool Handle(std::string_view line) {
    if (line.size() > MAX_COMMAND_LINE) {
      Error("line longer than " + std::to_string(MAX_COMMAND_LINE) + " bytes ignored");
      return true;
    }
    Words words = SplitWords(line);
    if (words.empty()) return true;
    std::string_view command = words[0];
    if (command == names.hello) {
      Hello();
    } else if (command == "isready") {
      Say("readyok");
    } else if (command == "setoption") {
      SetOption(words);
    } else if (command == "position") {
      SetPosition(words);
    } else if (command == "go") {
      Go(words);
    } else if (command == "ucinewgame" || command == "stop" || command == "ponderhit") {
      // Searches run to completion before the next command is read, and no
      // state is kept between decisions, so these have nothing to do.
    } else if (command == "d") {
      Say("info string fen " + ToFen(position));
    } else if (command == "quit") {
      if (!names.bye.empty()) Say(names.bye);
      return false;
    } else {
      Error("unknown command '" + Printable(command) + "'");
    }
    return true;
  }

  const Position& CurrentPosition() const { return position; }

 private:
  void Error(const std::string& text) { Say("info string error: " + text); }

  void Say(std::string_view text) { out << text << '\n' << std::flush; }

  void Hello() {
    Say("id name Lanterra");
    Say("id author the Lanterra developers");
    std::string level = std::to_string(engine.Level());
    if (names.uciOptions) {
      Say("option name UCI_Variant type combo default xiangqi var xiangqi");
      Say("option name " + std::string(names.levelName) + " type spin default " + level + " min 0 max 6");
      Say("option name " + std::string(names.bookName) + " type check default " + (engine.UsesBook() ? "true" : "false"));
      Say("option name " + std::string(names.seedName) + " type string default clock");
    } else {
      Say("option " + std::string(names.levelName) + " type spin min 0 max 6 default " + level);
      Say("option " + std::string(names.bookName) + " type check default " + (engine.UsesBook() ? "true" : "false"));
      Say("option " + std::string(names.seedName) + " type string default clock");
    }
    Say(names.ok);
  }

  // Both "setoption name N value V" (UCI) and "setoption N V" (UCCI) are
  // read in either dialect; option names are matched without case.
  void SetOption(const Words& words) {
    std::string name, value;
    if (words.size() >= 2 && words[1] == "name") {
      size_t valueAt = 2;
      while (valueAt < words.size() && words[valueAt] != "value") ++valueAt;
      name = Joined(words, 2, valueAt);
      value = Joined(words, valueAt + 1, words.size());
    } else {
      name = Joined(words, 1, 2);
      value = Joined(words, 2, words.size());
    }
    if (name.empty()) return Error("setoption needs an option name");

    if (EqualsNoCase(name, names.levelName)) {
      long long level;
      if (!ParseNumber(value, level) || level < 0 || level > MAX_LEVEL)
        return Error("level must be 0..6, not '" + Printable(value) + "'");
      engine.SetLevel(int(level));
    } else if (EqualsNoCase(name, names.bookName)) {
      bool on;
      if (EqualsNoCase(value, "true") || EqualsNoCase(value, "on")) {
        on = true;
      } else if (EqualsNoCase(value, "false") || EqualsNoCase(value, "off")) {
        on = false;
      } else {
        return Error("book must be true or false, not '" + Printable(value) + "'");
      }
      engine.UseBook(on);
    } else if (EqualsNoCase(name, names.seedName)) {
      long long seed;
      if (EqualsNoCase(value, "clock")) {
        engine.Seed(uint32_t(std::time(nullptr)));
      } else if (ParseNumber(value, seed) && seed >= 0 && seed <= 0xFFFFFFFFLL) {
        engine.Seed(uint32_t(seed));
      } else {
        return Error("seed must be 0..4294967295 or clock, not '" + Printable(value) + "'");
      }
    } else if (names.uciOptions && EqualsNoCase(name, "UCI_Variant")) {
      if (!EqualsNoCase(value, "xiangqi")) return Error("only the xiangqi variant is played");
    } else {
      Error("unknown option '" + Printable(name) + "'");
    }
  }

  // The new position is built aside and replaces the current one only when
  // the whole command is good.
  void SetPosition(const Words& words) {
    size_t movesAt = 2;
    std::string fen;
    if (words.size() >= 2 && words[1] == "startpos") {
      fen = START_FEN;
    } else if (words.size() >= 3 && words[1] == "fen") {
      while (movesAt < words.size() && words[movesAt] != "moves") ++movesAt;
      fen = Joined(words, 2, movesAt);
    } else {
      return Error("position needs startpos or fen FEN");
    }
    if (movesAt < words.size() && words[movesAt] != "moves")
      return Error("unexpected '" + Printable(words[movesAt]) + "' after the position");

    Position next;
    std::string fenError;
    if (!ParseFen(fen, next, fenError)) return Error(Printable(fenError, 200));
    for (size_t i = movesAt + 1; i < words.size(); ++i) {
      Move mv = ParseIccsMove(words[i]);
      if (mv == 0) return Error("'" + Printable(words[i]) + "' is not a move");
      if (!PlayLongGameMove(next, mv))
        return Error("move " + std::to_string(i - movesAt) + " '" + Printable(words[i]) + "' is illegal");
    }
    next.distance = 0;
    position = next;
  }

  void Go(const Words& words) {
    SearchLimits limits;
    for (size_t i = 1; i < words.size(); ++i) {
      std::string_view key = words[i];
      long long value = 0;
      bool hasValue = i + 1 < words.size() && ParseNumber(words[i + 1], value);
      if (key == "depth" || key == "nodes") {
        if (!hasValue) return Error("go " + std::string(key) + " needs a number");
        ++i;
        if (key == "depth") {
          if (value < 1 || value > MAX_PLY) return Error("depth must be 1..64");
          limits.depth = int(value);
        } else {
          if (value < 1 || value > MAX_SEARCH_NODES) return Error("nodes must be 1..134217728");
          limits.nodes = int32_t(value);
        }
      } else if (IsClockWord(key)) {
        // The engine has no clock: the level's node budget is its only
        // limit, so time controls are read and ignored.
        if (!hasValue) return Error("go " + std::string(key) + " needs a number");
        ++i;
      } else if (key == "infinite" || key == "ponder" || key == "draw") {
        // Accepted for the GUIs that send them; they change nothing.
      } else {
        return Error("unknown go parameter '" + Printable(key) + "'");
      }
    }
    if (caps.maxDepth < MAX_PLY && (limits.depth == 0 || limits.depth > caps.maxDepth))
      limits.depth = caps.maxDepth;

    // The search works on a copy, so that nothing it does can touch the
    // session's position.
    Position root = position;
    const Decision decision = engine.Decide(root, limits, [this](const Decision& d) { Info(d); });
    if (decision.move == 0)
      Say(names.noMove);
    else
      Say("bestmove " + IccsMove(decision.move));
  }

  static bool IsClockWord(std::string_view key) {
    constexpr std::string_view CLOCK_WORDS[] = {"wtime", "btime", "winc", "binc", "movestogo", "movetime",
                                                "time", "increment", "opptime", "oppincrement", "oppmovestogo",
                                                "mate"};
    for (std::string_view w : CLOCK_WORDS)
      if (key == w) return true;
    return false;
  }

  void Info(const Decision& d) {
    std::string line = "info depth " + std::to_string(d.depth) + " score ";
    int score = d.score;
    int magnitude = score < 0 ? -score : score;
    if (!names.scoreUnits) {
      line += std::to_string(score);
    } else if (magnitude > SCORE_MATE - MAX_PLY) {
      // Mate scores count plies from the root; UCI wants moves.
      int moves = (SCORE_MATE - magnitude + 1) / 2;
      line += "mate " + std::to_string(score < 0 ? -moves : moves);
    } else {
      line += "cp " + std::to_string(score);
    }
    line += " nodes " + std::to_string(d.nodes) + " pv " + IccsMove(d.move);
    Say(line);
  }

  std::ostream& out;
  const DialectTable& names;
  ProtocolCaps caps;
  Engine engine;
  Position position;
};

ProtocolSession::ProtocolSession(std::ostream& out, Dialect dialect, const ProtocolCaps& caps)
    : impl(std::make_unique<Impl>(out, dialect, caps)) {}

ProtocolSession::~ProtocolSession() = default;

bool ProtocolSession::Handle(std::string_view line) { return impl->Handle(line); }

const Position& ProtocolSession::CurrentPosition() const { return impl->CurrentPosition(); }

int RunProtocol(std::istream& in, std::ostream& out, Dialect dialect, const ProtocolCaps& caps) {
  ProtocolSession session(out, dialect, caps);
  std::string line;
  while (ReadCommandLine(in, line)) {
    if (!session.Handle(line)) break;
  }
  return 0;
}

}  // namespace lanterra
