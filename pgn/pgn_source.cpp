#include "pgn/pgn_source.h"

#include <iconv.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "notation/chinese_notation.h"
#include "notation/text.h"

namespace lanterra {

namespace {

// Input is read in blocks of this size; the encoding is chosen from a sample
// of about this much text after the first non-ASCII byte.
constexpr size_t BLOCK_BYTES = size_t(1) << 16;

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

void PgnSource::ByteStream::Closer::operator()(gzFile_s* f) const { gzclose(f); }

void PgnSource::ConverterCloser::operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }

bool PgnSource::ByteStream::Open(const std::string& name, std::string& why) {
  // gzread passes data that is not gzip through unchanged, so one stream
  // serves both forms.
  errno = 0;
  file.reset(gzopen(name.c_str(), "rb"));
  if (!file) {
    why = name + ": cannot open" + (errno ? std::string(": ") + std::strerror(errno) : std::string());
    return false;
  }
  path = name;
  return true;
}

void PgnSource::ByteStream::OpenText(std::string_view text) {
  memory = text;
  path = "text";
}

bool PgnSource::ByteStream::Read(std::string& to) {
  if (atEnd) return false;
  if (!file) {
    size_t n = std::min(BLOCK_BYTES, memory.size());
    to.append(memory.substr(0, n));
    memory.remove_prefix(n);
    atEnd = n == 0;
    return n > 0;
  }
  size_t old = to.size();
  to.resize(old + BLOCK_BYTES);
  int n = gzread(file.get(), to.data() + old, unsigned(BLOCK_BYTES));
  to.resize(old + size_t(std::max(n, 0)));
  if (n > 0) return true;
  // A stream cut off inside its data reads as an end with Z_BUF_ERROR set,
  // so the end is only clean when gzerror says so. The message belongs to
  // the file handle: copy it before anything closes the file.
  int code = Z_OK;
  const char* message = gzerror(file.get(), &code);
  atEnd = true;
  if (n == 0 && code == Z_OK) return false;
  std::string text = message && *message ? message : "read error";
  if (text.starts_with(path + ": ")) text.erase(0, path.size() + 2);
  if (code == Z_BUF_ERROR) text += " (the file is cut short)";
  error = path + ": " + text;
  return false;
}

bool PgnSource::Open(const std::string& path, std::string& why) { return bytes.Open(path, why); }

void PgnSource::OpenText(std::string_view text) { bytes.OpenText(text); }

std::string_view PgnSource::Encoding() const {
  switch (encoding) {
    case TextEncoding::UTF8: return "UTF-8";
    case TextEncoding::GBK: return "GBK";
    case TextEncoding::BIG5: return "Big5";
    default: return "";
  }
}

bool PgnSource::ChooseEncoding() {
  // Judge whole lines, so that no character is cut at the sample's end. The
  // sample is cut only while more text may follow.
  std::string_view sample = raw;
  size_t lineEnd = sample.find_last_of("\r\n");
  if (!bytes.AtEnd() && lineEnd != std::string_view::npos) sample = sample.substr(0, lineEnd);

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
    error = Path() + ": not text in UTF-8, GBK or Big5";
    return false;
  }
  encoding = chosen;
  if (encoding != TextEncoding::UTF8) {
    iconv_t cd = iconv_open("UTF-8", IconvName(encoding == TextEncoding::GBK));
    if (cd == iconv_t(-1)) {
      error = Path() + ": " + std::string(Encoding()) + " text, which this system's iconv cannot read";
      return false;
    }
    converter.reset(cd);
  }
  return true;
}

bool PgnSource::Decode() {
  decoded.clear();
  decodedAt = 0;
  for (;;) {
    bool more = bytes.Read(raw);
    if (!started) {
      if (more && raw.size() < 3) continue;
      started = true;
      if (raw.starts_with("\xEF\xBB\xBF")) {
        raw.erase(0, 3);
        encoding = TextEncoding::UTF8;
      } else if (raw.starts_with("\xFF\xFE") || raw.starts_with("\xFE\xFF")) {
        error = Path() + ": UTF-16 text; convert it to UTF-8";
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
      raw.erase(0, ConvertBytes(static_cast<iconv_t>(converter.get()), raw, !more, decoded, errors));
    }
    if (!decoded.empty()) return true;
    if (!more) {
      // The text read so far has been handed on; the stream's error shows
      // once it is used up.
      if (!bytes.Error().empty())
        error = bytes.Error() + (lineNumber ? " after line " + std::to_string(lineNumber) : "");
      return false;
    }
  }
}

bool PgnSource::NextLine(SourceLine& line) {
  line.text.clear();
  line.tooLong = false;
  bool any = false;
  for (;;) {
    if (decodedAt == decoded.size() && !Decode()) {
      // A last line without a line end still counts, unless reading broke
      // off inside it.
      if (!error.empty() || !any) return false;
      line.number = ++lineNumber;
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
    size_t room = maxLineBytes - std::min(maxLineBytes, line.text.size());
    if (stop - decodedAt > room) line.tooLong = true;
    line.text.append(decoded, decodedAt, std::min(stop - decodedAt, room));
    decodedAt = stop;
    if (end != std::string::npos) {
      skipNewline = decoded[end] == '\r';
      decodedAt = end + 1;
      line.number = ++lineNumber;
      return true;
    }
  }
}

}  // namespace lanterra
