// Record database and settings store timings, with a plain (unencrypted) SQLite insert loop of
// the same engine as the reference. Run: build with -DQINGLAN_BENCH=ON, then ./bench/edb/bench_edb.
#include "edb/RecordDatabase.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsStore.h"
#include "settings/StoreLocation.h"

#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <sqlite3.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace qinglan;

namespace {

// A scratch folder in the temporary directory, one per run.
fs::path scratch(const char* name) {
    fs::path dir = fs::temp_directory_path() / ("qinglan-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::path p = dir / name;
    if (!fs::is_directory(p)) fs::remove(p);
    fs::remove(p.string() + "-journal");
    return p;
}

fs::path scratchFolder(const char* name) {
    fs::path p = scratch(name);
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

std::vector<std::string> paths(int n) {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        out.push_back("/home/user/视频/season " + std::to_string(i / 24) + "/episode " +
                      std::to_string(i) + ".mkv");
    return out;
}

void BM_CommittedFieldWrite(benchmark::State& state) {
    fs::path file = scratch("write.edb");
    auto db = edb::RecordDatabase::create(file, settings::databasePassword());
    db.value().append({{1, "x"}});
    int i = 0;
    for (auto _ : state) {
        auto s = db.value().write(170, std::int32_t{i++});
        if (!s.ok()) state.SkipWithError(s.message().c_str());
    }
}
BENCHMARK(BM_CommittedFieldWrite)->Unit(benchmark::kMillisecond);

void BM_BatchAppend100k(benchmark::State& state) {
    auto texts = paths(100000);
    for (auto _ : state) {
        state.PauseTiming();
        fs::path file = scratch("batch.edb");
        auto db = edb::RecordDatabase::create(file, settings::databasePassword());
        state.ResumeTiming();
        auto s = db.value().appendTexts(1, texts);
        if (!s.ok()) state.SkipWithError(s.message().c_str());
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_BatchAppend100k)->Unit(benchmark::kMillisecond);

// Reference: the same 100,000 rows through the same engine, unencrypted, one transaction, a
// single-table schema (what a hand-written list would use).
void BM_PlainSqliteInsert100k(benchmark::State& state) {
    auto texts = paths(100000);
    for (auto _ : state) {
        state.PauseTiming();
        fs::path file = scratch("plain.sqlite");
        sqlite3* db = nullptr;
        sqlite3_open(file.c_str(), &db);
        sqlite3_exec(db, "CREATE TABLE list(id INTEGER PRIMARY KEY, path TEXT)", nullptr, nullptr,
                     nullptr);
        state.ResumeTiming();
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO list(path) VALUES(?)", -1, &st, nullptr);
        for (const auto& t : texts) {
            sqlite3_bind_text(st, 1, t.data(), static_cast<int>(t.size()), SQLITE_STATIC);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        state.PauseTiming();
        sqlite3_close(db);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_PlainSqliteInsert100k)->Unit(benchmark::kMillisecond);

void BM_PlainSqliteCommittedWrite(benchmark::State& state) {
    fs::path file = scratch("plainwrite.sqlite");
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE f(n INTEGER PRIMARY KEY, v); INSERT INTO f VALUES(170, 0);",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "UPDATE f SET v = ? WHERE n = 170", -1, &st, nullptr);
    int i = 0;
    for (auto _ : state) {
        sqlite3_bind_int(st, 1, i++);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
}
BENCHMARK(BM_PlainSqliteCommittedWrite)->Unit(benchmark::kMillisecond);

// Opening the store (key derivation and the integrity check included) and loading the record,
// as at main-window creation.
void BM_SettingsOpenAndLoad(benchmark::State& state) {
    fs::path folder = scratchFolder("settings");
    { settings::SettingsStore(folder).open(); }
    for (auto _ : state) {
        settings::SettingsStore store(folder);
        settings::SettingsRecord record;
        auto s = record.load(store);
        if (!s.ok()) state.SkipWithError(s.message().c_str());
    }
}
BENCHMARK(BM_SettingsOpenAndLoad)->Unit(benchmark::kMillisecond);

// Reloading the record from the store that is already open (settings window closed, geometry
// saved).
void BM_SettingsReload(benchmark::State& state) {
    fs::path folder = scratchFolder("settings2");
    settings::SettingsStore store(folder);
    settings::SettingsRecord record;
    record.load(store);
    for (auto _ : state) {
        auto s = record.load(store);
        if (!s.ok()) state.SkipWithError(s.message().c_str());
    }
}
BENCHMARK(BM_SettingsReload)->Unit(benchmark::kMicrosecond);

// Opening a 100,000-entry means.edb (the integrity check reads every page).
void BM_OpenList100k(benchmark::State& state) {
    fs::path file = scratch("open100k.edb");
    {
        auto db = edb::RecordDatabase::create(file, settings::databasePassword());
        db.value().appendTexts(1, paths(100000));
    }
    for (auto _ : state) {
        auto db = edb::RecordDatabase::open(file, settings::databasePassword());
        if (!db.ok()) state.SkipWithError(db.status().message().c_str());
        auto all = db.value().readFieldOfAll(1);
        benchmark::DoNotOptimize(all);
    }
}
BENCHMARK(BM_OpenList100k)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
