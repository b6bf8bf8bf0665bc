#include "host/files/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host/drawing/large_pages.h"

namespace host {
namespace {

// A piece: large enough that reading costs few calls, small enough that cutting starts soon.
constexpr size_t kPiece = size_t{2} << 20;

}  // namespace

FileBytes::~FileBytes() {
    Close();
}

void FileBytes::Close() {
    if (file_ >= 0)
        ::close(file_);
    file_ = -1;
}

bool FileBytes::Open(const std::string& path) {
    file_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file_ < 0)
        return false;
    opened_ = true;
    struct stat info {};
    regular_ = ::fstat(file_, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0;
    // One byte more than the file holds, so that a file that grew is seen.
    capacity_ = regular_ ? static_cast<size_t>(info.st_size) + 1 : size_t{1} << 16;
    data_ = std::make_unique_for_overwrite<char[]>(capacity_);
    if (capacity_ > 2 * kPiece)
        AskForLargePages(data_.get(), capacity_);
    if (!regular_ || capacity_ <= 2 * kPiece)
        return ReadAll();
    return ReadMore() || complete_;
}

size_t FileBytes::ExpectedSize() const {
    return regular_ ? capacity_ - 1 : size_;
}

bool FileBytes::ReadMore() {
    if (complete_ || failed_ || file_ < 0)
        return false;
    size_t wanted = kPiece;
    while (wanted > 0) {
        if (size_ == capacity_) {
            if (regular_) {
                // Pairs already cut point into the buffer: it cannot move. A file that grows
                // while it is read is not read.
                failed_ = true;
                Close();
                return false;
            }
            auto larger = std::make_unique_for_overwrite<char[]>(capacity_ * 2);
            std::memcpy(larger.get(), data_.get(), size_);
            data_ = std::move(larger);
            capacity_ *= 2;
        }
        const size_t room = capacity_ - size_;
        const ssize_t n = ::read(file_, data_.get() + size_, room < wanted ? room : wanted);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            failed_ = true;
            Close();
            return false;
        }
        if (n == 0) {
            complete_ = true;
            Close();
            return false;
        }
        size_ += static_cast<size_t>(n);
        wanted -= static_cast<size_t>(n) < wanted ? static_cast<size_t>(n) : wanted;
    }
    return true;
}

bool FileBytes::ReadAll() {
    while (ReadMore()) {
    }
    return complete_;
}

}  // namespace host
