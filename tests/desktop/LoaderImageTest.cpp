// The loader's handling of images built byte by byte: refusals, relocation, imports and
// exports. None of these images is a DLL of this machine, so no code of them runs; the same
// tests run in the 64-bit and the 32-bit test programs.
#include "PeImageBuilder.h"
#include "desktop/InMemoryLibrary.h"
#include "platform/memory/FakeVirtualMemory.h"
#include "platform/memory/SystemLibraries.h"
#include "platform/memory/VirtualMemory.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using qinglan::desktop::InMemoryLibrary;
using qinglan::desktop::LoadFailure;
using qinglan::platform::FakeVirtualMemory;
using qinglan::test::PeImageBuilder;

namespace {

class RecordingLibraries final : public qinglan::platform::SystemLibraries {
public:
    std::vector<std::string> loaded;
    std::vector<std::string> names;
    std::vector<unsigned> ordinals;
    std::uintptr_t answer = 0;

    void* load(const char* name) override {
        loaded.push_back(name);
        return nullptr;
    }
    std::uintptr_t findByName(void*, const char* name) override {
        names.push_back(name);
        return answer;
    }
    std::uintptr_t findByOrdinal(void*, std::uint16_t ordinal) override {
        ordinals.push_back(ordinal);
        return answer;
    }
};

struct HookCalls {
    std::vector<std::pair<std::string, std::string>> calls;
    std::uintptr_t answer = 0x1234;
};

std::uintptr_t recordingHook(const char* library, const char* routine, std::uintptr_t parameter) {
    auto* calls = reinterpret_cast<HookCalls*>(parameter);
    calls->calls.emplace_back(library, routine);
    return calls->answer;
}

class LoaderImage : public ::testing::Test {
protected:
    FakeVirtualMemory memory;
    RecordingLibraries libraries;
    InMemoryLibrary library{memory, libraries};

