#include "pgn/pgn_reader.h"

#include <iconv.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "notation/chinese_notation.h"
#include "notation/fen_iccs.h"
#include "notation/text.h"
#include "rules/long_game.h"

namespace lanterra {

namespace {

// Input is read in blocks of this size; the encoding is chosen from a sample
// of about this much text after the first non-ASCII byte.
constexpr size_t BLOCK_BYTES = size_t(1) << 16;

// Longest quotation of a game's text in an error message.
constexpr size_t QUOTE_BYTES = 200;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool IsResultToken(std::string_view t) { return t == "1-0" || t == "0-1" || t == "1/2-1/2" || t == "*"; }

// Removes a leading move number: "12." and "12..." alone, or glued to the
// move as in "12.h2e2".
std::string_view StripMoveNumber(std::string_view t) {
  size_t i = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
  if (i == 0 || i == t.size() || t[i] != '.') return t;
  while (i < t.size() && t[i] == '.') ++i;
  return t.substr(i);
}

bool IsTagName(std::string_view name) {
  if (name.empty() || !std::isalpha(static_cast<unsigned char>(name[0]))) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

// Parses [Name "value"]; false for a line that is not a tag pair. Strict
// asks for a name of letters, digits and underscores and a quoted value, so
// that a bracketed note inside a comment is not taken for a tag.
bool ParseTag(std::string_view line, std::string& name, std::string& value, bool strict) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return false;
  line = Trim(line.substr(1, line.size() - 2));
  size_t space = line.find_first_of(" \t");
  if (space == std::string_view::npos) return false;
  std::string_view rest = Trim(line.substr(space));
  bool quoted = rest.size() >= 2 && rest.front() == '"' && rest.back() == '"';
  if (strict && (!IsTagName(line.substr(0, space)) || !quoted)) return false;
  name = std::string(line.substr(0, space));
  if (quoted) rest = rest.substr(1, rest.size() - 2);
  value.clear();
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '\\' && i + 1 < rest.size()) ++i;
    value += rest[i];
  }
  return true;
}

bool HasTag(const PgnGame& game, std::string_view name) {
  return std::any_of(game.tags.begin(), game.tags.end(), [&](const auto& tag) { return tag.first == name; });
}

bool LooksLikeIccs(std::string_view t) {
  return (t.size() == 4 || (t.size() == 5 && t[2] == '-')) && static_cast<unsigned char>(t[0]) < 0x80;
}

// Converts bytes to UTF-8 through cd. A byte that starts no character of the
// encoding passes unchanged (messages show it escaped) and is counted in
// errors; a character cut off by the end of bytes stays unconverted unless
// final. Returns how many bytes were consumed.
size_t ConvertBytes(iconv_t cd, std::string_view bytes, bool final, std::string& out, long& errors) {
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char buffer[BLOCK_BYTES];
  while (inLeft > 0) {
    char* to = buffer;
    size_t toLeft = sizeof buffer;
    size_t done = iconv(cd, &in, &inLeft, &to, &toLeft);
    out.append(buffer, size_t(to - buffer));
    if (done != size_t(-1)) break;
    if (errno == E2BIG) continue;
    if (errno == EINVAL && !final) break;
    out += *in;
    ++in;
    --inLeft;
    ++errors;
  }
  return bytes.size() - inLeft;
}

// How well a sample reads in one encoding.
struct Reading {
  long notation = 0;  // characters of Chinese move notation
  long others = 0;    // other characters beyond ASCII
  long errors = 0;    // bytes that start no character
};

Reading ReadUtf8(std::string_view text) {
  Reading reading;
  for (size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    size_t length = DecodeUtf8Char(text, i, cp);
    if (length == 0) {
      ++reading.errors;
      ++i;
      continue;
    }
    if (cp >= 0x80) ++(IsNotationCharacter(cp) ? reading.notation : reading.others);
    i += length;
  }
  return reading;
}

// The names iconv knows the two double-byte encodings by: GB18030 reads all
// of GBK and a little more, CP950 is Big5 as Windows writes it.
const char* IconvName(bool gbk) { return gbk ? "GB18030" : "CP950"; }

}  // namespace

std::string_view PgnGame::Tag(std::string_view name) const {
  for (const auto& [n, v] : tags)
    if (n == name) return v;
  return {};
}

