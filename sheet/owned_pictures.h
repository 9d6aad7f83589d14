// The pictures a front end loads into its page controls, which it must free:
// one a control hands back on being given another is freed then, the rest
// when the sheet goes. A picture a control had from its template belongs to
// the control and is never freed here.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

namespace grazefall {

template <typename Handle, typename Free>
class OwnedPictures {
 public:
  explicit OwnedPictures(Free free) : free_(std::move(free)) {}
  ~OwnedPictures() {
    for (Handle picture : owned_) free_(picture);
  }
  OwnedPictures(const OwnedPictures&) = delete;
  OwnedPictures& operator=(const OwnedPictures&) = delete;

  // `shown` (loaded here, or null) went into a control, which handed back
  // `replaced`.
  void swapped(Handle shown, Handle replaced) {
    const auto it = std::find(owned_.begin(), owned_.end(), replaced);
    if (replaced != Handle{} && replaced != shown && it != owned_.end()) {
      owned_.erase(it);
      free_(replaced);
    }
    if (shown != Handle{} && std::find(owned_.begin(), owned_.end(), shown) == owned_.end()) {
      owned_.push_back(shown);
    }
  }
  size_t count() const { return owned_.size(); }

 private:
  Free free_;
  std::vector<Handle> owned_;
};

}  // namespace grazefall
