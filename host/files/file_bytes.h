// The bytes of a drawing file, read in pieces into one buffer of the file's size, so that the
// file can be cut into pairs while the rest of it is still being read: no growing buffer, no
// second copy and no filling beforehand.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace host {

class FileBytes {
  public:
    FileBytes() = default;
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    // Opens the file and reads its first piece; a small file, or one whose size the system
    // does not give, is read whole. False when it cannot be opened or read (Opened() tells).
    bool Open(const std::string& path);
    // Reads the next piece. False once the file is read whole or reading failed.
    bool ReadMore();
    // Reads what is left.
    bool ReadAll();

    // What has been read so far; the bytes it shows stay where they are until destruction.
    std::string_view View() const { return {data_.get(), size_}; }
    // The size the file had when opened (at least what was read).
    size_t ExpectedSize() const;
    bool Opened() const { return opened_; }
    bool Complete() const { return complete_; }
    // Reading failed, or the file grew past the size it had when opened.
    bool Failed() const { return failed_; }

  private:
    void Close();
    std::unique_ptr<char[]> data_;
    size_t size_ = 0;
    size_t capacity_ = 0;
    int file_ = -1;
    bool opened_ = false;
    bool regular_ = false;
    bool complete_ = false;
    bool failed_ = false;
};

}  // namespace host
