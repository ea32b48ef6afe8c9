#include "tools/protocol_fuzz.h"

#include <algorithm>
#include <string_view>

#include "notation/fen_iccs.h"
#include "rules/long_game.h"

namespace lanterra {
namespace {

constexpr std::string_view WORDS[] = {
    "ucci", "uci", "isready", "setoption", "position", "go", "quit", "stop", "ponderhit", "ucinewgame",
    "d", "name", "value", "startpos", "fen", "moves", "depth", "nodes", "wtime", "btime", "movetime",
    "infinite", "ponder", "level", "usebook", "seed", "Level", "OwnBook", "Seed", "UCI_Variant", "xiangqi",
    "true", "false", "clock", "h2e2", "h9g7", "b0c2", "a0a1", "e0e1", "i9i8", "h2-e2", "z9z9", "-1", "0",
    "7", "99999999999999999999", "w", "b", "-", "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR",
};

// Positions of every shape the engine meets: the start, handicaps, a
// middlegame, bare kings, a mate and a stalemate.
constexpr std::string_view FENS[] = {
    "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1",
    "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/R1BAKAB1R w - - 0 1",
    "2bak1b2/4ar3/6n1r/4p4/pP6p/5nR2/1C2P1P1P/2NC2N2/4A4/2B1KAB2 b - - 0 16",
    "3k5/9/9/9/9/9/9/9/9/4K4 w - - 0 1",
    "3k5/9/3R5/9/9/9/9/9/9/4K4 b - - 0 1",
    "4k4/9/9/9/9/9/9/9/1R7/R2K5 w - - 0 1",
    "4ka3/9/9/9/3R5/9/9/9/r8/5K3 w - - 0 1",
};

}  // namespace

std::string ProtocolFuzzer::NextLine() {
  int kind = Below(100);
  if (kind < 35) return WellFormedLine();
  if (kind < 55) return Mutate(WellFormedLine());
  if (kind < 65) return RandomBytes(kind == 64 ? 5000 : 200);
  // Random sentences from the protocol's own vocabulary.
  std::string line;
  int words = Below(12);
  for (int i = 0; i < words; ++i) {
    std::string_view word = WORDS[Below(int(std::size(WORDS)))];
    // A leading quit would end the session; well-formed lines bring it rarely.
    if (i == 0 && word == "quit") word = "stop";
    if (i) line += ' ';
    line += word;
  }
  return line;
}

std::string ProtocolFuzzer::WellFormedLine() {
  switch (Below(20)) {
    case 0: return Below(2) ? "ucci" : "uci";
    case 1: return "isready";
    case 2: return "d";
    case 3: return Below(50) ? "ucinewgame" : "quit";
    case 4: return "setoption level " + RandomNumber();
    case 5: return "setoption name Level value " + RandomNumber();
    case 6: return std::string("setoption ") + (Below(2) ? "usebook " : "name OwnBook value ") +
                   (Below(3) ? "false" : Below(2) ? "true" : "maybe");
    case 7: return "setoption name Seed value " + (Below(4) ? RandomNumber() : std::string("clock"));
    case 8: return "setoption name UCI_Variant value " + std::string(Below(4) ? "xiangqi" : "chess");
    case 9:
      // Searches are rare: each one clears the engine's whole table.
      if (Below(5) == 0) {
        switch (Below(4)) {
          case 0: return "go";
          case 1: return "go depth " + RandomNumber();
          case 2: return "go nodes " + RandomNumber();
          default: return "go wtime 1000 btime 1000 movestogo " + RandomNumber();
        }
      }
      return "isready";
    case 10:
    case 11:
    case 12:
    case 13: return RandomGameLine();
    default: return "position fen " + RandomFen() + (Below(3) ? "" : " moves h2e2 h9g7");
  }
}

// A game of random legal moves from a random setup, sometimes ending in a
// move that is malformed or illegal.
std::string ProtocolFuzzer::RandomGameLine() {
  Position pos;
  std::string line = "position ";
  int fen = Below(int(std::size(FENS)));
  std::string error;
  if (fen == 0 || !ParseFen(FENS[fen], pos, error)) {
    pos.SetUpStart(0);
    line += "startpos";
  } else {
    line += "fen " + std::string(FENS[fen]);
  }
  line += " moves";
  int plies = Below(4) ? Below(40) : Below(400);
  for (int i = 0; i < plies; ++i) {
    Move legal[MAX_MOVES_PER_POSITION];
    const int count = LegalMoves(pos, legal);
    if (count == 0) break;
    // One draw per legal move, each kept with the chance that leaves them
    // all equally likely. A single draw would do as well but would change
    // the lines a given SEED of fuzz-protocol makes, which is how a failure
    // is replayed.
    Move chosen = 0;
    for (int j = 0; j < count; ++j) {
      if (Below(j + 1) == 0) chosen = legal[j];
    }
    PlayLongGameMove(pos, chosen);
    line += ' ';
    line += IccsMove(chosen);
  }
  if (Below(4) == 0) {
    line += ' ';
    line += Below(2) ? std::string("a0a0") : IccsMove(MoveOf(Below(256), Below(256)) | 0x0101);
  }
  return line;
}

std::string ProtocolFuzzer::RandomFen() {
  std::string fen(FENS[Below(int(std::size(FENS)))]);
  if (Below(2)) return fen;
  // Piece letters, digits and slashes in random order make boards of every
  // wrong shape: too many ranks, missing kings, pawns on the back rank.
  constexpr std::string_view PARTS = "KAEBHNRCPkaebhnrcp123456789//  wb-0";
  std::string random;
  int length = Below(90);
  for (int i = 0; i < length; ++i) random += PARTS[Below(int(PARTS.size()))];
  return random;
}

std::string ProtocolFuzzer::RandomNumber() {
  switch (Below(6)) {
    case 0: return std::to_string(Below(8));
    case 1: return std::to_string(int64_t(rng()) - 0x7FFFFFFF);
    case 2: return "99999999999999999999999";
    case 3: return std::to_string(Below(3));
    case 4: return std::string("x").append(std::to_string(Below(10)));
    default: return std::to_string(rng());
  }
}

std::string ProtocolFuzzer::RandomBytes(int maxLength) {
  std::string bytes;
  int length = Below(maxLength + 1);
  for (int i = 0; i < length; ++i) {
    char c = char(Below(256));
    bytes += c == '\n' ? ' ' : c;
  }
  return bytes;
}

std::string ProtocolFuzzer::Mutate(std::string line) {
  int edits = 1 + Below(4);
  for (int i = 0; i < edits; ++i) {
    int at = line.empty() ? 0 : Below(int(line.size()));
    switch (Below(5)) {
      case 0:
        if (!line.empty()) line[at] = char(Below(256) | (Below(2) ? 0 : 0x20));
        break;
      case 1: line.insert(size_t(at), 1, char(Below(128))); break;
      case 2:
        if (!line.empty()) line.erase(size_t(at), size_t(1 + Below(8)));
        break;
      case 3: line.resize(size_t(at)); break;
      default: {
        std::string word(" ");
        word.append(WORDS[Below(int(std::size(WORDS)))]).append(" ");
        line.insert(size_t(at), word);
        break;
      }
    }
  }
  for (char& c : line)
    if (c == '\n') c = ' ';
  return line;
}

FuzzReport FuzzProtocol(long long inputs, uint32_t seed, int linesPerSession) {
  FuzzReport report;
  ProtocolFuzzer fuzzer(seed);
  ProtocolCaps caps;
  caps.maxDepth = 2;
  while (report.inputs < inputs) {
    std::string text;
    long long lines = std::min<long long>(linesPerSession, inputs - report.inputs);
    for (long long i = 0; i < lines; ++i) text += fuzzer.NextLine() + '\n';
    const SessionCheck check = CheckSession(text, report.sessions % 2 ? Dialect::UCI : Dialect::UCCI, caps);
    ++report.sessions;
    // A quit ends the session early; only the lines it read are counted.
    report.inputs += check.lines;
    report.outputLines += check.answers;
    report.bestMoves += check.bestMoves;
    report.errors += check.errors;
    if (check.badAnswers && report.badLines == 0) report.firstBadLine = check.firstBadAnswer;
    report.badLines += check.badAnswers;
  }
  return report;
}

}  // namespace lanterra
