#include "pgn/pgn_source.h"

#include <iconv.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "notation/chinese_notation.h"
#include "notation/text.h"

namespace lanterra {

namespace {

// Input is read in blocks of this size.
constexpr size_t BLOCK_BYTES = size_t(1) << 16;

// The two bytes every gzip member starts with.
constexpr std::string_view GZIP_MAGIC = "\x1F\x8B";

// A byte that no encoding reads, as the text \xNN.
void AppendByteEscape(std::string& out, unsigned char byte) {
  constexpr char HEX[] = "0123456789ABCDEF";
  out += "\\x";
  out += HEX[byte >> 4];
  out += HEX[byte & 15];
}

// Where a character that the end of text may have cut off begins: a lead
// byte among the last three with fewer continuation bytes after it than it
// asks for. text.size() when the text ends with a whole character.
size_t CutCharacterAt(std::string_view text) {
  for (size_t back = 1; back <= 3 && back <= text.size(); ++back) {
    unsigned char c = static_cast<unsigned char>(text[text.size() - back]);
    if ((c & 0xC0) == 0x80) continue;
    size_t length = c >= 0xC0 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF7 ? 4 : 1;
    return back < length ? text.size() - back : text.size();
  }
  return text.size();
}

// Appends the UTF-8 text of bytes to out, each byte that starts no
// well-formed character escaped. A character cut off by the end of bytes is
// left for the next call unless final. Returns how many bytes were consumed.
size_t AppendUtf8(std::string_view bytes, bool final, std::string& out) {
  size_t end = final ? bytes.size() : CutCharacterAt(bytes);
  size_t i = 0;
  while (i < end) {
    // Runs of ASCII and well-formed characters are copied whole.
    size_t run = i;
    char32_t cp = 0;
    while (run < end) {
      size_t length = static_cast<unsigned char>(bytes[run]) < 0x80 ? 1 : DecodeUtf8Char(bytes.substr(0, end), run, cp);
      if (length == 0) break;
      run += length;
    }
    out.append(bytes, i, run - i);
    i = run;
    if (i < end) AppendByteEscape(out, static_cast<unsigned char>(bytes[i++]));
  }
  return end;
}

// Converts bytes to UTF-8 through cd. A byte that starts no character of the
// encoding is escaped and counted in errors; a character cut off by the end
// of bytes stays unconverted unless final. Returns how many bytes were
// consumed.
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
    AppendByteEscape(out, static_cast<unsigned char>(*in));
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

// Reads text as UTF-8; a character cut off at its end counts only if final.
Reading ReadUtf8(std::string_view text, bool final) {
  if (!final) text = text.substr(0, CutCharacterAt(text));
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

// Whether bytes, starting at the first byte beyond ASCII, are enough to
// choose the encoding from.
bool SampleIsFull(std::string_view bytes) {
  if (bytes.size() >= SAMPLE_BYTES) return true;
  auto high = std::count_if(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  return size_t(high) >= SAMPLE_HIGH_BYTES;
}

// The names iconv knows the two double-byte encodings by: GB18030 reads all
// of GBK and a little more, CP950 is Big5 as Windows writes it.
const char* IconvName(bool gbk) { return gbk ? "GB18030" : "CP950"; }

}  // namespace

void PgnSource::ByteStream::FileCloser::operator()(std::FILE* f) const { std::fclose(f); }

void PgnSource::ByteStream::InflaterEnder::operator()(z_stream_s* stream) const {
  inflateEnd(stream);
  delete stream;
}

void PgnSource::ConverterCloser::operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }

bool PgnSource::ByteStream::Open(const std::string& name, std::string& why) {
  errno = 0;
  file.reset(std::fopen(name.c_str(), "rb"));
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

bool PgnSource::ByteStream::Refill() {
  if (!file) {
    // Text in memory is pending whole at once.
    if (memory.empty()) return false;
    pending = memory;
    memory = {};
    return true;
  }
  buffer.resize(BLOCK_BYTES);
  size_t kept = pending.size();
  if (kept) std::memmove(buffer.data(), pending.data(), kept);
  errno = 0;
  size_t n = std::fread(buffer.data() + kept, 1, BLOCK_BYTES - kept, file.get());
  pending = std::string_view(buffer.data(), kept + n);
  if (n > 0) return true;
  if (std::ferror(file.get()))
    error = path + ": " + (errno ? std::strerror(errno) : "read error");
  return false;
}

bool PgnSource::ByteStream::Stop(const std::string& why) {
  if (error.empty()) error = why;
  atEnd = true;
  return false;
}

bool PgnSource::ByteStream::Read(std::string& to) {
  if (atEnd) return false;
  if (!started) {
    started = true;
    while (pending.size() < GZIP_MAGIC.size() && Refill()) {
    }
    if (pending.starts_with(GZIP_MAGIC)) {
      // 16 + MAX_WBITS: a gzip header and trailer around the deflate data.
      auto stream = std::make_unique<z_stream_s>();
      if (inflateInit2(stream.get(), 16 + MAX_WBITS) != Z_OK) return Stop(path + ": cannot start inflating");
      inflater.reset(stream.release());
    }
  }
  if (inflater) return Inflate(to);
  if (pending.empty() && !Refill()) return Stop("");
  size_t n = std::min(BLOCK_BYTES, pending.size());
  to.append(pending.substr(0, n));
  pending.remove_prefix(n);
  return true;
}

bool PgnSource::ByteStream::Inflate(std::string& to) {
  z_stream_s& z = *inflater;
  size_t old = to.size();
  to.resize(old + BLOCK_BYTES);
  z.next_out = reinterpret_cast<Bytef*>(to.data() + old);
  z.avail_out = unsigned(BLOCK_BYTES);
  std::string why;
  while (z.avail_out == BLOCK_BYTES && !atEnd) {
    if (memberEnded) {
      // Members in a row inflate as one stream; anything else after a member
      // would be lost without a word, so it is an error.
      while (pending.size() < GZIP_MAGIC.size() && Refill()) {
      }
      if (!error.empty()) break;
      if (pending.empty()) {
        atEnd = true;
        break;
      }
      if (!pending.starts_with(GZIP_MAGIC)) {
        why = path + ": data after the gzip stream is not gzip";
        break;
      }
      inflateReset(&z);
      memberEnded = false;
    }
    if (pending.empty() && !Refill()) {
      why = path + ": unexpected end of gzip data (the file is cut short)";
      break;
    }
    const unsigned given = unsigned(std::min<size_t>(pending.size(), UINT_MAX));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(pending.data()));
    z.avail_in = given;
    int code = inflate(&z, Z_NO_FLUSH);
    pending.remove_prefix(given - z.avail_in);
    if (code == Z_STREAM_END) memberEnded = true;
    else if (code != Z_OK && code != Z_BUF_ERROR) {
      why = path + ": " + (z.msg ? z.msg : "damaged gzip data");
      break;
    }
  }
  size_t produced = BLOCK_BYTES - z.avail_out;
  to.resize(old + produced);
  if (!why.empty() || !error.empty()) Stop(why);
  return produced > 0;
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
  const bool final = bytes.AtEnd();
  std::string_view sample = raw;
  size_t lineEnd = sample.find_last_of("\r\n");
  if (!final && lineEnd != std::string_view::npos) sample = sample.substr(0, lineEnd);

  // Text in GBK or Big5 is seldom well-formed UTF-8 for long, and text that
  // is must read as UTF-8, or what this reader writes would not read back
  // as itself. Otherwise each reading counts the characters of move
  // notation it finds: text read in the wrong encoding is full of rare
  // characters and bad bytes. A tie goes to UTF-8, then GBK.
  Reading best = ReadUtf8(sample, final);
  TextEncoding chosen = TextEncoding::UTF8;
  const bool wellFormedUtf8 = best.errors == 0;
  for (TextEncoding candidate : {TextEncoding::GBK, TextEncoding::BIG5}) {
    if (wellFormedUtf8) break;
    iconv_t cd = iconv_open("UTF-8", IconvName(candidate == TextEncoding::GBK));
    if (cd == iconv_t(-1)) continue;
    std::string utf8;
    long refused = 0;
    ConvertBytes(cd, sample, final, utf8, refused);
    iconv_close(cd);
    Reading reading = ReadUtf8(utf8, true);
    reading.errors += refused;
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
      if (ascii < raw.size() && more && !SampleIsFull(std::string_view(raw).substr(ascii))) continue;
      decoded.append(raw, 0, ascii);
      raw.erase(0, ascii);
      if (!raw.empty() && !ChooseEncoding()) return false;
    }
    if (encoding == TextEncoding::UTF8) {
      raw.erase(0, AppendUtf8(raw, !more, decoded));
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
