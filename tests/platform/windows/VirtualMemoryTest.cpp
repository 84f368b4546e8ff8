// The in-memory loader's memory and library services on Windows.
#include <platform/memory/SystemLibraries.h>
#include <platform/memory/VirtualMemory.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

using namespace qinglan::platform;

TEST(WindowsVirtualMemory, RegionsAreZeroedWritableAndTakenOnlyWhereFree) {
    auto& memory = systemVirtualMemory();
    EXPECT_EQ(memory.reserveAt(0, 4096), nullptr);
    EXPECT_EQ(memory.reserveAnywhere(0), nullptr);
    auto* region = static_cast<unsigned char*>(memory.reserveAnywhere(1 << 16));
    ASSERT_NE(region, nullptr);
    for (int i = 0; i < (1 << 16); i += 4096)
        EXPECT_EQ(region[i], 0);
    std::memset(region, 0xC3, 1 << 16);
    const auto address = reinterpret_cast<std::uintptr_t>(region);
    EXPECT_EQ(memory.reserveAt(address, 4096), nullptr); // taken
    ASSERT_TRUE(memory.release(region, 1 << 16));
    void* again = memory.reserveAt(address, 1 << 16);
    EXPECT_EQ(again, region);
    if (again) {
        EXPECT_EQ(static_cast<unsigned char*>(again)[100], 0);
        EXPECT_TRUE(memory.release(again, 1 << 16));
    }
}

TEST(WindowsSystemLibraries, FindsRoutinesByNameAndOrdinal) {
    auto& libraries = systemLibraries();
    void* kernel = libraries.load("kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    EXPECT_EQ(libraries.findByName(kernel, "GetTickCount"),
              reinterpret_cast<std::uintptr_t>(&GetTickCount));
    EXPECT_EQ(libraries.findByName(kernel, "NoSuchRoutine"), 0u);
    EXPECT_EQ(libraries.load("no-such-library.dll"), nullptr);
    EXPECT_EQ(libraries.findByName(nullptr, "GetTickCount"), 0u);
    EXPECT_EQ(libraries.findByOrdinal(nullptr, 1), 0u);
    // An ordinal names the same routine as its name: the export directory's first ordinal.
    const auto* base = static_cast<const unsigned char*>(kernel);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    const auto* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
    const char* first = reinterpret_cast<const char*>(base + names[0]);
    const auto ordinal = static_cast<std::uint16_t>(exports->Base + ordinals[0]);
    EXPECT_EQ(libraries.findByOrdinal(kernel, ordinal), libraries.findByName(kernel, first))
        << first;
}
