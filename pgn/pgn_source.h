// The text of a game file, plain or gzip-compressed, in UTF-8, GBK or Big5,
// handed on as UTF-8 lines.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

struct z_stream_s;

namespace lanterra {

// One line of the text, without its line end.
struct SourceLine {
  std::string text;
  long number = 0;       // 1-based line number within the source
  bool tooLong = false;  // the line was longer than the bound and is cut there
};

// A damaged or hostile file must not exhaust memory, so a line is held only
// up to a bound: the rest of a longer line is dropped and the line is marked
// too long.
inline constexpr size_t MAX_LINE_BYTES = size_t(1) << 20;

// The sample the encoding is chosen from (see PgnSource).
inline constexpr size_t SAMPLE_HIGH_BYTES = size_t(4) << 10;
inline constexpr size_t SAMPLE_BYTES = size_t(1) << 20;

// Reads a game file line by line, so that a file of any size needs little
// memory. The file may be plain or gzip-compressed, one member or several
// in a row; anything after the last member that is not another one is an
// error, not text. The text may be UTF-8 (with or without a byte-order
// mark), GBK or Big5, with LF, CRLF or CR line ends; it is handed on as
// UTF-8, always well-formed: a byte the file's encoding does not read is
// handed on as the four characters \xNN.
//
// The encoding is chosen once per file, before any text beyond ASCII is
// handed on, from a sample that starts at the first byte beyond ASCII and
// holds SAMPLE_HIGH_BYTES such bytes, or SAMPLE_BYTES in all, or the rest of
// the file. A sample that is well-formed UTF-8 is read as UTF-8, whatever
// else it could be; otherwise the encoding whose reading finds the most
// characters of move notation, less its bad bytes, wins. Past the sample the
// choice holds, so a UTF-8 file that breaks off into another encoding later
// shows the bytes there as \xNN rather than changing its mind about text
// already handed on.
class PgnSource {
 public:
  explicit PgnSource(size_t maxLineBytes = MAX_LINE_BYTES) : maxLineBytes(maxLineBytes) {}

  // Opens a file, gzip-compressed or not; false with the reason in error.
  bool Open(const std::string& path, std::string& error);
  // Reads text held in memory instead, as if it were a file's content; the
  // text must outlive the source.
  void OpenText(std::string_view text);

  // Fills line with the next line and returns true, or returns false at the
  // end of the text or when reading stops early.
  bool NextLine(SourceLine& line);
  // Why reading stopped early (a damaged or truncated file, text in no
  // known encoding); empty after a clean end.
  const std::string& Error() const { return error; }
  // "UTF-8", "GBK" or "Big5" once the text has shown which; empty while it
  // has been plain ASCII.
  std::string_view Encoding() const;
  size_t MaxLineBytes() const { return maxLineBytes; }

 private:
  enum class TextEncoding { UNKNOWN, UTF8, GBK, BIG5 };

  // The bytes of the text: a file's or memory's as stored, inflated when
  // they start as gzip; read in blocks.
  class ByteStream {
   public:
    bool Open(const std::string& path, std::string& error);
    void OpenText(std::string_view text);
    // Appends the next block to to and returns true, or returns false at
    // the end or after an error.
    bool Read(std::string& to);
    bool AtEnd() const { return atEnd; }
    // What ended the stream early, the path in front; empty after a clean end.
    const std::string& Error() const { return error; }
    const std::string& Path() const { return path; }

   private:
    struct FileCloser {
      void operator()(std::FILE* file) const;
    };
    struct InflaterEnder {
      void operator()(z_stream_s* stream) const;
    };
    // Makes more stored bytes pending, keeping those still pending in
    // front; false at their end or after a read error.
    bool Refill();
    // Inflates into to; see Read.
    bool Inflate(std::string& to);
    bool Stop(const std::string& why);

    std::unique_ptr<std::FILE, FileCloser> file;
    std::string_view memory;  // the text from OpenText not yet made pending
    std::string buffer;       // the file's bytes as read
    std::string_view pending;  // stored bytes not yet used
    bool started = false;      // the first bytes have been looked at for gzip
    std::unique_ptr<z_stream_s, InflaterEnder> inflater;  // set for gzip data
    bool memberEnded = false;  // a gzip member is done: another may follow, or the end
    std::string path;
    bool atEnd = false;
    std::string error;
  };

  struct ConverterCloser {
    void operator()(void* converter) const;
  };

  // The file's path as given to Open, or "text", for messages.
  const std::string& Path() const { return bytes.Path(); }
  // Refills decoded with the next stretch of UTF-8 text; false when there is
  // no more.
  bool Decode();
  bool ChooseEncoding();

  ByteStream bytes;

  // Bytes as read, waiting to be decoded.
  std::string raw;
  bool started = false;  // the byte-order mark has been looked for
  TextEncoding encoding = TextEncoding::UNKNOWN;
  std::unique_ptr<void, ConverterCloser> converter;  // an iconv_t, for GBK and Big5
  std::string error;

  // Decoded text, cut into lines from decodedAt on.
  std::string decoded;
  size_t decodedAt = 0;
  size_t maxLineBytes;
  bool skipNewline = false;  // the last line ended in CR; a LF right after belongs to it
  long lineNumber = 0;
};

}  // namespace lanterra
