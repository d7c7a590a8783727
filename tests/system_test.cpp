// System and memory services: memory figures, rename without replacing, memory helpers.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

#include "orvcore.h"
#include "platform/memory_status.h"

using namespace orv;

TEST(SystemMemory, FiguresFromKernelTexts) {
    const char* meminfo =
        "MemTotal:        2097152 kB\nMemFree:          100000 kB\nMemAvailable:    1048576 kB\n"
        "SwapTotal:       1048576 kB\nSwapFree:         524288 kB\n";
    const MemoryStatus m = memoryStatusFrom(meminfo, "Name:\tx\nVmSize:\t  1048576 kB\n", uint64_t{1} << 47);
    EXPECT_EQ(megabytes(m.totalPhys), 2048);
    EXPECT_EQ(megabytes(m.availPhys), 1024);
    EXPECT_EQ(megabytes(m.totalPageFile), 3072);
    EXPECT_EQ(megabytes(m.availPageFile), 1536);
    EXPECT_EQ(megabytes(m.totalVirtual), 1 << 27);
    EXPECT_EQ(megabytes(m.availVirtual), (1 << 27) - 1024);
    // Older kernels lack MemAvailable; figures past 32 bits of megabytes are cut.
    EXPECT_EQ(megabytes(memoryStatusFrom("MemTotal: 4 kB\nMemFree: 2048 kB\n", "", 0).availPhys), 2);
    EXPECT_EQ(megabytes((uint64_t{1} << 52) + (uint64_t{5} << 20)), 5);

    EXPECT_GT(ORV_GetTotalPhyMemory(), 0);
    EXPECT_LE(ORV_GetAvailPhyMemory(), ORV_GetTotalPhyMemory());
    EXPECT_GE(ORV_GetTotalPgMemory(), ORV_GetTotalPhyMemory());
    EXPECT_GT(ORV_GetAvailVirMemory(), 0);
}

TEST(SystemFiles, RenameNeverReplaces) {
    const std::string dir = ::testing::TempDir();
    const std::string a = dir + "orv_rename_a_" + std::to_string(getpid()), b = dir + "orv_rename_b_" + std::to_string(getpid());
    std::ofstream(a) << "a";
    std::ofstream(b) << "b";
    EXPECT_EQ(ORV_RenameFile(a.c_str(), b.c_str()), 0);
    std::string content;
    std::ifstream(b) >> content;
    EXPECT_EQ(content, "b");
    std::remove(b.c_str());
    EXPECT_EQ(ORV_RenameFile(a.c_str(), b.c_str()), 1);
    EXPECT_EQ(ORV_RenameFile(a.c_str(), b.c_str()), 0);  // source gone
    EXPECT_EQ(ORV_RenameFile(nullptr, b.c_str()), 0);
    std::remove(b.c_str());

    const char* d1 = ORV_GetDirInfo();
    EXPECT_EQ(ORV_GetDirInfo(), d1);
    EXPECT_EQ(access(d1, F_OK), 0);
}

TEST(SystemMemory, HelpersIgnoreNullAndNegative) {
    char* p = static_cast<char*>(ORV_Alloc(16));
    ASSERT_NE(p, nullptr);
    ORV_Memcpy(p, "0123456789abcdef", 16);
    ORV_Memcpy(p, nullptr, 16);
    ORV_Memcpy(nullptr, p, 16);
    ORV_Memcpy(p, "xyz", -1);
    EXPECT_EQ(std::string(p, 16), "0123456789abcdef");
    EXPECT_EQ(BankAdrs(p), p);
    ORV_Free(p);
    ORV_Free(nullptr);
    EXPECT_EQ(ORV_Alloc(-1), nullptr);
    void* z = ORV_Alloc(0);
    EXPECT_NE(z, nullptr);
    ORV_Free(z);
}
