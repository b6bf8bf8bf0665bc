#include "host/files/dxf_tag_stream.h"

#include <charconv>
#include <optional>
#include <system_error>
#include <utility>

namespace host::dxf {
namespace {

// Pairs in a block, and blocks cut ahead of the reader: about 2 MB in all.
constexpr size_t kBlockTags = 8192;
constexpr size_t kBlocksAhead = 6;

// Numbers and handles are read here, beside the making of objects from the pairs before;
// what is not in its plain form is left to the reader, which reads it the general way.
void ReadValue(Tag& tag) {
    tag.read = Tag::Read::Nothing;  // nothing of the pair before it
    ValueKind kind = KindOfGroup(tag.code);
    // The second and third coordinates of a point (20 and 30 of a 10) have no kind of their
    // own: the reader reads them with their point.
    if (kind == ValueKind::Invalid && (KindOfGroup(tag.code - 10) == ValueKind::Point ||
                                       KindOfGroup(tag.code - 20) == ValueKind::Point)) {
        kind = ValueKind::Real;
    }
    if (tag.code == 5 || tag.code == 105 || kind == ValueKind::EntityName) {
        const std::optional<Handle> handle = FileHandle(tag.value);
        tag.read = handle ? Tag::Read::Handle : Tag::Read::NoHandle;
        tag.integer = handle ? static_cast<long long>(handle->value) : 0;
        return;
    }
    if (kind != ValueKind::Real && kind != ValueKind::Point && kind != ValueKind::Int16 &&
        kind != ValueKind::Int32) {
        return;
    }
    const std::string_view text = NumberText(tag.value);
    if (kind == ValueKind::Real || kind == ValueKind::Point) {
        if (ParseShortDecimal(text, tag.number))
            tag.read = Tag::Read::Number;
        return;
    }
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, tag.integer);
    if (!text.empty() && error == std::errc() && stop == end)
        tag.read = Tag::Read::Integer;
}

// Gives each (0) pair of a block the length of its record, so that the reader takes the
// record without looking for its end.
void CountRecordPairs(std::vector<Tag>& block) {
    size_t next = block.size();  // the next (0) pair; none yet
    bool comment = false;
    for (size_t i = block.size(); i-- > 0;) {
        Tag& tag = block[i];
        if (tag.code == 0) {
            tag.pairs = next < block.size() && !comment ? static_cast<uint32_t>(next - i - 1) : 0;
            next = i;
            comment = false;
        } else if (tag.code == 999) {
            comment = true;
        }
    }
}

}  // namespace

TagStream::TagStream(std::string_view data) : tokens_(data) {
    Start(data.size());
}

TagStream::TagStream(FileBytes& file)
    : tokens_(file.View(), file.Complete()), file_(file.Complete() ? nullptr : &file) {
    Start(file.ExpectedSize());
    if (inline_ && file_) {
        // No thread: the rest is read here first.
        file_->ReadAll();
        readFailed_ = file_->Failed();
        tokens_.Extend(file_->View(), true);
        file_ = nullptr;
    }
}

void TagStream::Start(size_t bytes) {
    // A small file is read before a thread would have started.
    constexpr size_t kThreadedBytes = size_t{1} << 18;
    if (bytes < kThreadedBytes && !file_) {
        inline_ = true;
        return;
    }
    for (size_t i = 0; i < kBlocksAhead; ++i) {
        free_.emplace_back();
        free_.back().reserve(kBlockTags);
    }
    try {
        cutter_ = std::thread([this] { Cut(); });
    } catch (const std::system_error&) {
        inline_ = true;
    }
}

