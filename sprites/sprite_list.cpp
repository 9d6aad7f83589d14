#include "sprites/sprite_list.h"

#include <algorithm>

#include "sprites/sprite.h"

namespace grazefall {

SpriteList::~SpriteList() {
  Node* node = head_;
  while (node != nullptr) {
    Node* following = node->next;
    delete node->sprite;
    node = following;
  }
}

SpriteList::Node* SpriteList::newNode(Node* prev, Sprite* sprite) {
  Node* node = freeNodes_;
  if (node != nullptr) {
    freeNodes_ = node->next;
  } else {
    if (usedInLastBlock_ == kNodesPerBlock) {
      blocks_.push_back(std::make_unique<Node[]>(kNodesPerBlock));
      usedInLastBlock_ = 0;
    }
    node = &blocks_.back()[usedInLastBlock_++];
  }
  *node = Node{nullptr, prev, sprite};
  return node;
}

void SpriteList::releaseNode(Node* node) {
  *node = Node{freeNodes_, nullptr, nullptr};
  freeNodes_ = node;
}

void SpriteList::append(Sprite* sprite) {
  ++size_;
  ++added_;
  peak_ = std::max(peak_, size_);
  Node* node = newNode(tail_, sprite);
  if (tail_ == nullptr) {
    head_ = node;
  } else {
    tail_->next = node;
  }
  tail_ = node;
}

SpriteList::Node* SpriteList::removeAtCursor() {
  Node* node = cursor_;
  if (node == nullptr) return nullptr;
  --size_;

  Node* result = nullptr;
  if (node->prev == nullptr) {
    // The head: its follower becomes the head.
    head_ = node->next;
    if (head_ != nullptr) head_->prev = nullptr;
    result = head_;
  } else if (node->next != nullptr) {
    // A middle node: its neighbours are joined.
    node->prev->next = node->next;
    node->next->prev = node->prev;
    result = node->next;
  } else {
    // The last node of a longer list: the walk ends.
    node->prev->next = nullptr;
    result = nullptr;
  }
  if (node == tail_) tail_ = node->prev;

  delete node->sprite;
  releaseNode(node);
  cursor_ = result;
  return result;
}

}  // namespace grazefall
