#pragma once
// A column of texts, one for each row, kept end to end in one block of
// bytes with where each one begins: a row's text is a view into the block.
// A text costs its own bytes and four more, where a string for each row
// costs 32 bytes before a long text's own room, and texts read in row order
// are read from memory in order.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "base/HugePages.h"

namespace tq {

class TextColumn {
 public:
  TextColumn() = default;
  TextColumn(std::initializer_list<std::string_view> texts) {
    for (const std::string_view text : texts) push_back(text);
  }
  TextColumn(const TextColumn&) = delete;
  TextColumn& operator=(const TextColumn&) = delete;
  // A column moved from is left empty.
  TextColumn(TextColumn&& other)
      : bytes_(std::move(other.bytes_)),
        room_(std::exchange(other.room_, 0)),
        starts_(std::exchange(other.starts_, {0})) {}
  TextColumn& operator=(TextColumn&& other) {
    if (this != &other) {
      bytes_ = std::move(other.bytes_);
      room_ = std::exchange(other.room_, 0);
      starts_ = std::exchange(other.starts_, {0});
    }
    return *this;
  }

  std::size_t size() const { return starts_.size() - 1; }
  bool empty() const { return starts_.size() == 1; }
  std::string_view operator[](std::size_t row) const {
    return {bytes_.get() + starts_[row], starts_[row + 1] - starts_[row]};
  }
  // All the texts end to end, in row order.
  std::string_view Block() const { return {bytes_.get(), starts_.back()}; }

  // Adds a row whose text of `size` bytes the caller writes at the place given.
  char* Append(std::size_t size) {
    const std::size_t at = starts_.back();
    if (size > room_ - at) Grow(at + size);
    starts_.push_back(static_cast<std::uint32_t>(at + size));
    return bytes_.get() + at;
  }
  void push_back(std::string_view text) {
    char* at = Append(text.size());
    if (!text.empty()) std::memcpy(at, text.data(), text.size());
  }
  // Keeps the first `rows` texts; rows added are empty.
  void resize(std::size_t rows) {
    while (size() < rows) Append(0);
    starts_.resize(rows + 1);
  }
  void clear() { resize(0); }
  // Room for `rows` rows of `bytes` bytes in all, on huge pages where large;
  // what is never written is never touched.
  void Reserve(std::size_t rows, std::size_t bytes) {
    ReserveLarge(starts_, rows + 1);
    bytes = std::min<std::size_t>(bytes, UINT32_MAX);
    if (bytes > room_) Move(bytes);
  }

 private:
  void Grow(std::size_t least) {
    if (least > UINT32_MAX) throw std::length_error("a text column of more than 4 GiB");
    Move(std::max<std::size_t>({least, 2 * room_, 64}));
  }
  // Moves the texts to room for `bytes` bytes.
  void Move(std::size_t bytes) {
    auto moved = std::make_unique_for_overwrite<char[]>(bytes);
    AdviseHugePages(moved.get(), bytes);
    if (starts_.back() > 0) std::memcpy(moved.get(), bytes_.get(), starts_.back());
    bytes_ = std::move(moved);
    room_ = bytes;
  }
  std::unique_ptr<char[]> bytes_;
  std::size_t room_ = 0;
  std::vector<std::uint32_t> starts_ = {0};  // where each row begins, and where the last ends
};

}  // namespace tq
