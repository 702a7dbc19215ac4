#include "cli/batch.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "cli/batchrow.h"
#include "cli/jsonwriter.h"
#include "cli/sightreport.h"

namespace cli {
namespace {

using reduction::Outcome;

// Bytes read from the source at a time, and written to a file at a time.
constexpr std::size_t readBlockBytes = 64 * 1024;
constexpr std::size_t writeBlockBytes = 256 * 1024;

constexpr std::string_view utf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view utf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view utf16BigEndianMark = "\xFE\xFF";

// Splits the input at "\n" and nowhere else. A line that lies whole in the
// current block is handed out in place; one that crosses a block boundary is
// gathered in a string, which stops growing past maxBatchLineBytes.
class LineReader {
  public:
    explicit LineReader(ByteSource& in) : in_(in), block_(readBlockBytes) {}

    // The first count bytes of the input (fewer if it is shorter), still to
    // be read as lines. Only before the first next().
    std::string_view peek(std::size_t count) {
        while (end_ < count && !ended_) {
            const std::size_t got = in_.read(block_.data() + end_, block_.size() - end_);
            if (got == 0) {
                ended_ = true;
            }
            end_ += got;
        }
        return {block_.data(), std::min(count, end_)};
    }

    // The next line without its "\n"; false at the end of the input. The
    // line stays valid until the next call. overlong: the line was longer
    // than maxBatchLineBytes and line is empty.
    bool next(std::string_view& line, bool& overlong) {
        gathered_.clear();
        overlong = false;
        bool any = false;
        while (true) {
            if (begin_ < end_) {
                any = true;
                const char* start = block_.data() + begin_;
                const std::size_t left = end_ - begin_;
                const auto* newline = static_cast<const char*>(std::memchr(start, '\n', left));
                const std::size_t length =
                    newline != nullptr ? static_cast<std::size_t>(newline - start) : left;
                const bool whole = newline != nullptr && gathered_.empty() && !overlong;
                if (whole) {
                    begin_ += length + 1;
                    overlong = length > maxBatchLineBytes;
                    line = overlong ? std::string_view() : std::string_view(start, length);
                    return true;
                }
                gather(std::string_view(start, length), overlong);
                begin_ += newline != nullptr ? length + 1 : length;
                if (newline != nullptr) {
                    line = gathered_;
                    return true;
                }
            }
            if (ended_) {
                line = gathered_;
                return any;
            }
            begin_ = 0;
            end_ = in_.read(block_.data(), block_.size());
            ended_ = end_ == 0;
        }
    }

  private:
    void gather(std::string_view part, bool& overlong) {
        if (overlong) {
            return;
        }
        if (gathered_.size() + part.size() > maxBatchLineBytes) {
            overlong = true;
            gathered_.clear();
            return;
        }
        gathered_.append(part);
    }

