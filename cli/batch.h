#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/columnlayout.h"

// The batch: rows of CSV read as bytes from a source, each reduced and
// written to a sink before the next is read, so memory stays flat however
// long the input.

namespace cli {

// Where the batch takes its bytes from.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Up to size bytes into buffer; 0 at the end of the input or on an error.
    virtual std::size_t read(char* buffer, std::size_t size) = 0;
    // The errno of a failed read, 0 while none has failed.
    virtual int error() const { return 0; }
};

// An open file (standard input included); not closed here.
class FileSource : public ByteSource {
  public:
    explicit FileSource(std::FILE* file) : file_(file) {}
    std::size_t read(char* buffer, std::size_t size) override;
    int error() const override { return error_; }
    // Bytes read so far.
    unsigned long long bytesRead() const { return bytesRead_; }

  private:
    std::FILE* file_;
    int error_ = 0;
    unsigned long long bytesRead_ = 0;
};

// Bytes already in memory (a test's input, a fuzzer's).
class BufferSource : public ByteSource {
  public:
    explicit BufferSource(std::string_view bytes) : bytes_(bytes) {}
    std::size_t read(char* buffer, std::size_t size) override;

  private:
    std::string_view bytes_;
};

// Where the batch writes its output.
class TextSink {
  public:
    virtual ~TextSink() = default;
    virtual void write(std::string_view text) = 0;
};

// An open file, written in large blocks; the rest goes out on flush() or
// when the sink is destroyed.
class FileSink : public TextSink {
  public:
    explicit FileSink(std::FILE* file);
    ~FileSink() override;
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;
    void write(std::string_view text) override;
    void flush();

  private:
    std::FILE* file_;
    std::string block_;
};

// Everything in one string.
class StringSink : public TextSink {
  public:
    void write(std::string_view text) override { text_.append(text); }
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

struct BatchOptions {
    bool json = false;
    bool exact = false;
};

enum class BatchEnd {
    Read,      // every line was read
    ReadError, // reading failed part way (see ByteSource::error)
    Utf16,     // the input begins with a UTF-16 byte order mark; nothing was read
};

struct BatchSummary {
    BatchEnd end = BatchEnd::Read;
    long long rows = 0;      // rows reduced or reported, blank lines and the header not counted
    long long malformed = 0; // of them, malformed
};

struct Sight;

// What becomes of each row, in row order.
class RowHandler {
  public:
    virtual ~RowHandler() = default;
    // A row read and reduced (sight), or a malformed one (problem says why);
    // others: its cells of the columns that are not entries, from a file
    // whose header names them.
    virtual void row(long long number, const std::optional<Sight>& sight, std::string_view problem,
                     const OtherCells& others) = 0;
};

// Reads every line of in and hands each row to rows. Lines end at "\n" only
// (a "\r" before it is dropped), so every other byte, NUL included, stays in
// its line, and a line is never merged with the next or lost: every line but
// a blank one and the header is handed on exactly once, under its own line
// number. A header that names the entry columns lays out the rows as
// --check reads them (readColumnLayout); the value columns are not read.
BatchSummary reduceBatch(ByteSource& in, RowHandler& rows);

// Each row's result written to a sink before the next row is read: the text
// or JSON output of reduceBatch below.
class BatchOutput : public RowHandler {
  public:
    BatchOutput(TextSink& out, BatchOptions options);
    ~BatchOutput() override;
    void row(long long number, const std::optional<Sight>& sight, std::string_view problem,
             const OtherCells& others) override;

  private:
    struct Writer;
    TextSink& out_;
    BatchOptions options_;
    std::unique_ptr<Writer> writer_;
};

// Reads every line of in and writes each row's result to out. Lines end at
// "\n" only (a "\r" before it is dropped), so every other byte, NUL included,
// stays in its line, and a line is never merged with the next or lost: every
// line but a blank one and the header gives exactly one result or one error,
// under its own line number. Text output: per row a block whose first line
// names the row ("Row N:" and the worked form, or "Row N: " and the message
// or the problem), then one empty line. JSON output: one object per row and
// line.
BatchSummary reduceBatch(ByteSource& in, TextSink& out, BatchOptions options);

// What becomes of each line of a file read as a batch.
class LineHandler {
  public:
    virtual ~LineHandler() = default;
    // The line without its "\n" (a "\r" before it is kept), valid only during
    // the call; overlong: it was longer than maxBatchLineBytes and text is
    // empty. Returns false to stop reading.
    virtual bool line(long long number, std::string_view text, bool overlong) = 0;
};

// Reads in line by line as reduceBatch does (lines end at "\n" only, a UTF-8
// byte order mark before the first line is dropped, a UTF-16 file is not
// read at all) and hands every line, blank ones and the first included, to
// lines under its line number.
BatchEnd readBatchLines(ByteSource& in, LineHandler& lines);

} // namespace cli