TagStream::~TagStream() {
    if (!cutter_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    cutter_.join();
}

void TagStream::Cut() {
    Block block;
    bool more = true;
    while (more) {
        {
            std::unique_lock lock(mutex_);
            cutterWaiting_ = true;
            changed_.wait(lock, [this] { return stop_ || !free_.empty(); });
            cutterWaiting_ = false;
            if (stop_)
                return;
            block = std::move(free_.back());
            free_.pop_back();
        }
        // A block ends where a record begins, so that the reader finds every record whole
        // in one block: the start of the record the last block cut into comes first.
        block.assign(carry_.begin(), carry_.end());
        carry_.clear();
        Tag tag;
        bool failed = false;
        while (block.size() < kBlockTags) {
            more = tokens_.Next(tag);
            if (!more && tokens_.Starved() && file_) {
                // The next pair is still in the file.
                file_->ReadMore();
                if (file_->Failed()) {
                    failed = true;
                    break;
                }
                tokens_.Extend(file_->View(), file_->Complete());
                continue;
            }
            if (!more)
                break;
            ReadValue(tag);
            block.push_back(tag);
        }
        if (more) {
            size_t last = block.size();
            while (last > 0 && block[last - 1].code != 0)
                --last;
            if (last > 1) {
                carry_.assign(block.begin() + static_cast<std::ptrdiff_t>(last - 1), block.end());
                block.resize(last - 1);
            }
        }
        CountRecordPairs(block);
        std::lock_guard lock(mutex_);
        if (!more) {
            readFailed_ = failed;
            error_ = tokens_.Error();
            errorLine_ = tokens_.ErrorLine();
            line_ = tokens_.Line();
            done_ = true;
        }
        full_.push_back(std::move(block));
        if (readerWaiting_)
            changed_.notify_all();
    }
}

bool TagStream::NextBlock() {
    std::unique_lock lock(mutex_);
    free_.push_back(std::move(current_));
    // Each side wakes the other only when it waits: most blocks pass without a wait.
    if (cutterWaiting_)
        changed_.notify_all();
    readerWaiting_ = true;
    changed_.wait(lock, [this] { return !full_.empty() || done_; });
    readerWaiting_ = false;
    if (full_.empty())
        return false;
    current_ = std::move(full_.front());
    full_.pop_front();
    at_ = 0;
    return true;
}

bool TagStream::Next(Tag& tag) {
    if (havePeek_) {
        havePeek_ = false;
        tag = peeked_;
        return true;
    }
    if (inline_)
        return tokens_.Next(tag);
    while (at_ == current_.size()) {
        if (!NextBlock())
            return false;
    }
    tag = current_[at_++];
    return true;
}

const Tag* TagStream::PeekRef() {
    if (havePeek_ || inline_) {
        if (!havePeek_ && !Next(peeked_))
            return nullptr;
        havePeek_ = true;
        return &peeked_;
    }
    while (at_ == current_.size()) {
        if (!NextBlock())
            return nullptr;
    }
    return &current_[at_];
}

bool TagStream::TakeRecord(std::span<const Tag>& record) {
    if (inline_ || havePeek_)
        return false;
    // Right after a record's (0) pair, its length is known.
    if (at_ > 0 && current_[at_ - 1].code == 0 && current_[at_ - 1].pairs > 0) {
        record = std::span<const Tag>(current_.data() + at_, current_[at_ - 1].pairs);
        at_ += current_[at_ - 1].pairs;
        return true;
    }
    size_t end = at_;
    while (end < current_.size() && current_[end].code != 0) {
        if (current_[end].code == 999)
            return false;
        ++end;
    }
    if (end == current_.size())
        return false;
    record = std::span<const Tag>(current_.data() + at_, end - at_);
    at_ = end;
    return true;
}

void TagStream::Skip() {
    if (havePeek_)
        havePeek_ = false;
    else
        ++at_;
}

// The cutter's findings are read only once the reader has met the end of the pairs, after
// `done_` was seen under the lock.
const std::string& TagStream::Error() const {
    return inline_ ? tokens_.Error() : error_;
}

size_t TagStream::ErrorLine() const {
    return inline_ ? tokens_.ErrorLine() : errorLine_;
}

size_t TagStream::Line() const {
    return inline_ ? tokens_.Line() : line_;
}

bool TagStream::ReadFailed() {
    std::lock_guard lock(mutex_);
    return readFailed_;
}

}  // namespace host::dxf
