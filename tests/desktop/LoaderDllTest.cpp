// Real Windows DLLs, made by the test build with the MinGW cross compiler, mapped by the
// loader. In a 32-bit x86 process their code runs: entry point, relocated data, imports
// supplied through the hook, exports. In any other process they are refused unrun.
#include "desktop/InMemoryLibrary.h"
#include "platform/memory/SystemLibraries.h"
#include "platform/memory/VirtualMemory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using qinglan::desktop::InMemoryLibrary;
using qinglan::desktop::LoadFailure;

namespace {

constexpr std::uintptr_t kPreferredBase = 0x30000000; // --image-base of the test DLLs

std::vector<std::uint8_t> readDll(const char* name) {
    std::ifstream in(std::string(QINGLAN_LOADER_TEST_DLL_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What the DLL's code reported through its imports.
std::vector<int> entryReasons;
std::vector<std::string> hookAsked;

#if defined(__i386__)
// Called from MinGW code, which keeps the stack only 4-byte aligned.
#define DLL_CALLBACK __attribute__((stdcall, force_align_arg_pointer))
#define DLL_EXPORT_CALL __attribute__((stdcall))
#else
#define DLL_CALLBACK
#define DLL_EXPORT_CALL
#endif

extern "C" DLL_CALLBACK void hostRecord(int what, int value) {
    if (what == 1) entryReasons.push_back(value);
}
extern "C" DLL_CALLBACK int hostTwice(int value) {
    return 2 * value;
}

std::uintptr_t hostHook(const char* library, const char* routine, std::uintptr_t parameter) {
    hookAsked.push_back(std::string(library) + "!" + routine);
    const bool supplyOrdinal = parameter != 0;
    if (std::string(routine) == "host_record") return reinterpret_cast<std::uintptr_t>(&hostRecord);
    if (supplyOrdinal && std::string(routine) == "5")
        return reinterpret_cast<std::uintptr_t>(&hostTwice);
    return 0;
}

// Counts what the loader reserves and gives back, using the process's own memory.
class CountingMemory final : public qinglan::platform::VirtualMemory {
public:
    int live = 0;
    void* reserveAt(std::uintptr_t a, std::size_t s) override {
        return count(system().reserveAt(a, s));
    }
    void* reserveAnywhere(std::size_t s) override { return count(system().reserveAnywhere(s)); }
    bool release(void* a, std::size_t s) override {
        const bool ok = system().release(a, s);
        live -= ok ? 1 : 0;
        return ok;
    }

private:
    static qinglan::platform::VirtualMemory& system() {
        return qinglan::platform::systemVirtualMemory();
    }
    void* count(void* region) {
        live += region ? 1 : 0;
        return region;
    }
};

class LoaderDll : public ::testing::Test {
protected:
    void SetUp() override {
        entryReasons.clear();
        hookAsked.clear();
        dll = readDll("testdll.dll");
        refusing = readDll("refusedll.dll");
        ASSERT_GT(dll.size(), 1024u);
        ASSERT_GT(refusing.size(), 1024u);
    }
    std::vector<std::uint8_t> dll, refusing;
};

#if defined(__i386__)

using AddFunction = int(DLL_EXPORT_CALL*)(int, int);
using NoArgumentFunction = int(DLL_EXPORT_CALL*)();
using OneArgumentFunction = int(DLL_EXPORT_CALL*)(int);

template <typename F> F exported(const InMemoryLibrary& library, const char* name) {
    return reinterpret_cast<F>(library.GetExport(name));
}

TEST_F(LoaderDll, RunsAtThePreferredBaseAndAgainRelocatedElsewhere) {
    InMemoryLibrary first;
    ASSERT_TRUE(first.Load(dll, hostHook, 1)) << int(first.lastFailure());
    EXPECT_EQ(first.GetBase(), kPreferredBase);
    EXPECT_EQ(entryReasons, std::vector<int>{1});
    EXPECT_EQ(exported<AddFunction>(first, "Add")(2, 3), 5);
    EXPECT_EQ(exported<NoArgumentFunction>(first, "ReadCounter")(), 7);

    // The preferred base is now taken: the second copy lands elsewhere, and its pointer to
    // its own data must have been relocated for ReadCounter to work.
    InMemoryLibrary second;
    ASSERT_TRUE(second.Load(dll, hostHook, 1));
    EXPECT_NE(second.GetBase(), kPreferredBase);
    EXPECT_EQ(exported<NoArgumentFunction>(second, "ReadCounter")(), 7);
    EXPECT_EQ(exported<OneArgumentFunction>(second, "Twice")(21), 42);
    EXPECT_EQ(entryReasons, (std::vector<int>{1, 1}));

    EXPECT_TRUE(second.Unload());
    EXPECT_TRUE(first.Unload());
    EXPECT_EQ(entryReasons, (std::vector<int>{1, 1, 0, 0}));
    EXPECT_EQ(first.GetBase(), 0u);
}

TEST_F(LoaderDll, ImportsByNameAndByOrdinalGoThroughTheHook) {
    InMemoryLibrary library;
    ASSERT_TRUE(library.Load(dll, hostHook, 1));
    EXPECT_EQ(hookAsked, (std::vector<std::string>{"host.dll!host_record", "host.dll!5"}));
    EXPECT_EQ(exported<OneArgumentFunction>(library, "Twice")(-4), -8);
    library.Unload();
}

TEST_F(LoaderDll, FindsExportsByExactNameAndByOrdinal) {
    InMemoryLibrary library;
    ASSERT_TRUE(library.Load(dll, hostHook, 1));
    const auto detach = library.GetExport("SkinH_Detach");
    ASSERT_NE(detach, 0u);
    EXPECT_EQ(reinterpret_cast<NoArgumentFunction>(detach)(), 42);
    EXPECT_EQ(library.GetExport("skinh_detach"), 0u);
    EXPECT_EQ(library.GetExport("3"), detach);
    EXPECT_EQ(library.GetExport("1"), library.GetExport("Add"));
    EXPECT_GT(library.GetEntryPoint(), library.GetBase()); // DllMain, inside the image
    library.Unload();
}

TEST_F(LoaderDll, ARefusingEntryPointIsDetachedAndNothingStaysLoaded) {
    CountingMemory memory;
    InMemoryLibrary library(memory, qinglan::platform::systemLibraries());
    EXPECT_FALSE(library.Load(refusing, hostHook, 1));
    EXPECT_EQ(library.lastFailure(), LoadFailure::EntryRefused);
    EXPECT_EQ(entryReasons, (std::vector<int>{1, 0}));
    EXPECT_EQ(library.GetBase(), 0u);
    EXPECT_EQ(memory.live, 0);
}

TEST_F(LoaderDll, AMissingImportFailsBeforeAnyCodeRuns) {
    CountingMemory memory;
    InMemoryLibrary library(memory, qinglan::platform::systemLibraries());
    EXPECT_FALSE(library.Load(dll, hostHook, 0)); // the ordinal import is not supplied
    EXPECT_EQ(library.lastFailure(), LoadFailure::MissingImport);
    EXPECT_TRUE(entryReasons.empty());
    EXPECT_EQ(memory.live, 0);
}

#else

TEST_F(LoaderDll, RefusesI386DllsWithoutRunningThem) {
    CountingMemory memory;
    InMemoryLibrary library(memory, qinglan::platform::systemLibraries());
    EXPECT_FALSE(library.Load(dll, hostHook, 1));
    EXPECT_EQ(library.lastFailure(), LoadFailure::ForeignMachine);
    EXPECT_FALSE(library.Load(refusing, hostHook, 1));
    EXPECT_EQ(library.GetBase(), 0u);
    EXPECT_TRUE(entryReasons.empty());
    EXPECT_TRUE(hookAsked.empty());
    EXPECT_EQ(memory.live, 0);
}

#endif

} // namespace
