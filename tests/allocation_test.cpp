// Construction when memory runs out: each allocation that `main` makes is
// failed in turn, and `main` must answer null (or a working record) without
// an exception leaving it. Links the entry itself, so that this program's
// replacement of operator new is the one construction calls.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "../base/aeffect.h"
#include "module_instance.h"

extern "C" AEffect* VSTCALLBACK pluginMain(audioMasterCallback hostCallback);

namespace {

// The allocation to fail, counted from arming; 0 is disarmed.
long failAt = 0;
long allocations = 0;

bool failsNow() { return failAt && ++allocations == failAt; }

// A host that allocates nothing, so that every counted allocation is the plug-in's.
VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

}  // namespace

void* operator new(std::size_t size) {
  void* memory = failsNow() ? nullptr : std::malloc(size ? size : 1);
  if (!memory) throw std::bad_alloc();
  return memory;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return failsNow() ? nullptr : std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

TEST(Allocation, EveryFailureOfConstructionMakesMainAnswerNull) {
  moduleInstance = GetModuleHandleA(nullptr);
  long made = 0;  // allocations of one whole construction
  for (long k = 1;; k++) {
    SCOPED_TRACE(testing::Message() << "allocation " << k << " fails");
    allocations = 0;
    failAt = k;
    AEffect* effect = nullptr;
    EXPECT_NO_THROW(effect = pluginMain(quietHost));
    failAt = 0;
    if (allocations < k) {  // nothing failed: a whole construction
      ASSERT_NE(effect, nullptr);
      made = allocations;
      effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
      break;
    }
    EXPECT_EQ(effect, nullptr);
    if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  }
  EXPECT_GE(made, 4) << "the effect, its editor, the editor's shared record and the programs";
}
