#pragma once
// Large buffers reused instead of allocated anew: an object handed out
// returns to the shelf when its last holder lets it go, on whichever thread
// that is, and a later take() hands it out again with whatever it held.
#include <memory>
#include <mutex>
#include <vector>

namespace vantrel {

template <typename T>
class Recycler {
 public:
  // forget, when given, lets go of what a returned object refers to (and
  // need not keep while it waits on the shelf).
  explicit Recycler(void (*forget)(T&) = nullptr)
      : shelf_(std::make_shared<Shelf>()), forget_(forget) {}

  // An object no one else holds: one handed back earlier, or a new one.
  std::shared_ptr<T> take() {
    std::unique_ptr<T> object;
    {
      std::lock_guard<std::mutex> hold(shelf_->lock);
      if (!shelf_->free.empty()) {
        object = std::move(shelf_->free.back());
        shelf_->free.pop_back();
      }
    }
    if (!object) object = std::make_unique<T>();
    return std::shared_ptr<T>(object.release(), [shelf = shelf_, forget = forget_](T* returned) {
      if (forget) forget(*returned);
      std::lock_guard<std::mutex> hold(shelf->lock);
      shelf->free.emplace_back(returned);
    });
  }

 private:
  struct Shelf {
    std::mutex lock;
    std::vector<std::unique_ptr<T>> free;  // guarded by lock
  };
  // Shared with every object's deleter, so objects may outlive the recycler.
  std::shared_ptr<Shelf> shelf_;
  void (*forget_)(T&);
};

}  // namespace vantrel
