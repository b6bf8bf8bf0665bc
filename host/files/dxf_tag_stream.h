// The (code, value) pairs of a file cut on a second core while the reader makes objects of
// the pairs cut before: the cutter fills blocks of pairs and hands them over, a few at a time,
// so that memory stays small whatever the size of the file. Where no thread can be started the
// pairs are cut as they are asked for.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "host/files/dxf_tokens.h"
#include "host/files/file_bytes.h"

namespace host::dxf {

class TagStream {
  public:
    explicit TagStream(std::string_view data);
    // Pairs of a file still being read: the cutter reads the rest of it as it goes.
    explicit TagStream(FileBytes& file);
    ~TagStream();
    TagStream(const TagStream&) = delete;
    TagStream& operator=(const TagStream&) = delete;

    // False at the end of the data or on a broken pair (Error() says why).
    bool Next(Tag& tag);
    // The next pair without taking it, or null at the end or on a broken pair; valid until
    // the next call. Skip() takes the pair PeekRef gave.
    const Tag* PeekRef();
    void Skip();
    // The pairs up to the next (0) pair, taken at once where they lie in one block and hold no
    // comment (999); valid until the next call of Next or PeekRef. False, and nothing
    // taken, otherwise: the record is then read pair by pair.
    bool TakeRecord(std::span<const Tag>& record);
    const std::string& Error() const;
    size_t ErrorLine() const;
    // The line reached: at the end of the data, its last line.
    size_t Line() const;
    // Reading the file failed before its end (its pairs end there).
    bool ReadFailed();

  private:
    using Block = std::vector<Tag>;
    void Start(size_t bytes);
    void Cut();
    bool NextBlock();

    Tokens tokens_;              // the cutter's own while it runs
    FileBytes* file_ = nullptr;  // the cutter's own while it runs
    std::thread cutter_;
    bool inline_ = false;  // no second thread: pairs are cut as they are asked for

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Block> full_;  // cut, not yet read
    std::vector<Block> free_;
    bool done_ = false;  // the cutter has handed over its last block
    bool stop_ = false;  // the reader wants no more
    bool cutterWaiting_ = false;
    bool readerWaiting_ = false;
    // Written by the cutter before `done_`, read after it.
    std::string error_;
    size_t errorLine_ = 0;
    size_t line_ = 0;
    bool readFailed_ = false;

    Block carry_;    // the cutter's: the start of a record cut by the end of its block
    Block current_;  // the block being read
    size_t at_ = 0;
    bool havePeek_ = false;
    Tag peeked_;
};

}  // namespace host::dxf
