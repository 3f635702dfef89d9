#pragma once

// An ordered, doubly linked list of references with a sentinel head node. The
// list owns its data only when it is cleared with clearAndFree(); clear() and
// destruction free the nodes alone.
template <typename T>
class PtrList {
 public:
  struct Node {
    T* data;
    Node* next;
    Node* previous;
  };

  PtrList() { head_.data = nullptr; head_.next = head_.previous = nullptr; }
  ~PtrList() { clear(); }
  PtrList(const PtrList&) = delete;
  PtrList& operator=(const PtrList&) = delete;

  void append(T* data) {
    Node* node = new Node{data, nullptr, tail_};
    tail_->next = node;
    tail_ = node;
    ++count_;
  }

  // Iteration: restart(), then next() until it returns null.
  void restart() { cursor_ = &head_; }
  T* next() {
    if (cursor_ == nullptr || cursor_->next == nullptr) return nullptr;
    cursor_ = cursor_->next;
    return cursor_->data;
  }

  // Range-for over the data in list order.
  struct Iterator {
    Node* node;
    T* operator*() const { return node->data; }
    Iterator& operator++() { node = node->next; return *this; }
    bool operator!=(const Iterator& o) const { return node != o.node; }
  };
  Iterator begin() const { return {head_.next}; }
  Iterator end() const { return {nullptr}; }

  int size() const { return count_; }

  void clear() { freeNodes(false); }
  void clearAndFree() { freeNodes(true); }

 private:
  void freeNodes(bool freeData) {
    Node* node = head_.next;
    while (node != nullptr) {
      Node* following = node->next;
      if (freeData) delete node->data;
      delete node;
      node = following;
    }
    head_.next = nullptr;
    tail_ = &head_;
    cursor_ = &head_;
    count_ = 0;
  }

  Node head_;
  Node* tail_ = &head_;
  Node* cursor_ = &head_;
  int count_ = 0;
};