    bool load(const PeImageBuilder& image, InMemoryLibrary::ImportHook hook = nullptr,
              std::uintptr_t parameter = 0) {
        return library.Load(image.bytes(), hook, parameter);
    }
    const std::uint8_t* mapped(std::uint32_t rva) const {
        return reinterpret_cast<const std::uint8_t*>(library.GetBase()) + rva;
    }
    std::uint32_t mapped32(std::uint32_t rva) const {
        std::uint32_t v;
        std::memcpy(&v, mapped(rva), 4);
        return v;
    }
    void expectRefused(const PeImageBuilder& image, LoadFailure why) {
        EXPECT_FALSE(library.Load(image.bytes()));
        EXPECT_EQ(library.GetBase(), 0u);
        EXPECT_EQ(library.lastFailure(), why);
        EXPECT_EQ(memory.liveRegions(), 0u) << "a refused load must give its region back";
    }
};

TEST_F(LoaderImage, MapsHeadersAndSectionsOfAWellFormedImage) {
    PeImageBuilder image;
    image.putText(0x1800, "section data");
    image.setEntryPoint(0x1100);
    ASSERT_TRUE(load(image));
    EXPECT_NE(library.GetBase(), 0u);
    EXPECT_EQ(std::memcmp(mapped(0), image.bytes().data(), PeImageBuilder::kSectionTable + 40), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(mapped(0x1800)), "section data");
    EXPECT_EQ(library.GetEntryPoint(), library.GetBase() + 0x1100);
    EXPECT_EQ(library.lastFailure(), LoadFailure::None);
}

TEST_F(LoaderImage, RefusesEachBrokenHeader) {
    {
        PeImageBuilder image;
        image.bytes().resize(63);
        expectRefused(image, LoadFailure::TooSmall);
    }
    {
        PeImageBuilder image;
        image.put16(0, 0x4D5A); // "ZM"
        expectRefused(image, LoadFailure::NoDosSignature);
    }
    {
        PeImageBuilder image;
        image.put32(0x3C, 0x3000 - 247); // NT headers one byte beyond the end
        expectRefused(image, LoadFailure::NtHeadersOutside);
    }
    {
        PeImageBuilder image;
        image.put32(0x3C, 0xFFFFFF00); // negative e_lfanew
        expectRefused(image, LoadFailure::NtHeadersOutside);
    }
    {
        PeImageBuilder image;
        image.put32(PeImageBuilder::kNt, 0x00004551);
        expectRefused(image, LoadFailure::NoNtSignature);
    }
    {
        PeImageBuilder image;
        image.setCharacteristics(0x2100); // DLL, but not an executable image
        expectRefused(image, LoadFailure::NotExecutable);
    }
    {
        PeImageBuilder image;
        image.setNumberOfSections(300); // table runs past the 0x3000 bytes
        expectRefused(image, LoadFailure::SectionTableOutside);
    }
    {
        PeImageBuilder image;
        image.setNumberOfSections(0x8000); // negative as a signed count
        expectRefused(image, LoadFailure::SectionTableOutside);
    }
}

TEST_F(LoaderImage, RefusesLayoutsNoRegionCanHold) {
    {
        PeImageBuilder image;
        image.setSectionAlignment(0); // would divide by zero
        expectRefused(image, LoadFailure::BadLayout);
    }
    {
        PeImageBuilder image;
        image.setSizeOfImage(0);
        image.setNumberOfSections(0);
        expectRefused(image, LoadFailure::BadLayout);
    }
    {
        PeImageBuilder image; // headers larger than the region
        image.put32(0x3C, 0x400);
        image.put32(0x400, 0x00004550);
        image.put16(0x404 + 18, 0x0102); // Characteristics: executable image
        image.put32(0x418 + 56, 0x100);  // SizeOfImage smaller than the headers
        expectRefused(image, LoadFailure::BadLayout);
    }
    {
        PeImageBuilder image; // section end beyond 4 GiB
        image.setSection(0x10, 0xFFFFF000, 0x2000, 0x1000);
        expectRefused(image, LoadFailure::BadLayout);
    }
}

TEST_F(LoaderImage, RefusesSectionDataOutsideTheImage) {
    PeImageBuilder image;
    image.setSection(0x2000, 0x1000, 0x2000, 0x1001); // one byte past the end
    expectRefused(image, LoadFailure::BadSection);
    image.setSection(0x2000, 0x1000, 0xFFFFFFFF, 0x1000);
    expectRefused(image, LoadFailure::BadLayout);
}

TEST_F(LoaderImage, SectionsWithoutRawDataOrAddressStayZero) {
    PeImageBuilder image;
    image.putText(0x1800, "not copied");
    image.setSection(0x2000, 0x1000, 0, 0x1000);
    ASSERT_TRUE(load(image));
    EXPECT_EQ(*mapped(0x1800), 0);
}

TEST_F(LoaderImage, ReportsNoMemoryWhenNoRegionIsGiven) {
    memory.grantAnywhere = false;
    PeImageBuilder image;
    expectRefused(image, LoadFailure::NoMemory);
}

TEST_F(LoaderImage, RelocatesHighLowEntriesAndSkipsFillers) {
    PeImageBuilder image(0x30000000);
    image.put32(0x2000, 0x30001234); // an absolute address inside the image
    image.put32(0x2004, 0x30005678); // target of a filler entry only
    image.writeRelocations(0x2800, 0x2000, {0x3000, 0x0004, 0x0000});
    ASSERT_TRUE(load(image)); // the fake never grants the preferred address
    const auto delta = std::uint32_t(library.GetBase() - 0x30000000u);
    EXPECT_NE(delta, 0u);
    EXPECT_EQ(mapped32(0x2000), 0x30001234u + delta);
    EXPECT_EQ(mapped32(0x2004), 0x30005678u);
}

TEST_F(LoaderImage, RefusesMalformedRelocationTables) {
    {
        PeImageBuilder image;
        image.writeRelocations(0x2800, 0x2000, {0x3000});
        image.put32(0x2804, 4); // block shorter than its head
        expectRefused(image, LoadFailure::BadRelocations);
    }
    {
        PeImageBuilder image;
        image.writeRelocations(0x2800, 0x2000, {0x3000});
        image.put32(0x2804, 0x100); // block runs past the directory
        expectRefused(image, LoadFailure::BadRelocations);
    }
    {
        PeImageBuilder image;
        image.writeRelocations(0x2800, 0x2FF0, {0x3000 | 0x00E}); // target straddles the end
        expectRefused(image, LoadFailure::BadRelocations);
    }
    {
        PeImageBuilder image;
        image.setDirectory(5, 0x2FF8, 0x100); // directory beyond the region
        expectRefused(image, LoadFailure::BadRelocations);
    }
}

TEST_F(LoaderImage, StopsRelocatingAtAZeroPage) {
    PeImageBuilder image;
    image.put32(0x2000, 0x30000010);
    image.writeRelocations(0x2800, 0x2000, {0x3000});
    image.setDirectory(5, 0x2800, 0x100); // zero block follows; the rest would be garbage
    ASSERT_TRUE(load(image));
    EXPECT_EQ(mapped32(0x2000), 0x30000010u + std::uint32_t(library.GetBase() - 0x30000000u));
}

TEST_F(LoaderImage, ResolvesImportsThroughTheHookFirst) {
    PeImageBuilder image;
    image.writeImports(0x2000, "host.dll", {{"host_record", 0}, {"", 7}});
    HookCalls hook;
    ASSERT_TRUE(load(image, recordingHook, reinterpret_cast<std::uintptr_t>(&hook)));
    const std::vector<std::pair<std::string, std::string>> expected{{"host.dll", "host_record"},
                                                                    {"host.dll", "7"}};
    EXPECT_EQ(hook.calls, expected);
    EXPECT_EQ(mapped32(image.importAddressTable()), 0x1234u);
    EXPECT_EQ(mapped32(image.importAddressTable() + 4), 0x1234u);
    EXPECT_EQ(libraries.loaded, std::vector<std::string>{"host.dll"});
    EXPECT_TRUE(libraries.names.empty()) << "the system is asked only when the hook has nothing";
}

TEST_F(LoaderImage, AsksTheSystemWithTheBareOrdinalWhenTheHookHasNothing) {
    PeImageBuilder image;
    image.writeImports(0x2000, "host.dll", {{"by_name", 0}, {"", 7}});
    HookCalls hook;
    hook.answer = 0;
    libraries.answer = 0x5678;
    ASSERT_TRUE(load(image, recordingHook, reinterpret_cast<std::uintptr_t>(&hook)));
    EXPECT_EQ(libraries.names, std::vector<std::string>{"by_name"});
    EXPECT_EQ(libraries.ordinals, std::vector<unsigned>{7});
    EXPECT_EQ(mapped32(image.importAddressTable() + 4), 0x5678u);
}

TEST_F(LoaderImage, RefusesAnImageWhoseImportNobodySupplies) {
    PeImageBuilder image;
    image.writeImports(0x2000, "host.dll", {{"missing", 0}});
    expectRefused(image, LoadFailure::MissingImport); // no hook, and Linux-like libraries
}

TEST_F(LoaderImage, RefusesMalformedImportTables) {
    HookCalls hook;
    const auto parameter = reinterpret_cast<std::uintptr_t>(&hook);
    {
        PeImageBuilder image; // descriptors run off the region without a terminator
        for (std::uint32_t at = 0x1000; at < 0x3000; at += 4)
            image.put32(at, 0x1000);
        image.setDirectory(1, 0x1000, 20);
        EXPECT_FALSE(load(image, recordingHook, parameter));
        EXPECT_EQ(library.lastFailure(), LoadFailure::BadImports);
    }
    {
        PeImageBuilder image; // library name without a terminator at the region's end
        image.writeImports(0x2000, "host.dll", {{"f", 0}});
        for (std::uint32_t at = 0x2F00; at < 0x3000; ++at)
            image.bytes()[at] = 'x';
        image.put32(0x2000 + 12, 0x2F00);
        EXPECT_FALSE(load(image, recordingHook, parameter));
        EXPECT_EQ(library.lastFailure(), LoadFailure::BadImports);
    }
    {
        PeImageBuilder image; // routine name beyond the region
        image.writeImports(0x2000, "host.dll", {{"f", 0}});
        image.put32(image.importAddressTable(), 0x7FFFFFF0);
        EXPECT_FALSE(load(image, recordingHook, parameter));
        EXPECT_EQ(library.lastFailure(), LoadFailure::BadImports);
    }
    {
        PeImageBuilder image; // address table without its terminating slot
        image.writeImports(0x2000, "host.dll", {{"f", 0}});
        image.put32(0x2000 + 16, 0x2FFC);
        image.put32(0x2FFC, 0x80000001);
        EXPECT_FALSE(load(image, recordingHook, parameter));
        EXPECT_EQ(library.lastFailure(), LoadFailure::BadImports);
    }
    EXPECT_EQ(memory.liveRegions(), 0u);
}

TEST_F(LoaderImage, RefusesAnImportAddressThatDoesNotFitTheSlot) {
    if (sizeof(std::uintptr_t) == 4) GTEST_SKIP() << "every address fits a 32-bit slot";
    PeImageBuilder image;
    image.writeImports(0x2000, "host.dll", {{"f", 0}});
    HookCalls hook;
    hook.answer = std::uintptr_t(0x100000000ull);
    EXPECT_FALSE(load(image, recordingHook, reinterpret_cast<std::uintptr_t>(&hook)));
    EXPECT_EQ(library.lastFailure(), LoadFailure::MissingImport);
}

class LoaderExports : public LoaderImage {
protected:
    void SetUp() override {
        // Ordinal base 1: Alpha = 1, (hole) = 2, SkinH_Detach = 3, (no name) = 4.
        image.writeExports(
            0x2000, 1, {{"Alpha", 0x1100}, {"Hole", 0}, {"SkinH_Detach", 0x1300}, {"", 0x1400}});
    }
    PeImageBuilder image;
};

TEST_F(LoaderExports, FindsNamesExactlyAndOrdinalsByDecimalText) {
    ASSERT_TRUE(load(image));
    const auto base = library.GetBase();
    EXPECT_EQ(library.GetExport("SkinH_Detach"), base + 0x1300);
    EXPECT_EQ(library.GetExport("Alpha"), base + 0x1100);
    EXPECT_EQ(library.GetExport("skinh_detach"), 0u);
    EXPECT_EQ(library.GetExport("SkinH_Detach "), 0u);
    EXPECT_EQ(library.GetExport("Hole"), 0u) << "a function address of 0 is no routine";
    EXPECT_EQ(library.GetExport("3"), base + 0x1300);
    EXPECT_EQ(library.GetExport("4"), base + 0x1400);
    EXPECT_EQ(library.GetExport("2"), 0u);
    EXPECT_EQ(library.GetExport("0"), 0u);
    EXPECT_EQ(library.GetExport("5"), 0u);
    EXPECT_EQ(library.GetExport("-1"), 0u);
    EXPECT_EQ(library.GetExport("03"), 0u) << "\"03\" is a name, not ordinal 3";
    EXPECT_EQ(library.GetExport("99999999999"), 0u);
    EXPECT_EQ(library.GetExport(""), 0u);
    EXPECT_EQ(library.GetExport(nullptr), 0u);
}

TEST_F(LoaderExports, AnswersZeroForTablesOutsideTheRegion) {
    image.put32(0x2000 + 20, 0x40000000); // NumberOfFunctions far beyond the table
    image.put32(0x2000 + 28, 0x2FFC);     // AddressOfFunctions at the region's end
    ASSERT_TRUE(load(image));
    EXPECT_EQ(library.GetExport("2"), 0u);
    EXPECT_EQ(library.GetExport("SkinH_Detach"), 0u);

    PeImageBuilder names; // more names than the tables in the region can hold
    names.writeExports(0x2000, 1, {{"Alpha", 0x1100}});
    names.put32(0x2000 + 24, 0x7FFFFFFF);
    ASSERT_TRUE(load(names));
    EXPECT_EQ(library.GetExport("Alpha"), 0u);
    names.put32(0x2000 + 24, 0x8000);
    ASSERT_TRUE(load(names));
    EXPECT_EQ(library.GetExport("Alpha"), 0u);

    PeImageBuilder unterminated; // the second name runs to the end of the region
    unterminated.writeExports(0x2000, 1, {{"Alpha", 0x1100}, {"Beta", 0x1200}});
    const std::uint32_t beta = unterminated.get32(0x2000 + 40 + 8 + 4);
    for (std::uint32_t at = beta; at < 0x3000; ++at)
        unterminated.bytes()[at] = 'x';
    ASSERT_TRUE(load(unterminated));
    EXPECT_EQ(library.GetExport("Alpha"), library.GetBase() + 0x1100);
    EXPECT_EQ(library.GetExport("Beta"), 0u);

    PeImageBuilder directory;
    directory.setDirectory(0, 0x2FF0, 0x40);
    ASSERT_TRUE(load(directory));
    EXPECT_EQ(library.GetExport("Alpha"), 0u);
    EXPECT_EQ(library.GetExport("1"), 0u);

    PeImageBuilder functionBeyond;
    functionBeyond.writeExports(0x2000, 1, {{"Far", 0x40000000}});
    ASSERT_TRUE(load(functionBeyond));
    EXPECT_EQ(library.GetExport("Far"), 0u);
}

TEST_F(LoaderExports, NothingLoadedFindsNothing) {
    EXPECT_EQ(library.GetExport("Alpha"), 0u);
    EXPECT_EQ(library.GetEntryPoint(), 0u);
    EXPECT_EQ(library.GetBase(), 0u);
}

TEST_F(LoaderImage, RefusesADllThisProcessCannotRun) {
    PeImageBuilder image(0x30000000, PeImageBuilder::kExecutable | PeImageBuilder::kDll);
    image.setMachine(0x01C4); // ARM Thumb-2
    image.setEntryPoint(0x1000);
    expectRefused(image, LoadFailure::ForeignMachine);
    if (qinglan::desktop::hostMachine() != 0x014C) {
        image.setMachine(0x014C); // i386 code in a process of another machine
        expectRefused(image, LoadFailure::ForeignMachine);
    }
}

TEST_F(LoaderImage, ADllEntryPointOutsideTheImageIsNeverCalled) {
    if (qinglan::desktop::hostMachine() != 0x014C) GTEST_SKIP() << "DLLs are refused earlier here";
    PeImageBuilder image(0x30000000, PeImageBuilder::kExecutable | PeImageBuilder::kDll);
    image.setEntryPoint(0x00400000);
    expectRefused(image, LoadFailure::BadEntryPoint);
    image.setEntryPoint(0); // no entry point at all: nothing to run, the DLL loads
    EXPECT_TRUE(load(image));
}

TEST_F(LoaderImage, LoadingAgainUnloadsFirstAndUnloadWithNothingSucceeds) {
    EXPECT_TRUE(library.Unload());
    PeImageBuilder image;
    ASSERT_TRUE(load(image));
    const auto first = library.GetBase();
    ASSERT_TRUE(load(image));
    EXPECT_EQ(memory.reservations(), 2u);
    EXPECT_EQ(memory.liveRegions(), 1u) << "the first image is released by the second Load";
    EXPECT_NE(library.GetBase(), 0u);
    (void)first;
    EXPECT_TRUE(library.Unload());
    EXPECT_EQ(library.GetBase(), 0u);
    EXPECT_EQ(memory.liveRegions(), 0u);
    EXPECT_TRUE(library.Unload());
}

TEST_F(LoaderImage, AFailedLoadAfterASuccessfulOneLeavesNothingLoaded) {
    ASSERT_TRUE(load(PeImageBuilder()));
    PeImageBuilder broken;
    broken.put16(0, 0);
    EXPECT_FALSE(load(broken));
    EXPECT_EQ(library.GetBase(), 0u);
    EXPECT_EQ(memory.liveRegions(), 0u);
}

TEST_F(LoaderImage, UnloadKeepsAnImageWhoseHeadersWereOverwritten) {
    ASSERT_TRUE(load(PeImageBuilder()));
    *reinterpret_cast<std::uint8_t*>(library.GetBase()) = 0;
    EXPECT_FALSE(library.Unload());
    EXPECT_NE(library.GetBase(), 0u);
    EXPECT_EQ(library.GetExport("1"), 0u);
    EXPECT_EQ(library.GetEntryPoint(), 0u);
}

TEST_F(LoaderImage, ACopySharesTheImageAndDestroyingDoesNotUnload) {
    {
        InMemoryLibrary scoped(memory, libraries);
        ASSERT_TRUE(scoped.Load(PeImageBuilder().bytes()));
        InMemoryLibrary copy = scoped;
        EXPECT_EQ(copy.GetBase(), scoped.GetBase());
    }
    EXPECT_EQ(memory.liveRegions(), 1u);
}

// With the process's own memory: the preferred base is used when free (delta 0, nothing
// changes) and another place is found when it is taken.
TEST(LoaderSystemMemory, UsesTheFreePreferredBaseAndRelocatesWhenItIsTaken) {
    constexpr std::uint32_t kBase = 0x2E000000;
    PeImageBuilder image(kBase);
    image.put32(0x2000, kBase + 0x1234);
    image.writeRelocations(0x2800, 0x2000, {0x3000});

    InMemoryLibrary first;
    ASSERT_TRUE(first.Load(image.bytes()));
    EXPECT_EQ(first.GetBase(), kBase);
    EXPECT_EQ(*reinterpret_cast<const std::uint32_t*>(std::uintptr_t{kBase} + 0x2000),
              kBase + 0x1234);

    InMemoryLibrary second;
    ASSERT_TRUE(second.Load(image.bytes()));
    EXPECT_NE(second.GetBase(), kBase);
    const auto delta = std::uint32_t(second.GetBase() - kBase);
    EXPECT_EQ(*reinterpret_cast<const std::uint32_t*>(second.GetBase() + 0x2000),
              kBase + 0x1234 + delta);
    EXPECT_TRUE(second.Unload());
    EXPECT_TRUE(first.Unload());
}

} // namespace
