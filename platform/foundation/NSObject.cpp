#include "platform/foundation/NSObject.h"

#include <vector>

#include "platform/corefoundation/RunLoop.h"

namespace {

struct Pools {
  std::vector<std::vector<NSObject*>> stack;
  std::vector<NSObject*> loop;  // released at the end of the next pass
  int observer = 0;
};

// Never destroyed: objects waiting for the loop are still the loop's at exit.
Pools& State() {
  static Pools* pools = new Pools;
  return *pools;
}

void Drain(std::vector<NSObject*>& objects) {
  std::vector<NSObject*> taken;
  taken.swap(objects);
  for (NSObject* object : taken) object->release();
}

}  // namespace

void NSObject::release() {
  if (--mReferences == 0) delete this;
}

NSObject* NSObject::autorelease() {
  Pools& pools = State();
  if (!pools.stack.empty()) {
    pools.stack.back().push_back(this);
  } else {
    if (!pools.observer) pools.observer = platform::AddRunLoopObserver([] { Drain(State().loop); });
    pools.loop.push_back(this);
  }
  return this;
}

void NSObject::performAfterDelay(std::function<void()> call, double delaySeconds) {
  retain();
  platform::AddRunLoopTimer(delaySeconds, 0.0, [this, call] {
    call();
    release();
  });
}

NSAutoreleasePool::NSAutoreleasePool() { State().stack.emplace_back(); }

NSAutoreleasePool::~NSAutoreleasePool() {
  Pools& pools = State();
  std::vector<NSObject*> objects;
  objects.swap(pools.stack.back());
  pools.stack.pop_back();
  Drain(objects);
}

namespace platform {

int PendingAutoreleaseCount() {
  int count = static_cast<int>(State().loop.size());
  for (const auto& pool : State().stack) count += static_cast<int>(pool.size());
  return count;
}

}  // namespace platform
