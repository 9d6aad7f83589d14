// An owning list of sprites walked once per frame with a built-in cursor,
// with counters of how many it holds, ever held, and held at most.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace grazefall {

class Sprite;

class SpriteList {
 public:
  struct Node {
    Node* next = nullptr;
    Node* prev = nullptr;
    Sprite* sprite = nullptr;  // owned; may be null
  };

  SpriteList() = default;
  ~SpriteList();
  SpriteList(const SpriteList&) = delete;
  SpriteList& operator=(const SpriteList&) = delete;

  // Takes ownership of `sprite` and links it after the last node.
  void append(Sprite* sprite);
  Sprite* lastSprite() const { return tail_ != nullptr ? tail_->sprite : nullptr; }

  // The cursor steps are defined here: every frame walks whole lists with them.
  Node* rewind() {
    cursor_ = head_;
    return cursor_;
  }
  Node* next() {
    if (cursor_ != nullptr) {
      cursor_ = cursor_->next;
      // A walk reads the following sprite next; asking for it now hides
      // most of the wait for memory behind this sprite's work.
      if (cursor_ != nullptr && cursor_->next != nullptr) __builtin_prefetch(cursor_->next->sprite);
    }
    return cursor_;
  }
  Node* prev() {
    if (cursor_ != nullptr) cursor_ = cursor_->prev;
    return cursor_;
  }
  Node* cursor() const { return cursor_; }
  Sprite* cursorSprite() const { return cursor_ != nullptr ? cursor_->sprite : nullptr; }
  // Destroys the node under the cursor with its sprite; the cursor moves to
  // the node that followed it. Null (and nothing removed) at the end.
  Node* removeAtCursor();

  int32_t size() const { return size_; }
  int32_t added() const { return added_; }
  int32_t peak() const { return peak_; }
  Node* head() const { return head_; }

 private:
  static constexpr size_t kNodesPerBlock = 256;

  Node* newNode(Node* prev, Sprite* sprite);
  void releaseNode(Node* node);

  // Nodes are carved from blocks the list holds, so the nodes of a walk lie
  // side by side in memory; removed nodes wait in `freeNodes_` (linked by
  // `next`) for the next append.
  std::vector<std::unique_ptr<Node[]>> blocks_;
  size_t usedInLastBlock_ = kNodesPerBlock;
  Node* freeNodes_ = nullptr;
  Node* head_ = nullptr;
  Node* tail_ = nullptr;  // the last node, so append does not walk the list
  Node* cursor_ = nullptr;
  int32_t size_ = 0;
  int32_t added_ = 0;
  int32_t peak_ = 0;
};

}  // namespace grazefall