std::string PgnGame::Result() const {
  std::string_view tag = Tag("Result");
  return std::string(tag.empty() ? std::string_view(termination) : tag);
}

PgnReader::~PgnReader() {
  if (file) gzclose(file);
  if (converter) iconv_close(static_cast<iconv_t>(converter));
}

bool PgnReader::Open(const std::string& name, std::string& why) {
  // gzread passes data that is not gzip through unchanged, so one reader
  // serves both forms.
  errno = 0;
  file = gzopen(name.c_str(), "rb");
  if (!file) {
    why = name + ": cannot open" + (errno ? std::string(": ") + std::strerror(errno) : std::string());
    return false;
  }
  path = name;
  return true;
}

void PgnReader::OpenText(std::string_view text) {
  memory = text;
  path = "text";
}

std::string_view PgnReader::Encoding() const {
  switch (encoding) {
    case TextEncoding::UTF8: return "UTF-8";
    case TextEncoding::GBK: return "GBK";
    case TextEncoding::BIG5: return "Big5";
    default: return "";
  }
}

void PgnReader::Fail(PgnGame& game, std::string why) {
  if (game.fault.empty()) game.fault = std::move(why);
}

bool PgnReader::ReadRaw() {
  if (atEnd) return false;
  if (!file) {
    size_t n = std::min(BLOCK_BYTES, memory.size());
    raw.append(memory.substr(0, n));
    memory.remove_prefix(n);
    atEnd = n == 0;
    return n > 0;
  }
  size_t old = raw.size();
  raw.resize(old + BLOCK_BYTES);
  int n = gzread(file, raw.data() + old, unsigned(BLOCK_BYTES));
  raw.resize(old + size_t(std::max(n, 0)));
  if (n > 0) return true;
  // A stream cut off inside its data reads as an end with Z_BUF_ERROR set,
  // so the end is only clean when gzerror says so. The message belongs to
  // the file handle: copy it before anything closes the file.
  int code = Z_OK;
  const char* message = gzerror(file, &code);
  if (n == 0 && code == Z_OK) {
    atEnd = true;
    return false;
  }
  std::string text = message && *message ? message : "read error";
  if (text.starts_with(path + ": ")) text.erase(0, path.size() + 2);
  if (code == Z_BUF_ERROR) text += " (the file is cut short)";
  // The text read so far is still parsed; the error shows once it is used up.
  readError = path + ": " + text;
  atEnd = true;
  return false;
}

bool PgnReader::ChooseEncoding() {
  // Judge whole lines, so that no character is cut at the sample's end.
  std::string_view sample = raw;
  size_t lineEnd = sample.find_last_of("\r\n");
  if (!atEnd && lineEnd != std::string_view::npos) sample = sample.substr(0, lineEnd);

  // Each reading counts the characters of move notation it finds: text read
  // in the wrong encoding is full of rare characters and invalid bytes. A
  // tie goes to UTF-8, then GBK.
  Reading best = ReadUtf8(sample);
  TextEncoding chosen = TextEncoding::UTF8;
  for (TextEncoding candidate : {TextEncoding::GBK, TextEncoding::BIG5}) {
    iconv_t cd = iconv_open("UTF-8", IconvName(candidate == TextEncoding::GBK));
    if (cd == iconv_t(-1)) continue;
    // Bytes the encoding refuses pass through unconverted, where the UTF-8
    // reading counts them.
    std::string utf8;
    long refused = 0;
    ConvertBytes(cd, sample, true, utf8, refused);
    iconv_close(cd);
    Reading reading = ReadUtf8(utf8);
    if (reading.notation - reading.errors > best.notation - best.errors) {
      best = reading;
      chosen = candidate;
    }
  }
  // More than one bad byte in sixteen characters is not a damaged text but
  // another encoding, or no text at all.
  if (best.errors * 16 > best.notation + best.others + 16) {
    error = path + ": not text in UTF-8, GBK or Big5";
    return false;
  }
  encoding = chosen;
  if (encoding != TextEncoding::UTF8) {
    iconv_t cd = iconv_open("UTF-8", IconvName(encoding == TextEncoding::GBK));
    if (cd == iconv_t(-1)) {
      error = path + ": " + std::string(Encoding()) + " text, which this system's iconv cannot read";
      return false;
    }
    converter = cd;
  }
  return true;
}

