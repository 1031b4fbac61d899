#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/heap_buffer.h"
#include "core/pointer_list.h"

namespace {

struct ResizeStep {
  std::int32_t size;
  bool allowShrink;
  std::int32_t expectedAllocation;
};

struct ResizeCase {
  const char* name;
  std::int32_t granularity;
  std::int32_t minimumAllocation;
  std::vector<ResizeStep> steps;
};

// Every expected allocation is worked out by hand from the growth rules:
// granularity < 4096: newSize + max(newSize / 2, granularity);
// otherwise half = max(newSize / 2, granularity) rounded down to 4096s and kept
// within 4096 .. 4194304, size = ((newSize + half + 96) rounded down to 4096s) - 96.
const ResizeCase kResizeCases[] = {
    {"small granularity grows by half or by the granularity", 32, 0,
     {{10, true, 42}, {42, true, 42}, {43, true, 75}, {100, true, 150}}},
    {"minimum allocation wins over a small request", 32, 1000, {{10, true, 1000}, {1001, true, 1501}}},
    {"page granularity keeps 96 bytes below a page multiple", 4096, 0,
     {{10, true, 4000}, {4000, true, 4000}, {4001, true, 8096}, {20000, true, 24480}, {100000, true, 147360}}},
    {"page granularity caps the headroom at 4 MiB", 4096, 0, {{10000000, true, 14192544}}},
    {"shrinks below half and below four granularities", 32, 0, {{1000, true, 1500}, {100, true, 150}}},
    {"does not shrink without permission", 32, 0, {{1000, true, 1500}, {100, false, 1500}}},
    {"does not shrink at half the allocation or above", 32, 0,
     {{1000, true, 1500}, {800, true, 1500}, {700, true, 1050}}},
    {"does not shrink within four granularities of the allocation", 32, 0,
     {{100, true, 150}, {10, true, 42}, {5, true, 42}}},
    {"four page granularities keep a large block", 4096, 0,
     {{20000, true, 24480}, {9000, true, 24480}, {5000, true, 8096}}},
    {"a shrink never goes below the minimum allocation", 32, 1000, {{5000, true, 7500}, {100, true, 1000}}},
    {"shrinking to nothing keeps one granularity", 32, 0, {{1000, true, 1500}, {0, true, 32}}},
    {"growing within the allocation keeps it", 32, 0, {{1000, true, 1500}, {1500, true, 1500}, {1200, false, 1500}}},
};

TEST(HeapBufferTest, AllocationFollowsGrowthAndShrinkRules) {
  for (const ResizeCase& c : kResizeCases) {
    SCOPED_TRACE(c.name);
    HeapBuffer buffer(c.granularity, c.minimumAllocation);
    for (const ResizeStep& step : c.steps) {
      SCOPED_TRACE("resize to " + std::to_string(step.size));
      void* data = buffer.Resize(step.size, step.allowShrink);
      EXPECT_EQ(buffer.Size(), step.size);
      EXPECT_EQ(buffer.AllocatedSize(), step.expectedAllocation);
      if (step.size > 0) {
        EXPECT_EQ(data, buffer.Data());
        EXPECT_NE(data, nullptr);
      } else {
        EXPECT_EQ(data, nullptr);
      }
    }
  }
}

TEST(HeapBufferTest, ContentsSurviveReallocation) {
  HeapBuffer buffer(32);
  auto* bytes = static_cast<std::uint8_t*>(buffer.Resize(40));
  for (int i = 0; i < 40; ++i) bytes[i] = std::uint8_t(i * 7);
  bytes = static_cast<std::uint8_t*>(buffer.Resize(5000));  // grows
  ASSERT_NE(bytes, nullptr);
  for (int i = 0; i < 40; ++i) ASSERT_EQ(bytes[i], std::uint8_t(i * 7)) << i;
  bytes = static_cast<std::uint8_t*>(buffer.Resize(20, true));  // shrinks
  ASSERT_EQ(buffer.AllocatedSize(), 52);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(bytes[i], std::uint8_t(i * 7)) << i;
}

TEST(HeapBufferTest, SameSizeIsANoOp) {
  HeapBuffer empty(32);
  EXPECT_EQ(empty.Resize(0), nullptr);
  EXPECT_EQ(empty.AllocatedSize(), 0);
  EXPECT_EQ(empty.Data(), nullptr);

  HeapBuffer buffer(4096);
  void* data = buffer.Resize(100);
  EXPECT_EQ(buffer.Resize(100, true), data);
  EXPECT_EQ(buffer.AllocatedSize(), 4000);
}

TEST(HeapBufferTest, RequestsThatCannotBeMetLeaveTheBufferUnchanged) {
  for (std::int32_t granularity : {32, 4096}) {
    SCOPED_TRACE(granularity);
    HeapBuffer buffer(granularity);
    auto* data = static_cast<char*>(buffer.Resize(10));
    std::memcpy(data, "ninebytes", 10);
    const std::int32_t allocation = buffer.AllocatedSize();
    for (std::int32_t size : {INT32_MAX, -1}) {
      EXPECT_EQ(buffer.Resize(size), data);
      EXPECT_EQ(buffer.Size(), 10);
      EXPECT_EQ(buffer.AllocatedSize(), allocation);
      EXPECT_EQ(buffer.Data(), data);
      EXPECT_STREQ(data, "ninebytes");
    }
  }
}

TEST(PointerListTest, AddAndGetWithinBounds) {
  PointerList<int> list(32);  // four pointers per granularity: growth happens many times
  std::vector<int> items(100);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Get(0), nullptr);
  for (int i = 0; i < 100; ++i) {
    items[i] = i;
    ASSERT_EQ(list.Add(&items[i]), &items[i]);
    ASSERT_EQ(list.Count(), i + 1);
  }
  for (int i = 0; i < 100; ++i) ASSERT_EQ(list.Get(i), &items[i]) << i;
  for (std::int32_t outside : {-1, 100, 101, INT32_MAX, INT32_MIN}) EXPECT_EQ(list.Get(outside), nullptr) << outside;
}

TEST(PointerListTest, DeleteAllDeletesLastIndexFirst) {
  static std::vector<int> order;
  struct Element {
    int id;
    ~Element() { order.push_back(id); }
  };
  order.clear();
  PointerList<Element> list(32);
  for (int i = 0; i < 6; ++i) list.Add(new Element{i});
  list.DeleteAll();
  EXPECT_EQ(order, (std::vector<int>{5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Get(0), nullptr);
}

}  // namespace
