#include <gtest/gtest.h>
#include "support/system/InstanceRegistry.h"
#include <cstring>
#include <string>
#include <vector>

namespace {

// Process ids no real process has here; every test removes what it registered.
const DWORD kPidA = 0x7FFF0001;
const DWORD kPidB = 0x7FFF0002;
const DWORD kFillBase = 0x7FFE0000;

// A copy of the shared table as another program sees it; false when there is none.
bool ReadTable(tagInstInfoTable& table)
{
    HANDLE h = OpenFileMappingA(FILE_MAP_READ, FALSE, INSTINFO_MAPPING_NAME);
    if (!h)
        return false;
    void* view = MapViewOfFile(h, FILE_MAP_READ, 0, 0, sizeof(table));
    bool ok = view != nullptr;
    if (view) {
        memcpy(&table, view, sizeof(table));
        UnmapViewOfFile(view);
    }
    CloseHandle(h);
    return ok;
}

// Changes the table as another program could, under the shared mutex.
template <class F>
void PokeTable(F change)
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, INSTINFO_MUTEX_NAME);
    WaitForSingleObject(mutex, INFINITE);
    HANDLE h = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, INSTINFO_MAPPING_NAME);
    ASSERT_NE(nullptr, h);
    auto* table = static_cast<tagInstInfoTable*>(MapViewOfFile(h, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(tagInstInfoTable)));
    ASSERT_NE(nullptr, table);
    change(*table);
    UnmapViewOfFile(table);
    CloseHandle(h);
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

int IndexOf(const tagInstInfoTable& table, DWORD pid)
{
    for (int i = 0; i < INSTINFO_RECORDS; ++i)
        if ((table.entries[i].flags & 1) && table.entries[i].processId == pid)
            return i;
    return -1;
}

std::string Bytes(const void* p, size_t n) { return std::string(static_cast<const char*>(p), n); }

// The 40 bytes of a record: flags, pid, 0, window, 0, invoker id, invoker window, 0, 0, 0.
std::string Record(uint32_t pid, uint32_t window, uint32_t invokerId, uint32_t invokerWindow)
{
    uint32_t w[10] = {1, pid, 0, window, 0, invokerId, invokerWindow, 0, 0, 0};
    return Bytes(w, sizeof(w));
}

class InstanceRegistry : public ::testing::Test {
protected:
    void TearDown() override
    {
        C_InstanceRegistry cleanup;
        cleanup.Unregister(kPidA);
        cleanup.Unregister(kPidB);
        for (DWORD i = 0; i < INSTINFO_RECORDS; ++i)
            cleanup.Unregister(kFillBase + i);
    }
};

} // namespace

TEST_F(InstanceRegistry, RegistrationsLaidOutByteForByte)
{
    tagInstInfoTable before;
    bool existed = ReadTable(before);
    UINT live = existed ? before.header.liveRecords : 0;

    C_InstanceRegistry registry;
    ASSERT_TRUE(registry.Register(kPidA, 7, 0x00012345));
    tagInstInfoTable t;
    ASSERT_TRUE(ReadTable(t));
    const uint32_t header[8] = {40, 0x10000, 256, 40, live + 1, 0, 0, 0};
    EXPECT_EQ(Bytes("ZIDEInst", 8), Bytes(t.header.magic, 8));
    EXPECT_EQ(Bytes(header, sizeof(header)), Bytes(&t.header.headerSize, 32));
    int a = IndexOf(t, kPidA);
    ASSERT_GE(a, 0);
    if (!existed) {
        EXPECT_EQ(0, a);
    }
    EXPECT_EQ(Record(kPidA, 0, 7, 0x00012345), Bytes(&t.entries[a], 40));
    EXPECT_EQ(live + 1, registry.GetCount());

    ASSERT_TRUE(registry.Register(kPidB, 9, 0x00054321));
    ASSERT_TRUE(registry.SetMainWindow(kPidB, 0x00ABCDEF));
    tagInstInfoTable t2;
    ASSERT_TRUE(ReadTable(t2));
    int b = IndexOf(t2, kPidB);
    ASSERT_GE(b, 0);
    EXPECT_EQ(Bytes(&t.entries[a], 40), Bytes(&t2.entries[a], 40));
    EXPECT_EQ(Record(kPidB, 0x00ABCDEF, 9, 0x00054321), Bytes(&t2.entries[b], 40));
    EXPECT_EQ(live + 2, t2.header.liveRecords);

    ASSERT_TRUE(registry.Unregister(kPidB));
    tagInstInfoTable t3;
    ASSERT_TRUE(ReadTable(t3));
    EXPECT_EQ(std::string(40, '\0'), Bytes(&t3.entries[b], 40));
    EXPECT_EQ(Bytes(&t.entries[a], 40), Bytes(&t3.entries[a], 40));
    EXPECT_EQ(live + 1, t3.header.liveRecords);

    // No record of that process: FALSE, nothing changes.
    EXPECT_FALSE(registry.Unregister(kPidB));
    EXPECT_FALSE(registry.SetMainWindow(kPidB, 1));
    tagInstInfoTable t4;
    ASSERT_TRUE(ReadTable(t4));
    EXPECT_EQ(0, memcmp(&t3, &t4, sizeof(t3)));

    ASSERT_TRUE(registry.Unregister(kPidA));
}