bool PgnReader::Decode() {
  decoded.clear();
  decodedAt = 0;
  for (;;) {
    bool more = ReadRaw();
    if (!started) {
      if (more && raw.size() < 3) continue;
      started = true;
      if (raw.starts_with("\xEF\xBB\xBF")) {
        raw.erase(0, 3);
        encoding = TextEncoding::UTF8;
      } else if (raw.starts_with("\xFF\xFE") || raw.starts_with("\xFE\xFF")) {
        error = path + ": UTF-16 text; convert it to UTF-8";
        return false;
      }
    }
    if (encoding == TextEncoding::UNKNOWN) {
      // ASCII reads the same in all three encodings; the first bytes beyond
      // it, and a sample of what follows them, decide.
      auto high = std::find_if(raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
      size_t ascii = size_t(high - raw.begin());
      if (ascii < raw.size() && more && raw.size() - ascii < BLOCK_BYTES) continue;
      decoded.append(raw, 0, ascii);
      raw.erase(0, ascii);
      if (!raw.empty() && !ChooseEncoding()) return false;
    }
    if (encoding == TextEncoding::UTF8) {
      decoded += raw;
      raw.clear();
    } else if (converter) {
      long errors = 0;
      raw.erase(0, ConvertBytes(static_cast<iconv_t>(converter), raw, !more, decoded, errors));
    }
    if (!decoded.empty()) return true;
    if (!more) {
      if (!readError.empty()) error = readError + (lineNumber ? " after line " + std::to_string(lineNumber) : "");
      return false;
    }
  }
}

bool PgnReader::NextLine(std::string& line, bool& tooLong) {
  line.clear();
  tooLong = false;
  bool any = false;
  for (;;) {
    if (decodedAt == decoded.size() && !Decode()) {
      if (!error.empty() || !any) return false;
      ++lineNumber;
      return true;
    }
    if (skipNewline) {
      skipNewline = false;
      if (decoded[decodedAt] == '\n') {
        ++decodedAt;
        continue;
      }
    }
    any = true;
    size_t end = decoded.find_first_of("\r\n", decodedAt);
    size_t stop = end == std::string::npos ? decoded.size() : end;
    // The part past the bound is dropped as it arrives.
    size_t room = limits.maxLineBytes - std::min(limits.maxLineBytes, line.size());
    if (stop - decodedAt > room) tooLong = true;
    line.append(decoded, decodedAt, std::min(stop - decodedAt, room));
    decodedAt = stop;
    if (end != std::string::npos) {
      skipNewline = decoded[end] == '\r';
      decodedAt = end + 1;
      ++lineNumber;
      return true;
    }
  }
}

void PgnReader::AddMoveTokens(std::string_view line, PgnGame& game, long at, bool keep) {
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (commentDepth) {
      if (c == '}') commentDepth = 0;
      ++i;
      continue;
    }
    if (c == '{') {
      commentDepth = 1;
      commentLine = at;
      ++i;
      continue;
    }
    if (c == ';' && !variationDepth) return;  // the rest of the line is a comment
    if (c == '(' && !variationDepth++) variationLine = at;
    if (c == ')' && variationDepth) {
      --variationDepth;
      ++i;
      continue;
    }
    if (IsSpace(c) || variationDepth) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < line.size() && !IsSpace(line[end]) && line[end] != '{' && line[end] != '(' && line[end] != ';') ++end;
    std::string_view token = StripMoveNumber(line.substr(i, end - i));
    i = end;
    // Lone move numbers strip to nothing or to dots.
    if (token.empty() || token.find_first_not_of('.') == std::string_view::npos) continue;
    if (IsResultToken(token)) game.termination = std::string(token);
    else if (keep) game.moves.emplace_back(token);
  }
}