    ByteSource& in_;
    std::vector<char> block_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
    std::string gathered_;
};

} // namespace

std::size_t FileSource::read(char* buffer, std::size_t size) {
    const std::size_t got = std::fread(buffer, 1, size, file_);
    bytesRead_ += got;
    if (got == 0 && std::ferror(file_) != 0 && error_ == 0) {
        error_ = errno != 0 ? errno : EIO;
    }
    return got;
}

std::size_t BufferSource::read(char* buffer, std::size_t size) {
    const std::size_t got = std::min(size, bytes_.size());
    std::memcpy(buffer, bytes_.data(), got);
    bytes_.remove_prefix(got);
    return got;
}

FileSink::FileSink(std::FILE* file) : file_(file) {
    block_.reserve(writeBlockBytes);
}

FileSink::~FileSink() {
    flush();
}

void FileSink::write(std::string_view text) {
    if (block_.size() + text.size() > writeBlockBytes) {
        flush();
    }
    if (text.size() > writeBlockBytes) {
        std::fwrite(text.data(), 1, text.size(), file_);
        return;
    }
    block_.append(text);
}

void FileSink::flush() {
    std::fwrite(block_.data(), 1, block_.size(), file_);
    block_.clear();
}

BatchSummary reduceBatch(ByteSource& in, RowHandler& rows) {
    BatchSummary summary;
    LineReader reader(in);
    // A spreadsheet's "Unicode text" export: every other byte a NUL, which
    // would make every line a malformed row. One clear error instead.
    const std::string_view start = reader.peek(2);
    if (start == utf16LittleEndianMark || start == utf16BigEndianMark) {
        summary.end = BatchEnd::Utf16;
        return summary;
    }

    std::string_view line;
    bool overlong = false;
    // From a header that names every entry column; otherwise the rows hold
    // the twelve entry cells alone.
    std::optional<ColumnLayout> layout;
    for (long long number = 1; reader.next(line, overlong); ++number) {
        if (number == 1 && line.starts_with(utf8ByteOrderMark)) {
            line.remove_prefix(utf8ByteOrderMark.size());
        }
        if (!overlong && number == 1 && isHeaderLine(line)) {
            std::string notALayout;
            layout = readColumnLayout(line, notALayout);
            continue;
        }
        if (!overlong && isBlankLine(line)) {
            continue;
        }
        ++summary.rows;
        BatchRow parsed;
        OtherCells others;
        if (overlong) {
            parsed.problem = "longer than " + std::to_string(maxBatchLineBytes) + " bytes";
        } else if (!layout) {
            parsed = parseBatchRow(line);
        } else if (const auto cells = splitRow(line, *layout, parsed.problem)) {
            others = otherCells(*cells, *layout);
            parsed = readEntries(*cells, *layout);
        }
        std::optional<Sight> sight;
        if (parsed.input) {
            sight = reduceSight(*parsed.input);
        } else {
            ++summary.malformed;
        }
        rows.row(number, sight, parsed.problem, others);
    }
    if (in.error() != 0) {
        summary.end = BatchEnd::ReadError;
    }
    return summary;
}

BatchEnd readBatchLines(ByteSource& in, LineHandler& lines) {
    LineReader reader(in);
    const std::string_view start = reader.peek(2);
    if (start == utf16LittleEndianMark || start == utf16BigEndianMark) {
        return BatchEnd::Utf16;
    }
    std::string_view line;
    bool overlong = false;
    for (long long number = 1; reader.next(line, overlong); ++number) {
        if (number == 1 && line.starts_with(utf8ByteOrderMark)) {
            line.remove_prefix(utf8ByteOrderMark.size());
        }
        if (!lines.line(number, line, overlong)) {
            break;
        }
    }
    return in.error() != 0 ? BatchEnd::ReadError : BatchEnd::Read;
}

// The JSON writer and its buffer, and the text of a row, kept from row to
// row so their memory is reused.
struct BatchOutput::Writer {
    JsonBuffer json;
    JsonWriter writer{json};
    std::string text;
};

BatchOutput::BatchOutput(TextSink& out, BatchOptions options)
    : out_(out), options_(options), writer_(std::make_unique<Writer>()) {}

BatchOutput::~BatchOutput() = default;

void BatchOutput::row(long long number, const std::optional<Sight>& sight, std::string_view problem,
                      const OtherCells& others) {
    if (options_.json) {
        JsonBuffer& json = writer_->json;
        json.Clear();
        writer_->writer.Reset(json);
        if (sight) {
            writeSightJson(writer_->writer, *sight, options_.exact, number, others);
        } else {
            writeRowErrorJson(writer_->writer, number, problem, others);
        }
        json.Put('\n');
        out_.write(std::string_view(json.GetString(), json.GetSize()));
        return;
    }
    std::string& text = writer_->text;
    text = rowTitle(number, others) + ":";
    if (!sight) {
        text += " ";
        text += problem;
        text += "\n";
    } else if (sight->result.outcome != Outcome::Complete) {
        text += " " + sightMessage(*sight) + "\n";
    } else {
        text += '\n';
        for (const std::string& formLine : sightLines(*sight, options_.exact)) {
            text += formLine;
            text += '\n';
        }
    }
    text += '\n';
    out_.write(text);
}

BatchSummary reduceBatch(ByteSource& in, TextSink& out, BatchOptions options) {
    BatchOutput rows(out, options);
    return reduceBatch(in, rows);
}

} // namespace cli
