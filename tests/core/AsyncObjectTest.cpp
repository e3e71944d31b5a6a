#include <gtest/gtest.h>

#include "framework/core/AsyncObject.h"

namespace {

struct cCountedEntry : Container::cAsyncObject::sEntry
{
    explicit cCountedEntry(int& alive) : m_alive(alive) { ++m_alive; }
    ~cCountedEntry() override { --m_alive; }
    int& m_alive;
};

} // namespace

TEST(AsyncObjectTest, StartsEmptyAndAnswersZero)
{
    Container::cAsyncObject object;
    EXPECT_EQ(object.PendingCount(), 0);
    EXPECT_EQ(object.FirstEntry(), nullptr);
    EXPECT_EQ(object.EntryCount(), 0u);
}

TEST(AsyncObjectTest, DestructorFreesEveryEntryOfALongList)
{
    int alive = 0;
    {
        Container::cAsyncObject object;
        for (int i = 0; i < 100000; ++i)
            object.AddEntry(new cCountedEntry(alive));
        EXPECT_EQ(alive, 100000);
        EXPECT_EQ(object.EntryCount(), 100000u);
    }
    EXPECT_EQ(alive, 0);
}

TEST(AsyncObjectTest, FreeEntriesEmptiesTheListAndResetsTheCounters)
{
    int alive = 0;
    Container::cAsyncObject object;
    object.AddEntry(new cCountedEntry(alive));
    object.AddEntry(new cCountedEntry(alive));
    object.FreeEntries();
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(object.FirstEntry(), nullptr);
    EXPECT_EQ(object.EntryCount(), 0u);
    EXPECT_EQ(object.CompletedCount(), 0u);
}