TEST_F(InstanceRegistry, NoTableIsNeverCreatedByTheOtherOperations)
{
    tagInstInfoTable t;
    if (ReadTable(t))
        GTEST_SKIP() << "another program holds the table";
    C_InstanceRegistry registry;
    EXPECT_FALSE(registry.Unregister(kPidA));
    EXPECT_FALSE(registry.SetMainWindow(kPidA, 1));
    EXPECT_EQ(0u, registry.GetCount());
    EXPECT_FALSE(ReadTable(t));
}

TEST_F(InstanceRegistry, FullTableRefused)
{
    C_InstanceRegistry registry;
    DWORD added = 0;
    while (added < INSTINFO_RECORDS && registry.Register(kFillBase + added, 0, 0))
        ++added;
    ASSERT_LT(0u, added);
    tagInstInfoTable t;
    ASSERT_TRUE(ReadTable(t));
    EXPECT_EQ(nullptr, C_InstanceRegistry::FindFreeEntry(&t));
    EXPECT_FALSE(registry.Register(kPidA, 1, 1));
    EXPECT_EQ(256u, registry.GetCount());
    for (DWORD i = 0; i < added; ++i)
        EXPECT_TRUE(registry.Unregister(kFillBase + i));
}

// The table is other programs' data: a wrong count or a short object must not
// lead the registry outside the table.
TEST_F(InstanceRegistry, HostileTableKeptWithinBounds)
{
    tagInstInfoTable t;
    if (ReadTable(t))
        GTEST_SKIP() << "another program holds the table";
    {
        HANDLE small = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 100,
                                          INSTINFO_MAPPING_NAME);
        ASSERT_NE(nullptr, small);
        C_InstanceRegistry registry;
        EXPECT_FALSE(registry.Register(kPidA, 1, 1));
        EXPECT_FALSE(registry.Unregister(kPidA));
        EXPECT_EQ(0u, registry.GetCount());
        CloseHandle(small);
    }

    C_InstanceRegistry registry;
    ASSERT_TRUE(registry.Register(kPidA, 1, 1));
    // A count the table cannot hold: the records in use are counted instead.
    PokeTable([](tagInstInfoTable& table) { table.header.liveRecords = 0xFFFFFFF0u; });
    EXPECT_EQ(1u, registry.GetCount());
    ASSERT_TRUE(registry.Register(kPidB, 1, 1));
    ASSERT_TRUE(ReadTable(t));
    EXPECT_EQ(2u, t.header.liveRecords);
    ASSERT_TRUE(registry.Unregister(kPidB));

    PokeTable([](tagInstInfoTable& table) { table.header.liveRecords = 0; });
    EXPECT_TRUE(registry.Unregister(kPidA));
    ASSERT_TRUE(ReadTable(t));
    EXPECT_EQ(0u, t.header.liveRecords);
}