bool PgnReader::Next(PgnGame& game) {
  game = PgnGame{};
  bool begun = false;
  bool hasMoveText = false;
  bool hasTags = false;
  bool blankAfterTags = false;
  size_t bytes = 0;
  std::string line, name, value;
  bool tooLong = false;
  for (;;) {
    long at = 0;
    if (hasPendingTag) {
      line = std::move(pendingTag);
      tooLong = pendingTooLong;
      at = pendingTagLine;
      hasPendingTag = false;
    } else if (NextLine(line, tooLong)) {
      at = lineNumber;
    } else {
      if (begun && !error.empty()) Fail(game, "cut short: the file breaks off inside this game");
      break;
    }
    std::string_view text = Trim(line);
    if (text.empty()) {
      blankAfterTags = hasTags && !hasMoveText;
      continue;
    }
    // An overlong line is cut, so its closing bracket is lost; its opening
    // one still says whether it was meant for a tag.
    bool isTag = text.front() == '[' && (tooLong || ParseTag(text, name, value, commentDepth > 0));
    if (isTag) {
      if (begun && (hasMoveText || blankAfterTags || (!tooLong && HasTag(game, name)))) {
        // The tag belongs to the next game.
        pendingTag = std::move(line);
        pendingTagLine = at;
        pendingTooLong = tooLong;
        hasPendingTag = true;
        break;
      }
      if (!begun) game.line = at;
      begun = true;
      hasTags = true;
    } else {
      if (!begun) game.line = at;
      begun = true;
      hasMoveText = true;
    }
    bytes += text.size();
    if (tooLong)
      Fail(game, "line " + std::to_string(at) + " is longer than " + std::to_string(limits.maxLineBytes) + " bytes");
    else if (bytes > limits.maxGameBytes)
      Fail(game, "the game is longer than " + std::to_string(limits.maxGameBytes) + " bytes");
    if (tooLong) continue;
    // A faulty game is read to its end, keeping nothing.
    if (isTag) {
      if (game.fault.empty()) game.tags.emplace_back(name, value);
      continue;
    }
    AddMoveTokens(text, game, at, game.fault.empty());
    // A result token ends the game even when no tags follow.
    if (!game.termination.empty() && !commentDepth && !variationDepth) break;
  }
  if (!begun) return false;
  if (commentDepth) Fail(game, "the comment opened on line " + std::to_string(commentLine) + " is not closed");
  if (variationDepth) Fail(game, "the variation opened on line " + std::to_string(variationLine) + " is not closed");
  if (!game.fault.empty()) game.moves.clear();
  commentDepth = 0;
  variationDepth = 0;
  game.index = ++gameCount;
  return true;
}

bool ReplayGame(const PgnGame& game, std::string_view source, Position& start, std::vector<Move>& moves,
                std::string& error) {
  auto where = [&] {
    std::string name = std::string(source) + ":" + std::to_string(game.line) + " game " + std::to_string(game.index);
    std::string_view event = game.Tag("Event");
    if (!event.empty()) name += " (" + Printable(event, QUOTE_BYTES, Charset::UTF8) + ")";
    return name;
  };
  moves.clear();
  if (!game.fault.empty()) {
    error = where() + ": " + game.fault;
    return false;
  }
  std::string_view fen = game.Tag("FEN");
  std::string fenError;
  if (!ParseFen(fen.empty() ? START_FEN : fen, start, fenError)) {
    error = where() + ": bad FEN: " + Printable(fenError, QUOTE_BYTES, Charset::UTF8);
    return false;
  }
  Position pos = start;
  for (size_t ply = 0; ply < game.moves.size(); ++ply) {
    const std::string& text = game.moves[ply];
    std::string why;
    // A move in Chinese notation is read as one of the legal moves; one in
    // ICCS is legal when the position plays it.
    const bool iccs = LooksLikeIccs(text);
    Move mv = iccs ? ParseIccsMove(text) : ParseChineseMove(pos, text, why);
    if (iccs && !mv) why = "not a move in ICCS notation";
    if (mv && !PlayLongGameMove(pos, mv)) {
      why = "not a legal move";
      mv = 0;
    }
    if (!mv) {
      // Move numbers count move pairs; the side says which half.
      size_t number = ply / 2 + 1;
      if (start.side == SIDE_BLACK) number = (ply + 1) / 2 + 1;
      error = where() + ": move " + std::to_string(number) + (pos.side == SIDE_RED ? " red" : " black") + " \"" +
              Printable(text, QUOTE_BYTES, Charset::UTF8) + "\": " + why;
      return false;
    }
    moves.push_back(mv);
  }
  return true;
}

}  // namespace lanterra
